#pragma once

#include "engine/core/GrowArray.h"
#include "engine/core/Matrix4.h"

class SceneObject;
struct Light;

// One instance of an object to draw with its material in the current frame.
struct DrawEntry {
    SceneObject* object = nullptr;
    Matrix4 world;
    Matrix4 inverseWorld;
    bool visible = true;      // cleared by the renderer when the box lies outside the view
    GrowArray<Light*> lights; // lights whose sphere reaches the object, filled by the renderer
};
