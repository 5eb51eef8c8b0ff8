#include "engine/render/BlendMode.h"

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
