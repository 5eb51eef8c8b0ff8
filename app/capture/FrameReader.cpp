#include "app/capture/FrameReader.h"

#include <d3d9.h>

void convertXrgbToRgb(const uint8_t* xrgb, int pitch, int width, int height, uint8_t* rgb) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = xrgb + static_cast<ptrdiff_t>(y) * pitch;
        uint8_t* out = rgb + static_cast<size_t>(y) * static_cast<size_t>(width) * 3;
        for (int x = 0; x < width; ++x) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            in += 4;
            out += 3;
        }
    }
}

FrameReader::~FrameReader() {
    if (m_copy) {
        m_copy->Release();
    }
}

const uint8_t* FrameReader::read() {
    if (!m_copy && FAILED(m_device->CreateOffscreenPlainSurface(
                       static_cast<UINT>(m_width), static_cast<UINT>(m_height), D3DFMT_X8R8G8B8,
                       D3DPOOL_SYSTEMMEM, &m_copy, nullptr))) {
        m_copy = nullptr;
        return nullptr;
    }
    IDirect3DSurface9* backBuffer = nullptr;
    if (FAILED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
        return nullptr;
    }
    HRESULT copied = m_device->GetRenderTargetData(backBuffer, m_copy);
    backBuffer->Release();
    D3DLOCKED_RECT locked{};
    if (FAILED(copied) || FAILED(m_copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        return nullptr;
    }
    m_rgb.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height) * 3);
    convertXrgbToRgb(static_cast<const uint8_t*>(locked.pBits), locked.Pitch, m_width, m_height,
                     m_rgb.data());
    m_copy->UnlockRect();
    return m_rgb.data();
}
