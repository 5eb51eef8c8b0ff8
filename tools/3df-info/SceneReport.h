#pragma once

#include <cstdio>

class Scene;

// Prints what a loaded scene holds, as text for people or as JSON for scripts.
void printSceneText(const Scene& scene, FILE* out);
void printSceneJson(const Scene& scene, FILE* out);
