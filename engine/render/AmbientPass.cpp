// The depth and ambient pass: lays down the depth of every visible draw entry and writes the
// ambient term, which the light pass adds to and the base-texture pass multiplies.
#include "engine/render/RenderEngine.h"

#include "engine/resources/Texture.h"
#include "engine/scene/Material.h"

#include <d3d9.h>

namespace {

enum class AmbientMode { Plain, CutOut, SelfIlluminated, FullBright };

// Self-illumination overrides the cut-out flag; a flag whose texture is missing falls back.
AmbientMode ambientMode(const Material& material) {
    const bool textured = material.colorTexture != nullptr;
    if (material.selfIllum) {
        return textured ? AmbientMode::SelfIlluminated : AmbientMode::FullBright;
    }
    return material.alphaTest && textured ? AmbientMode::CutOut : AmbientMode::Plain;
}

void setStage0(IDirect3DDevice9* device, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    device->SetTextureStageState(0, type, value);
}

} // namespace

void RenderEngine::ambientPass() {
    if (!nullVertexShader.ready()) {
        return; // the program failed to build: draw nothing rather than garbage
    }
    IDirect3DDevice9* device = m_device;
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);

    // LERP(texture alpha, white factor, diffuse): self-illuminated texels rise toward white.
    setStage0(device, D3DTSS_TEXCOORDINDEX, 0);
    setStage0(device, D3DTSS_COLOROP, D3DTOP_LERP);
    setStage0(device, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    setStage0(device, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    setStage0(device, D3DTSS_COLORARG0, D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE);
    setStage0(device, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    setStage0(device, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);

    nullVertexShader.bind();
    for (Material* material : materialQueue) {
        const Vec4& own = material->diffuseColor;
        nullVertexShader.setDiffuseColor(
            Vec4(ambientColour.x + own.x, ambientColour.y + own.y, ambientColour.z + own.z, 1.0f));
        device->SetTexture(0, nullptr);

        switch (ambientMode(*material)) {
        case AmbientMode::Plain:
            device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
            setStage0(device, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
            setStage0(device, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
            break;
        case AmbientMode::CutOut:
            device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
            setStage0(device, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
            setStage0(device, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
            material->colorTexture->bind(0, 0, 0);
            break;
        case AmbientMode::SelfIlluminated:
            device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
            setStage0(device, D3DTSS_COLOROP, D3DTOP_LERP);
            setStage0(device, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
            material->colorTexture->bind(0, 0, 0);
            break;
        case AmbientMode::FullBright:
            device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
            setStage0(device, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
            setStage0(device, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
            nullVertexShader.setDiffuseColor(Vec4(1.0f, 1.0f, 1.0f, 1.0f));
            break;
        }

        for (const DrawEntry& entry : material->drawList) {
            if (entry.visible) {
                nullVertexShader.setWorldViewProj(entry.world * camera.viewProjection());
                drawEntry(*material, entry);
            }
        }
    }

    // Later material passes touch exactly the pixels whose nearest surface this pass drew.
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_EQUAL);
    setStage0(device, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}
