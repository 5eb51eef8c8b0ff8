#pragma once

#include "engine/core/GrowArray.h"
#include "engine/core/Vec4.h"
#include "engine/scene/DrawEntry.h"

#include <cstdint>

class SceneObject;
class Texture;

// A surface description, and the renderer's bucket: during a frame its draw list holds the
// instances to draw with it.
class Material {
public:
    // Starts this frame's draw list on the material's first submission of the frame, entering
    // the material into `queue` once. Always true.
    bool beginFrame(GrowArray<Material*>& queue, uint32_t frame);

    // Appends an instance of `object`, if this is the object's material.
    void addDraw(SceneObject* object, const Matrix4& world, uint32_t frame);

    GrowArray<SceneObject*> objects;
    GrowArray<DrawEntry> drawList;
    uint32_t frameStamp = kNoFrame;
    Vec4 diffuseColor;
    Vec4 glowColor;
    Texture* normalMap = nullptr;
    Texture* colorTexture = nullptr;
    bool alphaTest = false;
    bool selfIllum = false;

    // A stamp no frame number matches until the counter has run through all 32 bits.
    static constexpr uint32_t kNoFrame = 0xFFFFFFFFu;
};
