#include "FuzzInputs.h"

#include "MemoryDevice.h"

#include <d3dx9.h>

namespace {

// Every level of a texture handed out must be there to lock.
bool levelsLock(IDirect3DTexture9* texture) {
    for (DWORD level = 0; level < texture->GetLevelCount(); ++level) {
        D3DLOCKED_RECT locked;
        if (FAILED(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY)) ||
            locked.pBits == nullptr) {
            return false;
        }
        texture->UnlockRect(level);
    }
    return texture->GetLevelCount() > 0;
}

} // namespace

const char* decodeTextureBytes(const uint8_t* data, size_t size) {
    MemoryDevice* device = new MemoryDevice;
    IDirect3DTexture9* texture = nullptr;
    D3DXIMAGE_INFO info{};
    // The settings of the show's own textures (Texture::load).
    const HRESULT made = D3DXCreateTextureFromFileInMemoryEx(
        device, data, static_cast<UINT>(size), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
        D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, &info, nullptr, &texture);
    D3DXIMAGE_INFO alone{};
    const HRESULT described =
        D3DXGetImageInfoFromFileInMemory(data, static_cast<UINT>(size), &alone);

    const char* broken = nullptr;
    if (SUCCEEDED(made) != (texture != nullptr)) {
        broken = "the result code and the texture handed out disagree";
    } else if (SUCCEEDED(made) && FAILED(described)) {
        broken = "a texture was made of bytes that cannot be described";
    } else if (SUCCEEDED(made) && (info.Width != alone.Width || info.Height != alone.Height)) {
        broken = "the image is described with two different sizes";
    } else if (texture != nullptr && !levelsLock(texture)) {
        broken = "a texture handed out cannot be read";
    }
    if (texture != nullptr) {
        texture->Release();
    }
    device->Release();
    return broken;
}
