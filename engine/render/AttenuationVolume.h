#pragma once

#include <cstdint>

struct IDirect3DDevice9;
struct IDirect3DVolumeTexture9;

constexpr int kAttenuationVolumeSize = 16;

// The falloff stored at texel (x, y, z) of the light's octant: 255 / (1 + 22 (d / 16)^2) with
// d the texel's distance from the origin, truncated to an integer.
uint8_t attenuationTexel(int x, int y, int z);

// A 16^3 A8R8G8B8 managed volume holding attenuationTexel in red, green and blue, alpha 255.
// Null when the device cannot make one.
IDirect3DVolumeTexture9* createAttenuationVolume(IDirect3DDevice9* device);
