#include "engine/render/AttenuationVolume.h"

#include <d3d9.h>

#include <cmath>

uint8_t attenuationTexel(int x, int y, int z) {
    const float d = std::sqrt(static_cast<float>(x * x + y * y + z * z));
    const float s = d / static_cast<float>(kAttenuationVolumeSize);
    float value = 255.0f / (1.0f + 22.0f * s * s);
    if (value < 0.0f) {
        value = 0.0f;
    } else if (value > 255.0f) {
        value = 255.0f;
    }
    return static_cast<uint8_t>(value);
}

IDirect3DVolumeTexture9* createAttenuationVolume(IDirect3DDevice9* device) {
    IDirect3DVolumeTexture9* volume = nullptr;
    const UINT size = kAttenuationVolumeSize;
    if (FAILED(device->CreateVolumeTexture(size, size, size, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                           &volume, nullptr)) ||
        volume == nullptr) {
        return nullptr;
    }
    D3DLOCKED_BOX box = {};
    if (FAILED(volume->LockBox(0, &box, nullptr, 0)) || box.pBits == nullptr) {
        return volume; // an unfilled volume still binds; the light then has no falloff data
    }
    auto* bits = static_cast<uint8_t*>(box.pBits);
    for (int z = 0; z < kAttenuationVolumeSize; ++z) {
        for (int y = 0; y < kAttenuationVolumeSize; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(bits + z * box.SlicePitch + y * box.RowPitch);
            for (int x = 0; x < kAttenuationVolumeSize; ++x) {
                const uint32_t v = attenuationTexel(x, y, z);
                row[x] = 0xFF000000u | (v << 16) | (v << 8) | v;
            }
        }
    }
    volume->UnlockBox(0);
    return volume;
}
