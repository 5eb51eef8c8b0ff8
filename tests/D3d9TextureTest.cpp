// Textures, samplers and render targets: addressing, filters, mip levels, volume textures,
// render-target textures sampled the right way up, the shared depth buffer, buffers.

#include "D3d9TestDevice.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace tarnelix::test;

namespace {

class Textures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        t.startScreenDrawing();
        t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    }

    // A quad over the whole target with the given texture coordinates.
    void draw(float u0, float v0, float u1, float v1) {
        ScreenVertex quad[6];
        screenQuad(quad, 0, 0, static_cast<float>(t.width), static_cast<float>(t.height), 0.5f,
                   0xFFFFFFFF, u0, v0, u1, v1);
        ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)),
                  D3D_OK);
    }

    TestDevice t{8, 8};
};

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;

} // namespace

TEST_F(Textures, AddressModesWrapClampAndMirrorOnce) {
    IDirect3DTexture9* texture = t.texture(2, 1, {kRed, kGreen});
    t.device->SetTexture(0, texture);
    // u from -1 to 3 over 8 pixels; pixel centres (integer coordinates) sample u = -1, -0.5,
    // 0, 0.5, ... 2.5; u = -0.75 etc. would be a half-pixel-shifted rasteriser.
    draw(-0.75f, 0.0f, 3.25f, 1.0f);
    // Wrap: -0.75 -> 0.25 red, -0.25 -> 0.75 green.
    EXPECT_EQ(t.pixel(0, 0).r, 255);
    EXPECT_EQ(t.pixel(1, 0).g, 255);
    t.device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    draw(-0.75f, 0.0f, 3.25f, 1.0f);
    EXPECT_EQ(t.pixel(0, 0).r, 255);
    EXPECT_EQ(t.pixel(1, 0).r, 255);
    EXPECT_EQ(t.pixel(7, 0).g, 255);
    // Mirror once: |u| clamped to 1, so -0.75 -> 0.75 green, -0.25 -> 0.25 red, 2.75 -> green.
    t.device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRRORONCE);
    draw(-0.75f, 0.0f, 3.25f, 1.0f);
    EXPECT_EQ(t.pixel(0, 0).g, 255);
    EXPECT_EQ(t.pixel(1, 0).r, 255);
    EXPECT_EQ(t.pixel(7, 0).g, 255);
    texture->Release();
}

TEST_F(Textures, PointAndLinearFilters) {
    IDirect3DTexture9* texture = t.texture(2, 1, {0xFF000000, 0xFFFFFFFF});
    t.device->SetTexture(0, texture);
    t.device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    draw(0.0f, 0.0f, 1.0f, 1.0f);
    // Point: pixel 3 (u = 0.375) black, pixel 4 (u = 0.5) white.
    EXPECT_EQ(t.pixel(3, 0).r, 0);
    EXPECT_EQ(t.pixel(4, 0).r, 255);
    t.device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    t.device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    draw(0.0f, 0.0f, 1.0f, 1.0f);
    // Linear: pixel centres are at integer coordinates, so pixel 3 samples u = 0.375, a
    // quarter of the way from texel centre 0 to texel centre 1.
    EXPECT_NEAR(t.pixel(3, 0).r, 64, 1);
    EXPECT_NEAR(t.pixel(4, 0).r, 128, 1);
    t.device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_ANISOTROPIC);
    t.device->SetSamplerState(0, D3DSAMP_MAXANISOTROPY, 8);
    draw(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_NEAR(t.pixel(4, 0).r, 128, 1);
    texture->Release();
}

TEST_F(Textures, MipFilterChoosesLevels) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        t.device->CreateTexture(16, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
        D3D_OK);
    ASSERT_EQ(texture->GetLevelCount(), 5u);
    const uint32_t colours[5] = {kRed, kGreen, 0xFF0000FF, 0xFFFFFF00, 0xFFFFFFFF};
    for (UINT level = 0; level < 5; ++level) {
        D3DSURFACE_DESC desc{};
        texture->GetLevelDesc(level, &desc);
        EXPECT_EQ(desc.Width, 16u >> level);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
        for (UINT y = 0; y < desc.Height; ++y) {
            auto* row =
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
            for (UINT x = 0; x < desc.Width; ++x) {
                row[x] = colours[level];
            }
        }
        texture->UnlockRect(level);
    }
    t.device->SetTexture(0, texture);
    // 16 texels over 8 pixels: level 1. Without a mip filter, level 0.
    draw(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(t.pixel(4, 4).r, 255);
    t.device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
    draw(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(t.pixel(4, 4).g, 255);
    EXPECT_EQ(t.pixel(4, 4).r, 0);
    // 64 texels over 8 pixels: level 3.
    draw(0.0f, 0.0f, 4.0f, 4.0f);
    EXPECT_EQ(t.pixel(4, 4).r, 255);
    EXPECT_EQ(t.pixel(4, 4).g, 255);
    EXPECT_EQ(t.pixel(4, 4).b, 0);
    texture->Release();
}

// A texture of one value throughout is read as a constant (cheaper for a software rasteriser):
// it must still show its texel in the right channel order, with X8 alpha as 1, the border
// colour where border addressing reaches past it, and whatever a later write puts in it.
TEST_F(Textures, TexturesOfOneValueShowTheirTexelAndLaterWrites) {
    t.device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    auto fill = [](IDirect3DSurface9* surface, uint32_t value, RECT r) {
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(surface->LockRect(&locked, &r, 0), D3D_OK);
        for (LONG y = 0; y < r.bottom - r.top; ++y) {
            std::fill_n(
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch),
                r.right - r.left, value);
        }
        surface->UnlockRect();
    };
    const RECT whole{0, 0, 4, 4};
    IDirect3DTexture9* plain = nullptr;
    ASSERT_EQ(
        t.device->CreateTexture(4, 4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &plain, nullptr),
        D3D_OK);
    IDirect3DSurface9* level = nullptr;
    plain->GetSurfaceLevel(0, &level);
    fill(level, 0x00102030u, whole);
    level->Release();
    t.device->SetTexture(0, plain);
    draw(0.0f, 0.0f, 1.0f, 1.0f);
    Rgba texel = t.pixel(4, 4);
    EXPECT_EQ(texel.r, 0x10);
    EXPECT_EQ(texel.g, 0x20);
    EXPECT_EQ(texel.b, 0x30);
    EXPECT_EQ(texel.a, 255);

    // Dynamic in the default pool: locked like the others, and a destination for copies.
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(t.device->CreateTexture(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                      &texture, nullptr),
              D3D_OK);
    texture->GetSurfaceLevel(0, &level);
    fill(level, 0x80FF0000u, whole);
    t.device->SetTexture(0, texture);
    draw(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(t.pixel(4, 4).r, 255);
    EXPECT_EQ(t.pixel(4, 4).a, 0x80);
    // Border addressing past the texture shows the border colour, not the texel.
    t.device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_BORDER);
    t.device->SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0xFF0000FFu);
    draw(0.0f, 0.0f, 2.0f, 1.0f);
    EXPECT_EQ(t.pixel(1, 4).r, 255);
    EXPECT_EQ(t.pixel(6, 4).b, 255);
    t.device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    // One texel changed under a lock while the texture stays bound.
    fill(level, kGreen, RECT{3, 0, 4, 1});
    draw(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(t.pixel(7, 0).g, 255);
    EXPECT_EQ(t.pixel(0, 0).r, 255);
    // Written by a copy into the texture, not a lock.
    fill(level, kRed, whole);
    IDirect3DSurface9* source = nullptr;
    ASSERT_EQ(t.device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                    &source, nullptr),
              D3D_OK);
    fill(source, kGreen, whole);
    ASSERT_EQ(t.device->UpdateSurface(source, nullptr, level, nullptr), D3D_OK);
    draw(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(t.pixel(4, 4).g, 255);
    EXPECT_EQ(t.pixel(4, 4).r, 0);
    level->Release();
    source->Release();
    texture->Release();
    plain->Release();
}

TEST_F(Textures, VolumeTexturesLockAndSampleInThreeDimensions) {
    IDirect3DVolumeTexture9* volume = nullptr;
    ASSERT_EQ(t.device->CreateVolumeTexture(4, 4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                            &volume, nullptr),
              D3D_OK);
    D3DLOCKED_BOX box{};
    ASSERT_EQ(volume->LockBox(0, &box, nullptr, 0), D3D_OK);
    EXPECT_EQ(box.RowPitch, 16);
    EXPECT_EQ(box.SlicePitch, 64);
    for (int z = 0; z < 4; ++z) {
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                auto* texel = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(box.pBits) +
                                                          z * box.SlicePitch + y * box.RowPitch) +
                              x;
                *texel = D3DCOLOR_ARGB(255, x * 64, y * 64, z * 64);
            }
        }
    }
    EXPECT_EQ(volume->LockBox(0, &box, nullptr, 0), D3DERR_INVALIDCALL); // already locked
    ASSERT_EQ(volume->UnlockBox(0), D3D_OK);
    t.device->SetTexture(0, volume);
    struct Vertex {
        float x, y, z, rhw, u, v, w;
    } quad[4] = {{0, 0, 0.5f, 1, 0.375f, 0.625f, 0.875f},
                 {8, 0, 0.5f, 1, 0.375f, 0.625f, 0.875f},
                 {0, 8, 0.5f, 1, 0.375f, 0.625f, 0.875f},
                 {8, 8, 0.5f, 1, 0.375f, 0.625f, 0.875f}};
    t.device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0));
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    Rgba p = t.pixel(4, 4);
    EXPECT_EQ(p.r, 64);
    EXPECT_EQ(p.g, 128);
    EXPECT_EQ(p.b, 192);
    volume->Release();
}

TEST_F(Textures, RenderTargetTexturesSampleTheRightWayUpAndShareTheDepthBuffer) {
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(t.device->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                      D3DPOOL_DEFAULT, &target, nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(target->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    IDirect3DSurface9* surface = nullptr;
    IDirect3DSurface9* back = nullptr;
    target->GetSurfaceLevel(0, &surface);
    t.device->GetRenderTarget(0, &back);
    // The back buffer's depth at the top-left 2x2 is near (0.1), elsewhere far.
    t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    ScreenVertex quad[6];
    screenQuad(quad, 0, 0, 2, 2, 0.1f, 0xFF000000);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));

    ASSERT_EQ(t.device->SetRenderTarget(0, surface), D3D_OK);
    D3DVIEWPORT9 viewport{};
    t.device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 4u);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    // Red on the top half of the target, at depth 0.5: hidden where the shared depth is 0.1.
    screenQuad(quad, 0, 0, 4, 2, 0.5f, kRed);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    std::vector<uint32_t> pixels = t.read(surface);
    EXPECT_EQ(pixels[0], 0xFF0000FFu);     // (0, 0) behind the back buffer's near depth
    EXPECT_EQ(pixels[2], kRed);            // (2, 0) drawn
    EXPECT_EQ(pixels[4 * 3], 0xFF0000FFu); // bottom row untouched

    // Sampled back into the back buffer: red stays on top.
    t.device->SetRenderTarget(0, back);
    t.device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    t.device->SetTexture(0, target);
    draw(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(t.pixel(5, 1).r, 255);
    EXPECT_EQ(t.pixel(5, 6).b, 255);
    surface->Release();
    back->Release();
    target->Release();
}

TEST_F(Textures, IndexedDrawsFromVertexAndIndexBuffers) {
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(t.device->CreateVertexBuffer(8 * sizeof(ScreenVertex), D3DUSAGE_WRITEONLY, kScreenFvf,
                                           D3DPOOL_MANAGED, &vertices, nullptr),
              D3D_OK);
    ASSERT_EQ(t.device->CreateIndexBuffer(6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16,
                                          D3DPOOL_MANAGED, &indices, nullptr),
              D3D_OK);
    ScreenVertex* v = nullptr;
    ASSERT_EQ(vertices->Lock(0, 0, reinterpret_cast<void**>(&v), 0), D3D_OK);
    // Vertices 4..7 hold the right half; drawn with base vertex 4.
    ScreenVertex corners[4] = {{4, 0, 0.5f, 1, kGreen, 0, 0},
                               {8, 0, 0.5f, 1, kGreen, 0, 0},
                               {4, 8, 0.5f, 1, kGreen, 0, 0},
                               {8, 8, 0.5f, 1, kGreen, 0, 0}};
    std::memset(v, 0, 4 * sizeof(ScreenVertex));
    std::memcpy(v + 4, corners, sizeof(corners));
    vertices->Unlock();
    WORD* i = nullptr;
    ASSERT_EQ(indices->Lock(0, 0, reinterpret_cast<void**>(&i), 0), D3D_OK);
    const WORD order[6] = {0, 1, 2, 2, 1, 3};
    std::memcpy(i, order, sizeof(order));
    indices->Unlock();
    EXPECT_EQ(indices->Lock(12, 2, reinterpret_cast<void**>(&i), 0), D3DERR_INVALIDCALL);
    t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    t.device->SetStreamSource(0, vertices, 0, sizeof(ScreenVertex));
    t.device->SetIndices(indices);
    ASSERT_EQ(t.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 0, 2), D3D_OK);
    EXPECT_EQ(t.pixel(6, 4).g, 255);
    EXPECT_EQ(t.pixel(2, 4).g, 0);
    // Past the end of the index buffer, also where 32-bit index or vertex counts would wrap
    // around to something small, and beyond the caps' primitive count: refused.
    EXPECT_EQ(t.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 2),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(t.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0xFFFFFFFAu, 2),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(t.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 0x55555556u),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(t.device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 0x1000000u), D3DERR_INVALIDCALL);
    t.device->SetStreamSource(0, nullptr, 0, 0);
    t.device->SetIndices(nullptr);
    vertices->Release();
    indices->Release();
}

// Sizes are checked against what the driver reports and, for textures, what the caps promise:
// a texture or surface beyond them is refused, and one at the limit is made.
TEST_F(Textures, SizesBeyondTheDriversOrTheCapsLargestAreRefused) {
    GLint driverLargest = 0;
    GLint driverLargestVolume = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &driverLargest);
    glGetIntegerv(GL_MAX_3D_TEXTURE_SIZE, &driverLargestVolume);
    ASSERT_GT(driverLargest, 0);
    D3DCAPS9 caps{};
    ASSERT_EQ(t.device->GetDeviceCaps(&caps), D3D_OK);
    const UINT largest = std::min<UINT>(static_cast<UINT>(driverLargest), caps.MaxTextureWidth);
    const UINT largestVolume =
        std::min<UINT>(static_cast<UINT>(driverLargestVolume), caps.MaxVolumeExtent);
    UINT beyond = largest + 1;
    IDirect3DTexture9* texture = nullptr;
    for (UINT size : {beyond, 1u}) {
        UINT other = size == 1 ? beyond : 1;
        EXPECT_EQ(t.device->CreateTexture(size, other, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                          &texture, nullptr),
                  D3DERR_INVALIDCALL);
        EXPECT_EQ(texture, nullptr);
    }
    ASSERT_EQ(t.device->CreateTexture(largest, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                      nullptr),
              D3D_OK);
    texture->Release();
    beyond = static_cast<UINT>(driverLargest) + 1; // surfaces: the driver's limit alone
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(t.device->CreateRenderTarget(beyond, 1, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0,
                                           FALSE, &surface, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(t.device->CreateDepthStencilSurface(1, beyond, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0,
                                                  FALSE, &surface, nullptr),
              D3DERR_INVALIDCALL);
    IDirect3DVolumeTexture9* volume = nullptr;
    EXPECT_EQ(t.device->CreateVolumeTexture(1, 1, largestVolume + 1, 1, 0, D3DFMT_A8R8G8B8,
                                            D3DPOOL_MANAGED, &volume, nullptr),
              D3DERR_INVALIDCALL);
}

namespace {

// Addressing and filtering run the same for flat textures and volumes (one slice deep, sampled
// at its middle).
enum class Kind { Flat, Volume };

class TextureKinds : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        t.startScreenDrawing();
        t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    }
    void TearDown() override {
        t.device->SetTexture(0, nullptr);
        if (texture) {
            texture->Release();
        }
    }

    template <typename Texel> void make(UINT width, UINT height, UINT levels, Texel texel) {
        bool volume = GetParam() == Kind::Volume;
        IDirect3DTexture9* flat = nullptr;
        IDirect3DVolumeTexture9* deep = nullptr;
        HRESULT hr =
            volume ? t.device->CreateVolumeTexture(width, height, 1, levels, 0, D3DFMT_A8R8G8B8,
                                                   D3DPOOL_MANAGED, &deep, nullptr)
                   : t.device->CreateTexture(width, height, levels, 0, D3DFMT_A8R8G8B8,
                                             D3DPOOL_MANAGED, &flat, nullptr);
        ASSERT_EQ(hr, D3D_OK);
        for (UINT level = 0; level < levels; ++level) {
            void* bits = nullptr;
            INT pitch = 0;
            D3DLOCKED_RECT rect{};
            D3DLOCKED_BOX box{};
            if (volume) {
                ASSERT_EQ(deep->LockBox(level, &box, nullptr, 0), D3D_OK);
                bits = box.pBits;
                pitch = box.RowPitch;
            } else {
                ASSERT_EQ(flat->LockRect(level, &rect, nullptr, 0), D3D_OK);
                bits = rect.pBits;
                pitch = rect.Pitch;
            }
            UINT w = std::max(width >> level, 1u);
            UINT h = std::max(height >> level, 1u);
            for (UINT y = 0; y < h; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(bits) + y * pitch);
                for (UINT x = 0; x < w; ++x) {
                    row[x] = texel(level, x, y);
                }
            }
            volume ? deep->UnlockBox(level) : flat->UnlockRect(level);
        }
        texture = volume ? static_cast<IDirect3DBaseTexture9*>(deep) : flat;
        t.device->SetTexture(0, texture);
    }

    void draw(float u0, float v0, float u1, float v1) {
        struct Vertex {
            float x, y, z, rhw, u, v, w;
        } quad[4] = {{0, 0, 0.5f, 1, u0, v0, 0.5f},
                     {8, 0, 0.5f, 1, u1, v0, 0.5f},
                     {0, 8, 0.5f, 1, u0, v1, 0.5f},
                     {8, 8, 0.5f, 1, u1, v1, 0.5f}};
        t.device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0));
        ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
    }

    TestDevice t{8, 8};
    IDirect3DBaseTexture9* texture = nullptr;
};

} // namespace

// Each mode on u with v wrapping, then on v with u wrapping; pixel centres sample u (or v) =
// -0.75, -0.25, ... 2.75. The texel seen: 0 or 1, or -1 for the border colour.
TEST_P(TextureKinds, EveryAddressModeOnEachAxisAndFarOut) {
    D3DCAPS9 caps{};
    t.device->GetDeviceCaps(&caps);
    make(2, 2, 1,
         [](UINT, UINT x, UINT y) { return D3DCOLOR_ARGB(255, x ? 255 : 0, y ? 255 : 0, 0); });
    t.device->SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0xFF0000FF);
    const struct {
        DWORD mode;
        float shift; // whole copies of the texture added to the coordinates
        int texel[8];
    } cases[] = {
        {D3DTADDRESS_WRAP, 0, {0, 1, 0, 1, 0, 1, 0, 1}},
        {D3DTADDRESS_MIRROR, 0, {1, 0, 0, 1, 1, 0, 0, 1}},
        {D3DTADDRESS_CLAMP, 0, {0, 0, 0, 1, 1, 1, 1, 1}},
        {D3DTADDRESS_BORDER, 0, {-1, -1, 0, 1, -1, -1, -1, -1}},
        {D3DTADDRESS_MIRRORONCE, 0, {1, 0, 0, 1, 1, 1, 1, 1}},
        // Near the caps' MaxTextureRepeat (8192 texels, this texture's 4096 copies).
        {D3DTADDRESS_WRAP, 4092, {0, 1, 0, 1, 0, 1, 0, 1}},
    };
    for (const auto& c : cases) {
        if (c.mode == D3DTADDRESS_MIRRORONCE &&
            !(caps.TextureAddressCaps & D3DPTADDRESSCAPS_MIRRORONCE)) {
            continue;
        }
        for (int axis = 0; axis < 2; ++axis) {
            t.device->SetSamplerState(0, D3DSAMP_ADDRESSU,
                                      axis == 0 ? c.mode : DWORD{D3DTADDRESS_WRAP});
            t.device->SetSamplerState(0, D3DSAMP_ADDRESSV,
                                      axis == 1 ? c.mode : DWORD{D3DTADDRESS_WRAP});
            float from = -0.75f + c.shift;
            float to = 3.25f + c.shift;
            axis == 0 ? draw(from, 0, to, 1) : draw(0, from, 1, to);
            for (int i = 0; i < 8; ++i) {
                // The other axis samples 0.25 (wrapping): texel 0.
                Rgba p = axis == 0 ? t.pixel(i, 0) : t.pixel(0, i);
                int seen = p.b == 255 ? -1 : (axis == 0 ? p.r : p.g) == 255 ? 1 : 0;
                EXPECT_EQ(seen, c.texel[i])
                    << "mode " << c.mode << " shift " << c.shift << " axis " << axis << " at " << i;
            }
        }
    }
}

TEST_P(TextureKinds, PointAndLinearFiltersMagnifyingAndMinifying) {
    t.device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    // Two texels over eight pixels: pixel 3 samples a quarter of the way between their centres.
    make(2, 1, 1, [](UINT, UINT x, UINT) { return x ? 0xFFFFFFFF : 0xFF000000; });
    draw(0, 0, 1, 1);
    EXPECT_EQ(t.pixel(3, 0).r, 0);
    t.device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    draw(0, 0, 1, 1);
    EXPECT_NEAR(t.pixel(3, 0).r, 64, 1);
    texture->Release();
    // Sixteen alternating texels over eight pixels: each pixel samples a quarter texel left of
    // an even texel's centre.
    make(16, 1, 1, [](UINT, UINT x, UINT) { return x % 2 ? 0xFF000000 : 0xFFFFFFFF; });
    const float u0 = 1.0f / 64.0f;
    draw(u0, 0, 1 + u0, 1);
    EXPECT_EQ(t.pixel(3, 0).r, 255);
    t.device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    draw(u0, 0, 1 + u0, 1);
    EXPECT_NEAR(t.pixel(3, 0).r, 191, 3); // less the tie-breaking shift
}

// Sixteen texels over eight pixels is level 1; the bias moves it three quarters towards level 2.
TEST_P(TextureKinds, MipFiltersAndLevelOfDetailBias) {
    const uint32_t colours[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFFFFFFFF};
    make(16, 16, 5, [&](UINT level, UINT, UINT) { return colours[level]; });
    const DWORD biasBits = floatState(0.75f);
    const struct {
        DWORD filter;
        DWORD bias;
        int g, b;
    } cases[] = {{D3DTEXF_POINT, 0, 255, 0},
                 {D3DTEXF_POINT, biasBits, 0, 255},
                 {D3DTEXF_LINEAR, 0, 255, 0},
                 {D3DTEXF_LINEAR, biasBits, 64, 191}};
    for (const auto& c : cases) {
        t.device->SetSamplerState(0, D3DSAMP_MIPFILTER, c.filter);
        t.device->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, c.bias);
        draw(0, 0, 1, 1);
        Rgba p = t.pixel(4, 4);
        EXPECT_NEAR(p.g, c.g, 4) << "filter " << c.filter << " bias " << c.bias;
        EXPECT_NEAR(p.b, c.b, 4) << "filter " << c.filter << " bias " << c.bias;
    }
}

INSTANTIATE_TEST_SUITE_P(D3d9Texture, TextureKinds, ::testing::Values(Kind::Flat, Kind::Volume),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                             return info.param == Kind::Flat ? "Flat" : "Volume";
                         });

// A footprint sixteen times longer in u than in v: linear filtering picks the level that fits
// the long side (4), anisotropic filtering the one that fits the short side, as far as
// MAXANISOTROPY allows: sixteen to one is within the caps' 16, so level 0. (How a smaller
// MAXANISOTROPY is honoured differs between drivers; llvmpipe still draws level 0 at 2.)
TEST_F(Textures, AnisotropicFilteringUpToTheCapsLargest) {
    D3DCAPS9 caps{};
    t.device->GetDeviceCaps(&caps);
    if (!(caps.RasterCaps & D3DPRASTERCAPS_ANISOTROPY)) {
        GTEST_SKIP() << "no anisotropic filtering on this driver, and none claimed";
    }
    ASSERT_EQ(caps.MaxAnisotropy, 16u);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(t.device->CreateTexture(128, 128, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                      nullptr),
              D3D_OK);
    for (UINT level = 0; level < texture->GetLevelCount(); ++level) {
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
        UINT side = 128u >> level;
        for (UINT y = 0; y < side; ++y) {
            auto* row =
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
            std::fill(row, row + side, D3DCOLOR_ARGB(255, level * 32, 0, 0));
        }
        texture->UnlockRect(level);
    }
    t.device->SetTexture(0, texture);
    t.device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
    auto level = [&](DWORD minFilter, DWORD maximum) {
        t.device->SetSamplerState(0, D3DSAMP_MINFILTER, minFilter);
        t.device->SetSamplerState(0, D3DSAMP_MAXANISOTROPY, maximum);
        draw(0.0f, 0.0f, 1.0f, 1.0f / 16.0f);
        return (t.pixel(4, 4).r + 16) / 32;
    };
    EXPECT_EQ(level(D3DTEXF_LINEAR, 16), 4);
    EXPECT_LE(level(D3DTEXF_ANISOTROPIC, 16), 1);
    t.device->SetTexture(0, nullptr);
    texture->Release();
}

// The right edge four times as far as the left: halfway across the screen is a fifth of the way
// across the texture, not half.
TEST_F(Textures, CoordinatesAreInterpolatedWithPerspective) {
    std::vector<uint32_t> ramp(10);
    for (UINT i = 0; i < 10; ++i) {
        ramp[i] = D3DCOLOR_ARGB(255, i * 25, 0, 0);
    }
    IDirect3DTexture9* texture = t.texture(10, 1, ramp);
    t.device->SetTexture(0, texture);
    ScreenVertex quad[4] = {{0, 0, 0.5f, 1, 0xFFFFFFFF, 0, 0},
                            {8, 0, 0.5f, 0.25f, 0xFFFFFFFF, 1, 0},
                            {0, 8, 0.5f, 1, 0xFFFFFFFF, 0, 1},
                            {8, 8, 0.5f, 0.25f, 0xFFFFFFFF, 1, 1}};
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex));
    EXPECT_EQ(t.pixel(4, 4).r, 2 * 25);
    t.device->SetTexture(0, nullptr);
    texture->Release();
}
