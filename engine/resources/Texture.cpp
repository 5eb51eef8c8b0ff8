#include "engine/resources/Texture.h"

#include "engine/resources/ProgramDevice.h"
#include "engine/resources/ResourceFile.h"
#include "engine/resources/SamplerFilterHook.h"

#include <d3dx9.h>

void Texture::load(const char* fileName) {
    release();
    ResourceFile file;
    file.open(fileName);
    IDirect3DDevice9* device = programDevice();
    if (device != nullptr && file.data() != nullptr && file.size() > 0) {
        // A failure leaves the texture empty, which is how a missing image is drawn.
        D3DXCreateTextureFromFileInMemoryEx(device, file.data(), file.size(), D3DX_DEFAULT,
                                            D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                            D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                            nullptr, &m_texture);
    }
    file.close();
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
