#pragma once

#include "engine/core/GrowArray.h"
#include "engine/core/Matrix4.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/Material.h"
#include "engine/scene/SceneObject.h"

#include <cstdint>

class RenderEngine;
class TextureCache;
struct IDirect3DDevice9;

// The in-memory form of one 3DF file. Elements keep their addresses for as long as the scene
// is loaded: the tables are sized to their final count before they are filled.
class Scene {
public:
    Scene() = default;
    ~Scene() { release(); }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Loads a 3DF file, building meshes on `device` and taking textures from `textures`. The
    // show passes its display's device and the program-wide cache; with no device the file is
    // read and checked but no meshes are built.
    bool load(const char* fileName, IDirect3DDevice9* device, TextureCache& textures);

    void updateCamera(RenderEngine& engine, const Matrix4& parent, const char* cameraName, float dt,
                      float aspect);
    void updateLights(RenderEngine& engine, const Matrix4& parent, float dt);
    void updateObjects(RenderEngine& engine, const Matrix4& parent, float dt);
    void rewind();
    void release();

    // The first camera named exactly `name`, else the first camera; null when there is none.
    Camera* findCamera(const char* name);

    // Why the last load failed (null after a successful one).
    const char* loadError() const { return m_loadError; }

    int32_t frameCount = 0;
    GrowArray<Material> materials;
    GrowArray<SceneObject> objects;
    GrowArray<Light> lights;
    GrowArray<Camera> cameras;
    // The header's two scene vectors and their samples: read with the file, used by nothing.
    Vec4 sceneVector1;
    Vec4 sceneVector2;
    VectorTrack sceneTrack1;
    VectorTrack sceneTrack2;

private:
    const char* m_loadError = nullptr;
};
