#include "RenderFixture.h"

#include "BlankDevice.h"

#include <cstdlib>
#include <unistd.h>

namespace {

// A mesh that writes its draws into the recording device's log.
class RecordingMesh : public BlankUnknown<SilentMesh> {
public:
    RecordingMesh(CallRecordingDevice& device, std::string name)
        : m_device(device), m_name(std::move(name)) {}
    HRESULT STDMETHODCALLTYPE DrawSubset(DWORD subset) override {
        ++m_device.drawCalls;
        m_device.record("DrawSubset(" + std::to_string(subset) + ", " + m_name + ")");
        return S_OK;
    }

private:
    CallRecordingDevice& m_device;
    std::string m_name;
};

} // namespace

Matrix4 translation(float x, float y, float z) {
    Matrix4 m;
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    return m;
}

void RenderFixture::SetUp() {
    // The shader programs are compiled from their files in the working directory.
    ASSERT_EQ(chdir(TARNELIX_DATA_DIR), 0);
    setProgramDevice(&device);
    engine.init(&device, 640, 480);
    device.rename("vs1", "NormalMapVS");
    device.rename("vs2", "NullVS");
    device.rename("vs3", "GlowVS");
    device.rename("ps1", "GlowPS");
    device.rename("ps2", "AlphaPS");
    device.rename("vs4", "ParticleVS");
    // The sampler filters reach the device at the first texture binding of the program;
    // get that done here so that the passes' own calls stand alone in the log.
    Texture warmUp;
    warmUp.bind(0, 0, 0);
    device.clearCalls();
}

void RenderFixture::TearDown() {
    engine.release();
    objects.clear();
    for (Texture& texture : textures) {
        texture.release();
    }
    setProgramDevice(nullptr);
}

Material& RenderFixture::addMaterial(const Vec4& diffuse, const Vec4& glow) {
    Material& material = materials.emplace_back();
    material.diffuseColor = diffuse;
    material.glowColor = glow;
    return material;
}

SceneObject& RenderFixture::addObject(Material& material, const std::string& name,
                                      const Matrix4& world) {
    SceneObject& object = objects.emplace_back();
    object.mesh = new RecordingMesh(device, name);
    object.boundsMin = Vec4(-1, -1, -1, 1);
    object.boundsMax = Vec4(1, 1, 1, 1);
    object.attachMaterial(&material);
    worlds.push_back(world);
    return object;
}

Light& RenderFixture::addLight(const Vec4& position, float radius, const Vec4& colour) {
    Light& light = lights.emplace_back();
    light.position = position;
    light.radius = radius;
    light.color = colour;
    return light;
}

Texture* RenderFixture::addTexture(const std::string& name) {
    IDirect3DTexture9* d3dTexture = nullptr;
    device.CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &d3dTexture, nullptr);
    device.label(d3dTexture, name);
    Texture& texture = textures.emplace_back();
    texture.adopt(d3dTexture);
    return &texture;
}

Texture* RenderFixture::addEmptyTexture() {
    return &textures.emplace_back();
}

void RenderFixture::submitScene() {
    engine.camera.setProjection(1.57079632679f, 640.0f / 480.0f);
    engine.camera.setView(Vec4(0, 0, -10, 1), Vec4(0, 0, 0, 1), Vec4(0, 1, 0, 1));
    for (size_t i = 0; i < objects.size(); ++i) {
        engine.submitObject(&objects[i], worlds[i]);
    }
    for (Light& light : lights) {
        engine.addLight(&light);
    }
}

void RenderFixture::queueScene() {
    submitScene();
    engine.camera.update(&device);
    engine.frustum.build(engine.camera.viewProjection());
    engine.cullAndAssignLights();
}

void RenderFixture::renderFrame(const Vec4& fadeColour, float fadeAmount) {
    submitScene();
    engine.renderFrame(fadeColour, fadeAmount);
}

std::vector<std::string> RenderFixture::calls() const {
    std::vector<std::string> result;
    for (const std::string& call : device.calls) {
        if (call.find("ShaderConstant") == std::string::npos) {
            result.push_back(call);
        }
    }
    return result;
}
