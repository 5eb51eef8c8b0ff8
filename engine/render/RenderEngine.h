#pragma once

#include "engine/core/GrowArray.h"
#include "engine/core/Matrix4.h"
#include "engine/render/RenderCamera.h"

#include <cstdint>

class Material;
class SceneObject;
struct Light;

// Turns the scene into a picture. The scene and the timeline fill its per-frame queues; the
// frame routine draws them and turns the queues over.
class RenderEngine {
public:
    // Enters the object into its material's draw list for this frame (nothing for an object
    // without material) and the material into the material queue.
    void submitObject(SceneObject* object, const Matrix4& world);
    void addLight(Light* light) { lightQueue.append(light); }

    // Counts the frame and empties the per-frame queues.
    void endFrame();

    GrowArray<Material*> materialQueue;
    GrowArray<Light*> lightQueue;
    RenderCamera camera;
    uint32_t frameCounter = 0;
};
