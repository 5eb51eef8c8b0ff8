#include "D3d9TestDevice.h"

#include <algorithm>
#include <cstring>

namespace tarnelix::test {

namespace {

LRESULT CALLBACK testProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

TestDevice::TestDevice(UINT w, UINT h, D3DFORMAT format) : width(w), height(h) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = testProcedure;
    windowClass.lpszClassName = "TarnelixTest";
    RegisterClassA(&windowClass); // already registered by an earlier test: fine
    window = CreateWindowExA(0, "TarnelixTest", "test", WS_CAPTION, 0, 0, static_cast<int>(w),
                             static_cast<int>(h), nullptr, nullptr, nullptr, nullptr);
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!window || !d3d) {
        return;
    }
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.BackBufferWidth = w;
    parameters.BackBufferHeight = h;
    parameters.BackBufferFormat = format;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device))) {
        device = nullptr;
    }
}

TestDevice::~TestDevice() {
    if (device) {
        device->Release();
    }
    if (d3d) {
        d3d->Release();
    }
    if (window) {
        DestroyWindow(window);
    }
}

std::vector<uint32_t> TestDevice::read(IDirect3DSurface9* surface) {
    std::vector<uint32_t> pixels;
    IDirect3DSurface9* target = surface;
    if (!target && FAILED(device->GetRenderTarget(0, &target))) {
        return pixels;
    }
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    if (SUCCEEDED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                      D3DPOOL_SYSTEMMEM, &copy, nullptr))) {
        if (SUCCEEDED(device->GetRenderTargetData(target, copy))) {
            D3DLOCKED_RECT locked{};
            if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
                pixels.resize(static_cast<size_t>(desc.Width) * desc.Height);
                for (UINT y = 0; y < desc.Height; ++y) {
                    std::memcpy(&pixels[y * desc.Width],
                                static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch,
                                desc.Width * 4);
                }
                copy->UnlockRect();
            }
        }
        copy->Release();
    }
    if (!surface) {
        target->Release();
    }
    return pixels;
}

void TestDevice::startScreenDrawing() {
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetFVF(kScreenFvf);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
}

void TestDevice::startUnlitDrawing(DWORD fvf) {
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetFVF(fvf);
}

Rgba TestDevice::pixel(int x, int y) {
    std::vector<uint32_t> pixels = read();
    IDirect3DSurface9* target = nullptr;
    device->GetRenderTarget(0, &target);
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    target->Release();
    uint32_t p = pixels.at(static_cast<size_t>(y) * desc.Width + static_cast<size_t>(x));
    return Rgba{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                static_cast<int>(p & 0xFF), static_cast<int>(p >> 24)};
}

IDirect3DTexture9* TestDevice::texture(UINT w, UINT h, const std::vector<uint32_t>& texels,
                                       UINT levels) {
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(device->CreateTexture(w, h, levels, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                     nullptr))) {
        return nullptr;
    }
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    for (UINT y = 0; y < h; ++y) {
        std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, &texels[y * w], w * 4);
    }
    texture->UnlockRect(0);
    return texture;
}

void screenQuad(ScreenVertex out[6], float x0, float y0, float x1, float y1, float z,
                D3DCOLOR colour, float u0, float v0, float u1, float v1) {
    ScreenVertex a{x0, y0, z, 1.0f, colour, u0, v0};
    ScreenVertex b{x1, y0, z, 1.0f, colour, u1, v0};
    ScreenVertex c{x0, y1, z, 1.0f, colour, u0, v1};
    ScreenVertex d{x1, y1, z, 1.0f, colour, u1, v1};
    // Clockwise on screen, as Direct3D draws front faces by default.
    const ScreenVertex corners[6] = {a, b, c, c, b, d};
    std::copy(corners, corners + 6, out);
}

void clipQuad(ClipVertex out[6], float x0, float y0, float x1, float y1, float z, D3DCOLOR diffuse,
              D3DCOLOR specular) {
    // y up in clip space: (x0, y1) is the top-left corner.
    ClipVertex a{x0, y1, z, diffuse, specular, 0.0f, 0.0f};
    ClipVertex b{x1, y1, z, diffuse, specular, 1.0f, 0.0f};
    ClipVertex c{x0, y0, z, diffuse, specular, 0.0f, 1.0f};
    ClipVertex d{x1, y0, z, diffuse, specular, 1.0f, 1.0f};
    const ClipVertex corners[6] = {a, b, c, c, b, d};
    std::copy(corners, corners + 6, out);
}

} // namespace tarnelix::test
