#pragma once

#include <cstdint>

struct IDirect3DDevice9;

// The program-wide texture filtering: given to samplers 0 to samplerCount - 1 at the first
// texture binding after a change.
class SamplerFilterSettings {
public:
    // Stores the four values; the next apply gives them to the device.
    void set(uint32_t magFilter, uint32_t minFilter, uint32_t mipFilter, uint32_t maxAnisotropy);
    // Sets the filters of every sampler once per change. The stage the binding used is not
    // needed: all samplers are set at once.
    void apply(IDirect3DDevice9* device, uint32_t stage);

    uint32_t magFilter = 2; // D3DTEXF_LINEAR
    uint32_t minFilter = 2;
    uint32_t mipFilter = 1; // D3DTEXF_POINT
    uint32_t maxAnisotropy = 1;
    int32_t samplerCount = 8;
    bool applied = false;
};
