#include "platform/SamplerFilterSettings.h"

#include <d3d9.h>

void SamplerFilterSettings::set(uint32_t mag, uint32_t min, uint32_t mip, uint32_t anisotropy) {
    magFilter = mag;
    minFilter = min;
    mipFilter = mip;
    maxAnisotropy = anisotropy;
    applied = false;
}

void SamplerFilterSettings::apply(IDirect3DDevice9* device, uint32_t) {
    if (applied || !device) {
        return;
    }
    applied = true;
    for (int32_t s = 0; s < samplerCount; ++s) {
        DWORD sampler = static_cast<DWORD>(s);
        device->SetSamplerState(sampler, D3DSAMP_MAGFILTER, magFilter);
        device->SetSamplerState(sampler, D3DSAMP_MINFILTER, minFilter);
        device->SetSamplerState(sampler, D3DSAMP_MIPFILTER, mipFilter);
        device->SetSamplerState(sampler, D3DSAMP_MAXANISOTROPY, maxAnisotropy);
    }
}
