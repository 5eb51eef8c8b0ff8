#include "engine/resources/Texture.h"

#include "engine/resources/ProgramDevice.h"
#include "engine/resources/ResourceFile.h"
#include "engine/resources/SamplerFilterHook.h"

#include <d3dx9.h>

const char* Texture::load(const char* fileName) {
    release();
    ResourceFile file;
    if (!file.open(fileName)) {
        return "the file is missing or cannot be read";
    }
    IDirect3DDevice9* device = programDevice();
    const char* failure = nullptr;
    if (file.size() == 0) {
        failure = "the file is empty";
    } else if (device == nullptr) {
        failure = "no device to make it on";
    } else {
        const HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(
            device, file.data(), file.size(), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
            D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
            &m_texture);
        // A failure leaves the texture empty, which is how a missing image is drawn.
        if (FAILED(hr)) {
            failure = hr == D3DXERR_INVALIDDATA ? "not a JPEG or PNG image that can be read"
                                                : "the device cannot make a texture of it";
        }
    }
    file.close();
    return failure;
}

void Texture::bind(uint32_t stage, uint32_t addressU, uint32_t addressV) const {
    IDirect3DDevice9* device = programDevice();
    if (device == nullptr) {
        return;
    }
    device->SetTexture(stage, m_texture);
    device->SetSamplerState(stage, D3DSAMP_ADDRESSU,
                            addressU == 0 ? DWORD(D3DTADDRESS_WRAP) : addressU);
    device->SetSamplerState(stage, D3DSAMP_ADDRESSV,
                            addressV == 0 ? DWORD(D3DTADDRESS_WRAP) : addressV);
    applySamplerFilters(stage);
}

void Texture::release() {
    if (m_texture != nullptr) {
        m_texture->Release();
        m_texture = nullptr;
    }
}

void Texture::adopt(IDirect3DTexture9* texture) {
    release();
    m_texture = texture;
}
