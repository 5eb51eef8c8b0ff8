#include "engine/render/RenderEngine.h"

#include "engine/render/AttenuationVolume.h"
#include "engine/render/DeviceMatrix.h"
#include "engine/scene/Light.h"
#include "engine/scene/Material.h"
#include "engine/scene/SceneObject.h"

#include <d3d9.h>
#include <d3dx9.h>

#include <cmath>

namespace {

// Half the largest power of two not above `size`; at least 1 so that a tiny screen still gets
// a target the device can create.
int32_t glowTargetSize(int size) {
    if (size < 2) {
        return 1;
    }
    const double power = std::pow(2.0, std::floor(std::log2(static_cast<double>(size))));
    return static_cast<int32_t>(power) / 2;
}

template <typename T> void releaseInterface(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

D3DCOLOR clearColour(const Vec4& colour) {
    return 0xFF000000u | (colorChannelByte(colour.x) << 16) | (colorChannelByte(colour.y) << 8) |
           colorChannelByte(colour.z);
}

} // namespace

void RenderEngine::init(IDirect3DDevice9* device, int screenWidth, int screenHeight) {
    m_device = device;
    m_screenWidth = screenWidth;
    m_screenHeight = screenHeight;
    frameCounter = 0;
    createShaderPrograms();
    attenuationVolume = createAttenuationVolume(device);
    fillScreenQuad(screenQuad);
    fillUprightScreenQuad(uprightScreenQuad);
    createGlowTargets();
    glowEnabled = false;
    blurAmount = 0.0f;
    glowColour = Vec4(1.0f, 1.0f, 1.0f, 1.0f);
}

void RenderEngine::createShaderPrograms() {
    normalMapVertexShader.create();
    nullVertexShader.create();
    glowVertexShader.create();
    glowPixelShader.create();
    alphaPixelShader.create();
    particleVertexShader.create();
}

void RenderEngine::createGlowTargets() {
    glowWidth = glowTargetSize(m_screenWidth);
    glowHeight = glowTargetSize(m_screenHeight);
    const UINT width = static_cast<UINT>(glowWidth);
    const UINT height = static_cast<UINT>(glowHeight);
    if (SUCCEEDED(m_device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8,
                                          D3DPOOL_DEFAULT, &glowTextureA, nullptr)) &&
        glowTextureA != nullptr) {
        glowTextureA->GetSurfaceLevel(0, &glowSurfaceA);
    }
    m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBufferSurface);
    if (SUCCEEDED(m_device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8,
                                          D3DPOOL_DEFAULT, &glowTextureB, nullptr)) &&
        glowTextureB != nullptr) {
        glowTextureB->GetSurfaceLevel(0, &glowSurfaceB);
    }
}

void RenderEngine::release() {
    releaseInterface(attenuationVolume);
    releaseInterface(glowTextureA);
    releaseInterface(glowSurfaceA);
    releaseInterface(glowTextureB);
    releaseInterface(glowSurfaceB);
    releaseInterface(backBufferSurface);
    particleVertexShader.release();
    alphaPixelShader.release();
    glowPixelShader.release();
    glowVertexShader.release();
    normalMapVertexShader.release();
    nullVertexShader.release();
    m_device = nullptr;
}

void RenderEngine::submitObject(SceneObject* object, const Matrix4& world) {
    Material* material = object->material;
    if (material == nullptr) {
        return;
    }
    material->beginFrame(materialQueue, frameCounter);
    material->addDraw(object, world, frameCounter);
}

void RenderEngine::renderFrame(const Vec4& fadeColour, float fadeAmount) {
    if (m_device == nullptr) {
        endFrame(); // not initialised: nothing to draw on, but the frame still turns over
        return;
    }
    const bool onlyClear = fadeAmount == 1.0f;
    clearScreen(onlyClear ? fadeColour : backgroundColour);
    if (!onlyClear) {
        camera.update(m_device);
        frustum.build(camera.viewProjection());
        cullAndAssignLights();
        setCommonStates();
        m_device->BeginScene();
        ambientPass();
        lightPass();
        baseTexturePass();
        particlePass();
        if (glowEnabled && anythingGlows()) {
            glowPass();
        }
        spritePass();
        if (fadeAmount != 0.0f) {
            fadePass(fadeColour, fadeAmount);
        }
        m_device->EndScene();
    }
    endFrame();
}

bool RenderEngine::anythingGlows() const {
    for (const Material* material : materialQueue) {
        if (material->selfIllum) {
            return true;
        }
    }
    return false;
}

void RenderEngine::endFrame() {
    ++frameCounter;
    lastFrameStatistics = statistics;
    statistics = FrameStatistics();
    materialQueue.clear();
    lightQueue.clear();
    spriteQueue.clear();
    particleQueue.clear();
}

void RenderEngine::clearScreen(const Vec4& colour) {
    m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColour(colour), 1.0f, 0);
}

void RenderEngine::cullAndAssignLights() {
    for (Material* material : materialQueue) {
        for (DrawEntry& entry : material->drawList) {
            const SceneObject* object = entry.object;
            if (!frustum.boxVisible(entry.world, object->boundsMin, object->boundsMax)) {
                entry.visible = false;
            }
        }
    }
    for (Light* light : lightQueue) {
        if (!frustum.sphereVisible(light->position, light->radius)) {
            continue;
        }
        for (Material* material : materialQueue) {
            assignLight(*material, light);
        }
    }
}

void RenderEngine::setCommonStates() {
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    m_device->SetRenderState(D3DRS_ZENABLE, TRUE);
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_device->SetRenderState(D3DRS_ALPHAREF, 128);
    m_device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
}

void RenderEngine::drawEntry(const Material& material, const DrawEntry& entry) {
    const SceneObject* object = entry.object;
    if (!entry.visible || object == nullptr || object->mesh == nullptr) {
        return;
    }
    if (static_cast<uint32_t>(object->drawnFrame) != material.frameStamp) {
        return;
    }
    const D3DMATRIX world = toDeviceMatrix(entry.world);
    m_device->SetTransform(D3DTS_WORLD, &world);
    object->mesh->DrawSubset(0);
    statistics.addDraw(object->mesh->GetNumFaces());
}
