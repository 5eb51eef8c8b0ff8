// The base-texture pass: multiplies the light gathered so far by the material's glow colour
// and colour texture.
#include "engine/render/RenderEngine.h"

#include "engine/resources/Texture.h"
#include "engine/scene/Material.h"

#include <d3d9.h>

void RenderEngine::baseTexturePass() {
    if (!nullVertexShader.ready()) {
        return; // the program failed to build: draw nothing rather than garbage
    }
    IDirect3DDevice9* device = m_device;
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTCOLOR);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);

    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TEXTURE);

    nullVertexShader.bind();
    for (Material* material : materialQueue) {
        Texture* texture = material->colorTexture;
        device->SetTextureStageState(0, D3DTSS_COLOROP,
                                     texture == nullptr ? D3DTOP_SELECTARG1 : D3DTOP_MODULATE);
        nullVertexShader.setDiffuseColor(material->glowColor);
        if (texture != nullptr) {
            texture->bind(0, 0, 0);
        }
        for (const DrawEntry& entry : material->drawList) {
            if (entry.visible) {
                nullVertexShader.setWorldViewProj(entry.world * camera.viewProjection());
                drawEntry(*material, entry);
            }
        }
    }

    device->SetTexture(0, nullptr);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
}
