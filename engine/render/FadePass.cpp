// The fade overlay: one screen-covering rectangle in the fade colour, blended over the finished
// picture with the fade amount as its opacity.
#include "engine/render/RenderEngine.h"

#include <d3d9.h>

namespace {

struct FadeVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};
static_assert(sizeof(FadeVertex) == 20, "the fade vertex is 20 bytes");

} // namespace

void RenderEngine::fadePass(const Vec4& fadeColour, float amount) {
    if (!(amount > 0.0f)) {
        amount = 0.0f; // NaN too: an overlay that shows nothing
    } else if (amount > 1.0f) {
        amount = 1.0f;
    }
    const D3DCOLOR colour = (colorChannelByte(amount) << 24) |
                            (colorChannelByte(fadeColour.x) << 16) |
                            (colorChannelByte(fadeColour.y) << 8) | colorChannelByte(fadeColour.z);
    const float w = static_cast<float>(m_screenWidth);
    const float h = static_cast<float>(m_screenHeight);
    const FadeVertex quad[6] = {{0, 0, 0.5f, 1, colour}, {w, 0, 0.5f, 1, colour},
                                {w, h, 0.5f, 1, colour}, {w, h, 0.5f, 1, colour},
                                {0, h, 0.5f, 1, colour}, {0, 0, 0.5f, 1, colour}};

    IDirect3DDevice9* device = m_device;
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    // Colour and opacity come from the vertices alone, whatever stage 0 held before.
    device->SetTexture(0, nullptr);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(FadeVertex));
    statistics.addDraw(2);
}
