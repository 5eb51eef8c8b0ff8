#pragma once

#include <cstdint>

struct IDirect3DDevice9;

// The blend modes shared by sprites and particles.
enum BlendMode : int32_t {
    kBlendOff = 0,
    kBlendAdditive = 1,
    kBlendMultiply = 2,
    kBlendAlpha = 3,
    // Any other value turns blending on and leaves the factors as they were.
};

void applyBlendMode(IDirect3DDevice9* device, int32_t mode);
