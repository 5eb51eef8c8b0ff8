#pragma once

#include <cstdio>

class Scene;
class TextureCache;

// Prints what a loaded scene holds, as text for people or as JSON for scripts. Texture names
// come from the cache the scene was loaded with.
void printSceneText(const Scene& scene, const TextureCache& textures, FILE* out);
void printSceneJson(const Scene& scene, const TextureCache& textures, FILE* out);
