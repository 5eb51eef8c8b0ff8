#pragma once

// The program-wide objects, constructed before WinMain and kept until the process ends: the
// display (which makes the Direct3D object at once and releases everything at exit), the
// sampler filter settings, the texture cache and the scene.

#include "engine/render/RenderEngine.h"
#include "engine/resources/TextureCache.h"
#include "engine/scene/Scene.h"
#include "platform/Display.h"
#include "platform/SamplerFilterSettings.h"

extern Display display;
extern SamplerFilterSettings samplerFilterSettings;
extern TextureCache textureCache;
extern Scene scene;

// Points the engine's textures and shader programs at the display's device, and lets texture
// bindings apply the sampler filter settings to it. Call once the device exists.
void connectProgramDevice();

// What every program does once the display is open: connects the device as above, has texture
// failures told once under `program`'s name, and makes the engine on the device with the show's
// settings and its linear filters.
void startEngine(RenderEngine& engine, const char* program);
