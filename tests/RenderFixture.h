#pragma once

#include "CallRecordingDevice.h"
#include "engine/resources/ProgramDevice.h"

#include "engine/render/RenderEngine.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Light.h"
#include "engine/scene/Material.h"
#include "engine/scene/SceneObject.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

// An engine initialised on a recording device with a 640 x 480 screen, and a small hand-made
// scene to feed it: materials, objects with recording meshes, lights and textures, all kept at
// stable addresses for the engine's queues.
class RenderFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Material& addMaterial(const Vec4& diffuse = Vec4(0, 0, 0, 1),
                          const Vec4& glow = Vec4(1, 1, 1, 1));
    // An object whose mesh writes "DrawSubset(0, <name>)" when drawn; its box is [-1, 1]^3.
    SceneObject& addObject(Material& material, const std::string& name,
                           const Matrix4& world = Matrix4());
    Light& addLight(const Vec4& position, float radius, const Vec4& colour = Vec4(1, 1, 1, 1));
    Texture* addTexture(const std::string& name);
    Texture* addEmptyTexture();

    // Points the camera from (0, 0, -10) at the origin and queues every object and light.
    void submitScene();
    // Submits the scene and builds the camera and frustum as the frame does, without drawing.
    void queueScene();
    // Queues the scene and draws a whole frame.
    void renderFrame(const Vec4& fadeColour = Vec4(0, 0, 0, 1), float fadeAmount = 0.0f);

    // The recorded calls without shader constant writes (the programs' registers are the
    // compiler's business, not the pass's).
    std::vector<std::string> calls() const;

    CallRecordingDevice device;
    RenderEngine engine;
    std::deque<Material> materials;
    std::deque<SceneObject> objects;
    std::deque<Matrix4> worlds;
    std::deque<Light> lights;
    std::deque<Texture> textures;
};

Matrix4 translation(float x, float y, float z);
