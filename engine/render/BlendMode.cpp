#include "engine/render/BlendMode.h"
#include "engine/render/QuadRuns.h"

#include <d3d9.h>

namespace {

void setFactors(IDirect3DDevice9* device, D3DBLEND source, D3DBLEND destination) {
    device->SetRenderState(D3DRS_SRCBLEND, source);
    device->SetRenderState(D3DRS_DESTBLEND, destination);
}

} // namespace

void applyBlendMode(IDirect3DDevice9* device, int32_t mode) {
    if (mode == kBlendOff) {
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        return;
    }
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    switch (mode) {
    case kBlendAdditive:
        setFactors(device, D3DBLEND_ONE, D3DBLEND_ONE);
        break;
    case kBlendMultiply:
        setFactors(device, D3DBLEND_DESTCOLOR, D3DBLEND_ZERO);
        break;
    case kBlendAlpha:
        setFactors(device, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        break;
    default:
        break; // blending on with the factors already in force
    }
}

void setTexturedQuadStage(IDirect3DDevice9* device) {
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}
