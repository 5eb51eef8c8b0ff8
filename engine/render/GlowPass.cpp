// The glow pass: glowing materials in their glow colour and everything else in black are drawn
// into the small glow target A, blurred horizontally into B and vertically back into A, and A is
// added onto the back buffer in the glow colour. Both blurs run at the glow target's size: a
// full-screen blur would read seven texels for every screen pixel, the add reads one.
#include "engine/render/RenderEngine.h"

#include "engine/resources/Texture.h"
#include "engine/scene/Material.h"

#include <d3d9.h>

#include <algorithm>

namespace {

const Vec4 kOccluderColour(0.0f, 0.0f, 0.0f, 1.0f);

// The texture factor holds no more than 1, so a brighter glow colour is scaled down into it
// and the stage's modulate scales the product back up, twice or four times.
D3DTEXTUREOP glowModulation(const Vec4& colour, Vec4& factor) {
    const float brightest = std::max(colour.x, std::max(colour.y, colour.z));
    const float scale = brightest > 2.0f ? 4.0f : brightest > 1.0f ? 2.0f : 1.0f;
    factor = Vec4(colour.x / scale, colour.y / scale, colour.z / scale, 1.0f);
    return scale == 4.0f ? D3DTOP_MODULATE4X : scale == 2.0f ? D3DTOP_MODULATE2X : D3DTOP_MODULATE;
}

} // namespace

void RenderEngine::glowPass() {
    // Without its programs or targets the glow cannot be made; the picture stays as it is.
    if (!nullVertexShader.ready() || !glowVertexShader.ready() || !glowPixelShader.ready() ||
        glowSurfaceA == nullptr || glowSurfaceB == nullptr || backBufferSurface == nullptr) {
        return;
    }
    IDirect3DDevice9* device = m_device;
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    nullVertexShader.bind();

    device->SetRenderTarget(0, glowSurfaceA);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    for (Material* material : materialQueue) {
        drawIntoGlowTarget(*material);
    }
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);

    glowVertexShader.bind();
    glowPixelShader.bind();
    glowVertexShader.setBlur(blurAmount);
    glowVertexShader.setOffset(glowWidth, glowHeight);
    glowVertexShader.setHorizontal(true);
    glowPixelShader.setGlowColor(Vec4(1.0f, 1.0f, 1.0f, 1.0f));
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);

    // Blending is off: B receives the horizontally blurred image of A.
    device->SetRenderTarget(0, glowSurfaceB);
    device->SetTexture(0, glowTextureA);
    drawScreenQuad(screenQuad);

    glowVertexShader.setHorizontal(false);
    device->SetRenderTarget(0, glowSurfaceA);
    device->SetTexture(0, glowTextureB);
    drawScreenQuad(screenQuad);

    addGlowToScreen();
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
}

void RenderEngine::addGlowToScreen() {
    IDirect3DDevice9* device = m_device;
    // With no blur all seven taps fall on one point; the texture stage reads only the first.
    glowVertexShader.setBlur(0.0f);
    device->SetPixelShader(nullptr);
    Vec4 factor;
    const D3DTEXTUREOP modulation = glowModulation(glowColour, factor);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, colorToArgb(factor));
    device->SetTextureStageState(0, D3DTSS_COLOROP, modulation);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
    device->SetRenderTarget(0, backBufferSurface);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    device->SetTexture(0, glowTextureA);
    drawScreenQuad(uprightScreenQuad);
    // The ambient pass lerps towards the texture factor and expects it white.
    device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu);
}

void RenderEngine::drawIntoGlowTarget(const Material& material) {
    IDirect3DDevice9* device = m_device;
    Texture* texture = material.colorTexture;
    if (material.selfIllum) {
        // Glowing: the glow colour, through the texture when there is one.
        nullVertexShader.setDiffuseColor(material.glowColor);
        if (texture != nullptr) {
            alphaPixelShader.bind();
            texture->bind(0, 0, 0);
        } else {
            device->SetPixelShader(nullptr);
            device->SetTexture(0, nullptr);
        }
        device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    } else if (material.alphaTest && texture != nullptr) {
        // A cut-out occluder hides glow only where its texels pass the alpha test.
        nullVertexShader.setDiffuseColor(kOccluderColour);
        device->SetPixelShader(nullptr);
        texture->bind(0, 0, 0);
        device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    } else {
        nullVertexShader.setDiffuseColor(kOccluderColour);
        device->SetPixelShader(nullptr);
        device->SetTexture(0, nullptr);
        device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    }
    for (const DrawEntry& entry : material.drawList) {
        if (entry.visible) {
            nullVertexShader.setWorldViewProj(entry.world * camera.viewProjection());
            drawEntry(material, entry);
        }
    }
}

void RenderEngine::drawScreenQuad(const ScreenQuadVertex* quad) {
    m_device->SetFVF(kScreenQuadFvf);
    m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenQuadVertex));
    statistics.addDraw(2);
}
