#include "FuzzInputs.h"

#include "MemoryDevice.h"
#include "engine/core/Matrix4.h"
#include "engine/render/RenderEngine.h"
#include "engine/resources/TextureCache.h"
#include "engine/scene/Scene.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// The loader reads by file name, so every input passes through one scratch file per process.
std::string scratchPath() {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/scene-input-" +
           std::to_string(getpid()) + ".3df";
}

bool holdsNothing(const Scene& scene) {
    return scene.materials.count() == 0 && scene.objects.count() == 0 &&
           scene.lights.count() == 0 && scene.cameras.count() == 0;
}

// What the camera segments do with the scene, less the drawing: the first frame jumps ahead by
// the segment's start time, later ones step; the frame's view then culls and lights the queue.
void playFrames(Scene& scene, IDirect3DDevice9* device) {
    RenderEngine engine;
    const Matrix4 parent;
    for (float dt : {25.0f, 0.1f, 0.1f}) {
        scene.updateCamera(engine, parent, "Camera01", dt, 4.0f / 3.0f);
        scene.updateLights(engine, parent, dt);
        scene.updateObjects(engine, parent, dt);
        engine.camera.update(device);
        engine.frustum.build(engine.camera.viewProjection());
        engine.cullAndAssignLights();
        engine.endFrame();
    }
    scene.rewind();
}

} // namespace

const char* loadSceneBytes(const uint8_t* data, size_t size) {
    static const std::string path = scratchPath();
    if (!std::ofstream(path, std::ios::binary | std::ios::trunc)
             .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size))) {
        return "cannot write the scratch file";
    }
    const char* broken = nullptr;
    MemoryDevice* device = new MemoryDevice;
    {
        TextureCache textures;
        Scene scene;
        if (scene.load(path.c_str(), device, textures)) {
            playFrames(scene, device);
        } else if (scene.loadError() == nullptr) {
            broken = "a refused scene file gives no reason";
        } else if (!holdsNothing(scene)) {
            broken = "a refused scene file leaves part of a scene behind";
        }
    } // the scene's meshes go back before their device
    device->Release();
    std::remove(path.c_str());
    return broken;
}
