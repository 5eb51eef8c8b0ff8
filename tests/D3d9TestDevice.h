#pragma once

// A hidden window and a windowed device with a depth buffer, and helpers to draw and read
// back pixels, for the device's pixel tests.

#include <d3d9.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace tarnelix::test {

struct Rgba {
    int r;
    int g;
    int b;
    int a;
};

class TestDevice {
public:
    // width x height back buffer, X8R8G8B8 (or A8R8G8B8 when alpha is wanted), D24S8.
    TestDevice(UINT width = 16, UINT height = 16, D3DFORMAT format = D3DFMT_A8R8G8B8);
    ~TestDevice();
    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    bool ok() const { return device != nullptr; }

    // Reads the whole of a render-target surface (the current target when null).
    std::vector<uint32_t> read(IDirect3DSurface9* surface = nullptr);
    // One pixel of the current render target as 0..255 channels.
    Rgba pixel(int x, int y);

    // What most pixel tests draw with: no lighting or culling, screen-space vertices
    // (kScreenFvf), target and depth cleared.
    void startScreenDrawing();
    // What the fixed-function tests start from: no lighting, culling or depth test, vertices
    // of the given FVF.
    void startUnlitDrawing(DWORD fvf);

    // A managed A8R8G8B8 texture filled from ARGB words, row by row.
    IDirect3DTexture9* texture(UINT width, UINT height, const std::vector<uint32_t>& texels,
                               UINT levels = 1);

    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    HWND window = nullptr;
    UINT width;
    UINT height;
};

// Vertex layouts the tests draw with.
struct ScreenVertex { // D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};
constexpr DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct ClipVertex { // D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1
    float x, y, z;
    D3DCOLOR diffuse;
    D3DCOLOR specular;
    float u, v;
};
constexpr DWORD kClipFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

// A float render state (fog start, point size, depth bias...) as SetRenderState takes it.
inline DWORD floatState(float value) {
    static_assert(sizeof(DWORD) == sizeof(float));
    DWORD out;
    std::memcpy(&out, &value, sizeof(out));
    return out;
}

// Two triangles covering the screen rectangle [x0, x1) x [y0, y1) in pixels.
void screenQuad(ScreenVertex out[6], float x0, float y0, float x1, float y1, float z,
                D3DCOLOR colour, float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1);
// Two triangles covering clip-space [x0, x1] x [y0, y1] (identity transforms).
void clipQuad(ClipVertex out[6], float x0, float y0, float x1, float y1, float z, D3DCOLOR diffuse,
              D3DCOLOR specular = 0);

} // namespace tarnelix::test
