// The light pass: every visible draw entry once per light assigned to it, added into the frame
// buffer as normal map . light direction x falloff volume x light colour.
#include "engine/render/RenderEngine.h"

#include "engine/resources/Texture.h"
#include "engine/scene/Light.h"
#include "engine/scene/Material.h"
#include "engine/scene/SceneObject.h"

#include <d3d9.h>

namespace {

// Squared distance from p to the box [lo, hi] on one axis.
float axisGap(float p, float lo, float hi) {
    if (p < lo) {
        return (p - lo) * (p - lo);
    }
    if (p > hi) {
        return (p - hi) * (p - hi);
    }
    return 0.0f;
}

} // namespace

void RenderEngine::assignLight(Material& material, Light* light) {
    const float reach = light->radius * light->radius;
    for (DrawEntry& entry : material.drawList) {
        const SceneObject* object = entry.object;
        // The radius stays in world units: the entry's scale does not change it.
        const Vec4 p = entry.inverseWorld.transform(light->position);
        const float gap = axisGap(p.x, object->boundsMin.x, object->boundsMax.x) +
                          axisGap(p.y, object->boundsMin.y, object->boundsMax.y) +
                          axisGap(p.z, object->boundsMin.z, object->boundsMax.z);
        if (gap <= reach) {
            entry.lights.append(light);
        }
    }
}

void RenderEngine::lightPass() {
    if (!normalMapVertexShader.ready()) {
        return; // the program failed to build: draw nothing rather than garbage
    }
    IDirect3DDevice9* device = m_device;
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);

    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DOTPRODUCT3);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);

    device->SetTexture(1, attenuationVolume);
    device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);

    // Mirror-once shows the stored octant on all eight sides of the light.
    device->SetSamplerState(1, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRRORONCE);
    device->SetSamplerState(1, D3DSAMP_ADDRESSV, D3DTADDRESS_MIRRORONCE);
    device->SetSamplerState(1, D3DSAMP_ADDRESSW, D3DTADDRESS_MIRRORONCE);
    device->SetSamplerState(1, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(1, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(1, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);

    device->SetTextureStageState(2, D3DTSS_TEXCOORDINDEX, 2);
    device->SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(2, D3DTSS_COLORARG1, D3DTA_CURRENT);
    device->SetTextureStageState(2, D3DTSS_COLORARG2, D3DTA_SPECULAR);
    device->SetTextureStageState(2, D3DTSS_ALPHAOP, D3DTOP_DISABLE);

    normalMapVertexShader.bind();
    for (Material* material : materialQueue) {
        if (material->normalMap != nullptr) {
            material->normalMap->bind(0, 0, 0);
        }
        const Matrix4 viewProjection = camera.view() * camera.projection();
        for (const DrawEntry& entry : material->drawList) {
            if (!entry.visible) {
                continue;
            }
            normalMapVertexShader.setWorldViewProj(entry.world * viewProjection);
            normalMapVertexShader.setInvWorld(entry.inverseWorld);
            for (const Light* light : entry.lights) {
                normalMapVertexShader.setLightPosition(light->position);
                normalMapVertexShader.setDiffuseColor(light->color);
                normalMapVertexShader.setRadius(light->radius);
                drawEntry(*material, entry);
            }
        }
    }

    device->SetTexture(1, nullptr);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_DISABLE);
}
