#pragma once

// The show's own types for the timeline templates.

#include "app/CameraSegment.h"
#include "app/FaultReport.h"
#include "app/SplashSegment.h"
#include "app/Timeline.h"
#include "engine/render/RenderEngine.h"
#include "engine/render/Sprite.h"
#include "engine/resources/ProgramDevice.h"
#include "engine/resources/TextureCache.h"
#include "engine/scene/Scene.h"

struct TarnelixShow {
    using Engine = RenderEngine;
    using Scene = ::Scene;
    using Sprite = ::Sprite;
    using TextureCache = ::TextureCache;
    // The show plays on without a scene that will not load: the camera segments stay empty.
    static void loadScene(Scene& scene, const char* fileName, TextureCache& textures) {
        if (!scene.load(fileName, programDevice(), textures)) {
            reportFault("tarnelix", fileName, scene.loadError(), "the show goes on without it");
        }
    }
};

using SplashSegment = SplashSegmentOf<TarnelixShow>;
using CameraSegment = CameraSegmentOf<TarnelixShow>;
using Timeline = TimelineOf<TarnelixShow>;

// The engine's settings for the whole show, set once after init.
void configureEngine(RenderEngine& engine);
// Plays the show on the engine with the program's message queue, display and counter.
void runTimeline(RenderEngine& engine);
