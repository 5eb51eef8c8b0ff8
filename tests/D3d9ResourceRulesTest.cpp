// The runtime's pool and usage rules, one row each, and the copies between surfaces they
// govern: StretchRect from offscreen plain surfaces (scaled, filtered, sub-rectangles),
// UpdateSurface with a source rectangle and a destination point, UpdateTexture.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

using namespace tarnelix::test;

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// Fills a locked region with rows of texels.
void fill(const D3DLOCKED_RECT& locked, UINT width, UINT height,
          const std::function<uint32_t(UINT, UINT)>& texel) {
    for (UINT y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) +
                                                static_cast<size_t>(y) * locked.Pitch);
        for (UINT x = 0; x < width; ++x) {
            row[x] = texel(x, y);
        }
    }
}

void fillSurface(IDirect3DSurface9* surface, const std::function<uint32_t(UINT, UINT)>& texel) {
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(surface->LockRect(&locked, nullptr, 0), D3D_OK);
    fill(locked, desc.Width, desc.Height, texel);
    surface->UnlockRect();
}

// One resource of each kind the rules tell apart, all 4 x 4 A8R8G8B8.
struct Resources {
    explicit Resources(IDirect3DDevice9* device) : d(device) {
        d->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &defaultTexture, nullptr);
        d->CreateTexture(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                         &dynamicTexture, nullptr);
        d->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &managedTexture, nullptr);
        d->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &systemTexture, nullptr);
        d->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                         &targetTexture, nullptr);
        d->CreateCubeTexture(4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &defaultCube, nullptr);
        d->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &plain, nullptr);
        d->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &systemPlain,
                                       nullptr);
        d->CreateOffscreenPlainSurface(4, 4, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &otherFormat,
                                       nullptr);
        d->CreateRenderTarget(4, 4, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &target,
                              nullptr);
        defaultTexture->GetSurfaceLevel(0, &defaultLevel);
        managedTexture->GetSurfaceLevel(0, &managedLevel);
        systemTexture->GetSurfaceLevel(0, &systemLevel);
        targetTexture->GetSurfaceLevel(0, &targetLevel);
    }
    ~Resources() {
        for (IUnknown* object : std::initializer_list<IUnknown*>{
                 defaultLevel, managedLevel, systemLevel, targetLevel, defaultTexture,
                 dynamicTexture, managedTexture, systemTexture, targetTexture, defaultCube, plain,
                 systemPlain, otherFormat, target}) {
            if (object) {
                object->Release();
            }
        }
    }
    bool complete() const {
        return defaultLevel && managedLevel && systemLevel && targetLevel && dynamicTexture &&
               defaultCube && plain && systemPlain && otherFormat && target;
    }

    // Creating something and releasing it at once: only the answer counts.
    HRESULT texture(DWORD usage, D3DPOOL pool, UINT levels = 1) {
        IDirect3DTexture9* made = nullptr;
        HRESULT hr = d->CreateTexture(4, 4, levels, usage, D3DFMT_A8R8G8B8, pool, &made, nullptr);
        if (made) {
            made->Release();
        }
        return hr;
    }
    HRESULT cube(DWORD usage, D3DPOOL pool) {
        IDirect3DCubeTexture9* made = nullptr;
        HRESULT hr = d->CreateCubeTexture(4, 1, usage, D3DFMT_A8R8G8B8, pool, &made, nullptr);
        if (made) {
            made->Release();
        }
        return hr;
    }
    HRESULT volume(DWORD usage, D3DPOOL pool) {
        IDirect3DVolumeTexture9* made = nullptr;
        HRESULT hr =
            d->CreateVolumeTexture(4, 4, 4, 1, usage, D3DFMT_A8R8G8B8, pool, &made, nullptr);
        if (made) {
            made->Release();
        }
        return hr;
    }
    HRESULT plainIn(D3DPOOL pool) {
        IDirect3DSurface9* made = nullptr;
        HRESULT hr = d->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, pool, &made, nullptr);
        if (made) {
            made->Release();
        }
        return hr;
    }
    HRESULT lock(IDirect3DTexture9* texture) {
        D3DLOCKED_RECT locked{};
        HRESULT hr = texture->LockRect(0, &locked, nullptr, 0);
        if (SUCCEEDED(hr)) {
            texture->UnlockRect(0);
        }
        return hr;
    }
    HRESULT lock(IDirect3DSurface9* surface) {
        D3DLOCKED_RECT locked{};
        HRESULT hr = surface->LockRect(&locked, nullptr, 0);
        if (SUCCEEDED(hr)) {
            surface->UnlockRect();
        }
        return hr;
    }
    HRESULT lockCubeFace() {
        D3DLOCKED_RECT locked{};
        HRESULT hr = defaultCube->LockRect(D3DCUBEMAP_FACE_NEGATIVE_Y, 0, &locked, nullptr, 0);
        if (SUCCEEDED(hr)) {
            defaultCube->UnlockRect(D3DCUBEMAP_FACE_NEGATIVE_Y, 0);
        }
        return hr;
    }
    HRESULT updateTexture(D3DPOOL from, D3DPOOL to, UINT fromLevels = 1, UINT toLevels = 1) {
        IDirect3DTexture9* source = nullptr;
        IDirect3DTexture9* dest = nullptr;
        d->CreateTexture(4, 4, fromLevels, 0, D3DFMT_A8R8G8B8, from, &source, nullptr);
        d->CreateTexture(4, 4, toLevels, 0, D3DFMT_A8R8G8B8, to, &dest, nullptr);
        HRESULT hr = source && dest ? d->UpdateTexture(source, dest) : E_FAIL;
        if (source) {
            source->Release();
        }
        if (dest) {
            dest->Release();
        }
        return hr;
    }

    IDirect3DDevice9* d;
    IDirect3DTexture9* defaultTexture = nullptr;
    IDirect3DTexture9* dynamicTexture = nullptr;
    IDirect3DTexture9* managedTexture = nullptr;
    IDirect3DTexture9* systemTexture = nullptr;
    IDirect3DTexture9* targetTexture = nullptr;
    IDirect3DCubeTexture9* defaultCube = nullptr;
    IDirect3DSurface9* defaultLevel = nullptr;
    IDirect3DSurface9* managedLevel = nullptr;
    IDirect3DSurface9* systemLevel = nullptr;
    IDirect3DSurface9* targetLevel = nullptr;
    IDirect3DSurface9* plain = nullptr;       // offscreen plain, default pool
    IDirect3DSurface9* systemPlain = nullptr; // offscreen plain, system memory
    IDirect3DSurface9* otherFormat = nullptr; // X8R8G8B8, system memory
    IDirect3DSurface9* target = nullptr;      // a render target surface
};

struct Rule {
    const char* what;
    std::function<HRESULT(Resources&)> call;
    HRESULT expected;
};

const RECT kOutside{2, 2, 5, 4};
const POINT kTooFar{3, 0};

const Rule kRules[] = {
    // Locks.
    {"LockRect, default pool, not dynamic", [](Resources& r) { return r.lock(r.defaultTexture); },
     D3DERR_INVALIDCALL},
    {"LockRect, default pool, dynamic", [](Resources& r) { return r.lock(r.dynamicTexture); },
     D3D_OK},
    {"LockRect, managed", [](Resources& r) { return r.lock(r.managedTexture); }, D3D_OK},
    {"LockRect, system memory", [](Resources& r) { return r.lock(r.systemTexture); }, D3D_OK},
    {"LockRect, render-target texture", [](Resources& r) { return r.lock(r.targetTexture); },
     D3DERR_INVALIDCALL},
    {"LockRect through a default-pool level", [](Resources& r) { return r.lock(r.defaultLevel); },
     D3DERR_INVALIDCALL},
    {"LockRect, default-pool cube face", [](Resources& r) { return r.lockCubeFace(); },
     D3DERR_INVALIDCALL},
    {"LockRect, default-pool plain surface", [](Resources& r) { return r.lock(r.plain); }, D3D_OK},
    // Creation.
    {"CreateTexture, dynamic in managed",
     [](Resources& r) { return r.texture(D3DUSAGE_DYNAMIC, D3DPOOL_MANAGED); }, D3DERR_INVALIDCALL},
    {"CreateTexture, dynamic in system memory",
     [](Resources& r) { return r.texture(D3DUSAGE_DYNAMIC, D3DPOOL_SYSTEMMEM); }, D3D_OK},
    {"CreateTexture, render target in managed",
     [](Resources& r) { return r.texture(D3DUSAGE_RENDERTARGET, D3DPOOL_MANAGED); },
     D3DERR_INVALIDCALL},
    {"CreateTexture, render target in system memory",
     [](Resources& r) { return r.texture(D3DUSAGE_RENDERTARGET, D3DPOOL_SYSTEMMEM); },
     D3DERR_INVALIDCALL},
    {"CreateTexture, depth stencil in managed",
     [](Resources& r) { return r.texture(D3DUSAGE_DEPTHSTENCIL, D3DPOOL_MANAGED); },
     D3DERR_INVALIDCALL},
    {"CreateTexture, automatic mipmaps in system memory",
     [](Resources& r) { return r.texture(D3DUSAGE_AUTOGENMIPMAP, D3DPOOL_SYSTEMMEM); },
     D3DERR_INVALIDCALL},
    {"CreateTexture, automatic mipmaps with two levels",
     [](Resources& r) { return r.texture(D3DUSAGE_AUTOGENMIPMAP, D3DPOOL_MANAGED, 2); },
     D3DERR_INVALIDCALL},
    {"CreateTexture, automatic mipmaps, full chain",
     [](Resources& r) { return r.texture(D3DUSAGE_AUTOGENMIPMAP, D3DPOOL_MANAGED, 0); }, D3D_OK},
    {"CreateCubeTexture, dynamic in managed",
     [](Resources& r) { return r.cube(D3DUSAGE_DYNAMIC, D3DPOOL_MANAGED); }, D3DERR_INVALIDCALL},
    {"CreateCubeTexture, render target in managed",
     [](Resources& r) { return r.cube(D3DUSAGE_RENDERTARGET, D3DPOOL_MANAGED); },
     D3DERR_INVALIDCALL},
    {"CreateCubeTexture, render target in default",
     [](Resources& r) { return r.cube(D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT); }, D3D_OK},
    {"CreateVolumeTexture, dynamic in managed",
     [](Resources& r) { return r.volume(D3DUSAGE_DYNAMIC, D3DPOOL_MANAGED); }, D3DERR_INVALIDCALL},
    {"CreateOffscreenPlainSurface, managed",
     [](Resources& r) { return r.plainIn(D3DPOOL_MANAGED); }, D3DERR_INVALIDCALL},
    // ColorFill.
    {"ColorFill, managed level",
     [](Resources& r) { return r.d->ColorFill(r.managedLevel, nullptr, kRed); },
     D3DERR_INVALIDCALL},
    {"ColorFill, system-memory plain surface",
     [](Resources& r) { return r.d->ColorFill(r.systemPlain, nullptr, kRed); }, D3DERR_INVALIDCALL},
    {"ColorFill, default-pool level that is not a render target",
     [](Resources& r) { return r.d->ColorFill(r.defaultLevel, nullptr, kRed); },
     D3DERR_INVALIDCALL},
    {"ColorFill, render-target level",
     [](Resources& r) { return r.d->ColorFill(r.targetLevel, nullptr, kRed); }, D3D_OK},
    {"ColorFill, default-pool plain surface",
     [](Resources& r) { return r.d->ColorFill(r.plain, nullptr, kRed); }, D3D_OK},
    {"ColorFill, rectangle outside",
     [](Resources& r) { return r.d->ColorFill(r.target, &kOutside, kRed); }, D3DERR_INVALIDCALL},
    // UpdateTexture: system memory to the default pool only.
    {"UpdateTexture, managed source",
     [](Resources& r) { return r.updateTexture(D3DPOOL_MANAGED, D3DPOOL_DEFAULT); },
     D3DERR_INVALIDCALL},
    {"UpdateTexture, managed destination",
     [](Resources& r) { return r.updateTexture(D3DPOOL_SYSTEMMEM, D3DPOOL_MANAGED); },
     D3DERR_INVALIDCALL},
    {"UpdateTexture, system memory to default",
     [](Resources& r) { return r.updateTexture(D3DPOOL_SYSTEMMEM, D3DPOOL_DEFAULT); }, D3D_OK},
    {"UpdateTexture, fewer source levels",
     [](Resources& r) { return r.updateTexture(D3DPOOL_SYSTEMMEM, D3DPOOL_DEFAULT, 1, 2); },
     D3DERR_INVALIDCALL},
    {"UpdateTexture, texture to cube",
     [](Resources& r) { return r.d->UpdateTexture(r.systemTexture, r.defaultCube); },
     D3DERR_INVALIDCALL},
    // UpdateSurface: system memory to the default pool, one format, inside both.
    {"UpdateSurface, system memory to default level",
     [](Resources& r) {
         return r.d->UpdateSurface(r.systemPlain, nullptr, r.defaultLevel, nullptr);
     },
     D3D_OK},
    {"UpdateSurface, from a system-memory level",
     [](Resources& r) { return r.d->UpdateSurface(r.systemLevel, nullptr, r.plain, nullptr); },
     D3D_OK},
    {"UpdateSurface, managed source",
     [](Resources& r) {
         return r.d->UpdateSurface(r.managedLevel, nullptr, r.defaultLevel, nullptr);
     },
     D3DERR_INVALIDCALL},
    {"UpdateSurface, managed destination",
     [](Resources& r) {
         return r.d->UpdateSurface(r.systemPlain, nullptr, r.managedLevel, nullptr);
     },
     D3DERR_INVALIDCALL},
    {"UpdateSurface, formats differ",
     [](Resources& r) {
         return r.d->UpdateSurface(r.otherFormat, nullptr, r.defaultLevel, nullptr);
     },
     D3DERR_INVALIDCALL},
    {"UpdateSurface, source rectangle outside",
     [](Resources& r) {
         return r.d->UpdateSurface(r.systemPlain, &kOutside, r.defaultLevel, nullptr);
     },
     D3DERR_INVALIDCALL},
    {"UpdateSurface, destination point pushes it outside",
     [](Resources& r) {
         const RECT half{0, 0, 2, 2};
         return r.d->UpdateSurface(r.systemPlain, &half, r.defaultLevel, &kTooFar);
     },
     D3DERR_INVALIDCALL},
    // StretchRect: the table of what may go where, all in the default pool.
    {"StretchRect, plain to render target",
     [](Resources& r) {
         return r.d->StretchRect(r.plain, nullptr, r.target, nullptr, D3DTEXF_NONE);
     },
     D3D_OK},
    {"StretchRect, plain to render-target texture",
     [](Resources& r) {
         return r.d->StretchRect(r.plain, nullptr, r.targetLevel, nullptr, D3DTEXF_NONE);
     },
     D3D_OK},
    {"StretchRect, plain to plain",
     [](Resources& r) {
         IDirect3DSurface9* other = nullptr;
         r.d->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &other, nullptr);
         HRESULT hr = r.d->StretchRect(r.plain, nullptr, other, nullptr, D3DTEXF_NONE);
         other->Release();
         return hr;
     },
     D3D_OK},
    {"StretchRect, texture level to render target",
     [](Resources& r) {
         return r.d->StretchRect(r.defaultLevel, nullptr, r.target, nullptr, D3DTEXF_POINT);
     },
     D3D_OK},
    {"StretchRect, plain to a texture that is not a render target",
     [](Resources& r) {
         return r.d->StretchRect(r.plain, nullptr, r.defaultLevel, nullptr, D3DTEXF_NONE);
     },
     D3DERR_INVALIDCALL},
    {"StretchRect, render target to plain",
     [](Resources& r) {
         return r.d->StretchRect(r.target, nullptr, r.plain, nullptr, D3DTEXF_NONE);
     },
     D3DERR_INVALIDCALL},
    {"StretchRect, texture level to plain",
     [](Resources& r) {
         return r.d->StretchRect(r.defaultLevel, nullptr, r.plain, nullptr, D3DTEXF_NONE);
     },
     D3DERR_INVALIDCALL},
    {"StretchRect, system-memory source",
     [](Resources& r) {
         return r.d->StretchRect(r.systemPlain, nullptr, r.target, nullptr, D3DTEXF_NONE);
     },
     D3DERR_INVALIDCALL},
    {"StretchRect, managed level source",
     [](Resources& r) {
         return r.d->StretchRect(r.managedLevel, nullptr, r.target, nullptr, D3DTEXF_NONE);
     },
     D3DERR_INVALIDCALL},
    {"StretchRect, onto itself",
     [](Resources& r) {
         return r.d->StretchRect(r.target, nullptr, r.target, nullptr, D3DTEXF_NONE);
     },
     D3DERR_INVALIDCALL},
    {"StretchRect, source rectangle outside",
     [](Resources& r) {
         return r.d->StretchRect(r.plain, &kOutside, r.target, nullptr, D3DTEXF_NONE);
     },
     D3DERR_INVALIDCALL},
    {"StretchRect, anisotropic filter",
     [](Resources& r) {
         return r.d->StretchRect(r.plain, nullptr, r.target, nullptr, D3DTEXF_ANISOTROPIC);
     },
     D3DERR_INVALIDCALL},
    // Reading a render target back goes to system memory only.
    {"GetRenderTargetData into a default-pool plain surface",
     [](Resources& r) { return r.d->GetRenderTargetData(r.target, r.plain); }, D3DERR_INVALIDCALL},
};

class ResourceRules : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        t.startScreenDrawing();
        t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    }

    // Draws a texture over the whole target, one pixel per texel pair (8 x 8 target, 4 x 4
    // texture).
    void drawTexture(IDirect3DBaseTexture9* texture) {
        t.device->SetTexture(0, texture);
        ScreenVertex quad[6];
        screenQuad(quad, 0, 0, 8, 8, 0.5f, kWhite);
        ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)),
                  D3D_OK);
        t.device->SetTexture(0, nullptr);
    }

    uint32_t argb(int x, int y) {
        Rgba p = t.pixel(x, y);
        return static_cast<uint32_t>(p.a) << 24 | static_cast<uint32_t>(p.r) << 16 |
               static_cast<uint32_t>(p.g) << 8 | static_cast<uint32_t>(p.b);
    }

    TestDevice t{8, 8};
};

} // namespace

TEST_F(ResourceRules, EachCaseAnswersAsTheRuntimeDoes) {
    for (const Rule& rule : kRules) {
        Resources resources(t.device);
        ASSERT_TRUE(resources.complete());
        EXPECT_EQ(rule.call(resources), rule.expected) << rule.what;
    }
}

// The video-playback path: frames written into a default-pool plain surface, scaled onto the
// back buffer.
TEST_F(ResourceRules, StretchRectScalesAPlainSurfaceOntoTheBackBuffer) {
    IDirect3DSurface9* frame = nullptr;
    ASSERT_EQ(t.device->CreateOffscreenPlainSurface(2, 2, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &frame,
                                                    nullptr),
              D3D_OK);
    const uint32_t quadrants[4] = {kRed, kGreen, kBlue, kWhite};
    fillSurface(frame, [&](UINT x, UINT y) { return quadrants[y * 2 + x]; });
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(t.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    ASSERT_EQ(t.device->StretchRect(frame, nullptr, back, nullptr, D3DTEXF_POINT), D3D_OK);
    // Rows stay top first: the first row of the frame is the top of the screen.
    EXPECT_EQ(argb(0, 0), kRed);
    EXPECT_EQ(argb(7, 3), kGreen);
    EXPECT_EQ(argb(3, 4), kBlue);
    EXPECT_EQ(argb(7, 7), kWhite);

    // A sub-rectangle (the white texel) into a sub-rectangle; the rest stays.
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    const RECT texel{1, 1, 2, 2};
    const RECT corner{2, 2, 5, 5};
    ASSERT_EQ(t.device->StretchRect(frame, &texel, back, &corner, D3DTEXF_POINT), D3D_OK);
    EXPECT_EQ(argb(2, 2), kWhite);
    EXPECT_EQ(argb(4, 4), kWhite);
    EXPECT_EQ(argb(1, 1), 0xFF000000u);
    EXPECT_EQ(argb(5, 5), 0xFF000000u);

    // Linear filtering blends neighbouring texels; point filtering never does.
    fillSurface(frame, [](UINT x, UINT) { return x ? kWhite : 0xFF000000u; });
    ASSERT_EQ(t.device->StretchRect(frame, nullptr, back, nullptr, D3DTEXF_LINEAR), D3D_OK);
    EXPECT_EQ(t.pixel(0, 0).r, 0);
    EXPECT_EQ(t.pixel(7, 0).r, 255);
    EXPECT_GT(t.pixel(3, 0).r, 0);
    EXPECT_LT(t.pixel(3, 0).r, t.pixel(4, 0).r);
    EXPECT_LT(t.pixel(4, 0).r, 255);
    ASSERT_EQ(t.device->StretchRect(frame, nullptr, back, nullptr, D3DTEXF_POINT), D3D_OK);
    EXPECT_EQ(t.pixel(3, 0).r, 0);
    EXPECT_EQ(t.pixel(4, 0).r, 255);
    back->Release();
    frame->Release();
}

TEST_F(ResourceRules, ColorFillOnAPlainSurfaceIsSeenByTheNextLock) {
    IDirect3DSurface9* plain = nullptr;
    ASSERT_EQ(t.device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &plain,
                                                    nullptr),
              D3D_OK);
    fillSurface(plain, [](UINT, UINT) { return kRed; });
    const RECT right{2, 0, 4, 4};
    ASSERT_EQ(t.device->ColorFill(plain, &right, kBlue), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(plain->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto* row = static_cast<const uint32_t*>(locked.pBits);
    EXPECT_EQ(row[1], kRed);
    EXPECT_EQ(row[2], kBlue);
    plain->UnlockRect();
    plain->Release();
}

TEST_F(ResourceRules, UpdateSurfaceCopiesARectangleToAPoint) {
    IDirect3DSurface9* source = nullptr;
    ASSERT_EQ(t.device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                    &source, nullptr),
              D3D_OK);
    // Each texel names its place: red = 64 x column, green = 64 x row.
    fillSurface(source,
                [](UINT x, UINT y) { return 0xFF000000u | (x * 64) << 16 | (y * 64) << 8; });
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        t.device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
        D3D_OK);
    IDirect3DSurface9* level = nullptr;
    texture->GetSurfaceLevel(0, &level);
    IDirect3DSurface9* blue = nullptr;
    ASSERT_EQ(t.device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &blue,
                                                    nullptr),
              D3D_OK);
    fillSurface(blue, [](UINT, UINT) { return kBlue; });
    ASSERT_EQ(t.device->UpdateSurface(blue, nullptr, level, nullptr), D3D_OK);
    blue->Release();
    const RECT region{1, 2, 3, 4}; // columns 1-2, rows 2-3
    const POINT at{2, 0};
    ASSERT_EQ(t.device->UpdateSurface(source, &region, level, &at), D3D_OK);
    drawTexture(texture);
    // Texel (2, 0) now holds source (1, 2), texel (3, 1) source (2, 3); each texel covers
    // 2 x 2 pixels.
    EXPECT_EQ(argb(4, 0), 0xFF000000u | 64u << 16 | 128u << 8);
    EXPECT_EQ(argb(7, 3), 0xFF000000u | 128u << 16 | 192u << 8);
    // Outside the copied region the texture keeps what it held.
    EXPECT_EQ(argb(0, 0), kBlue);
    EXPECT_EQ(argb(4, 4), kBlue);
    EXPECT_EQ(argb(3, 0), kBlue);
    level->Release();
    texture->Release();
    source->Release();
}

TEST_F(ResourceRules, UpdateTextureSkipsTheSourcesExtraLevels) {
    IDirect3DTexture9* source = nullptr;
    ASSERT_EQ(
        t.device->CreateTexture(8, 8, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &source, nullptr),
        D3D_OK);
    for (UINT level = 0; level < 2; ++level) {
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(source->LockRect(level, &locked, nullptr, 0), D3D_OK);
        UINT size = 8 >> level;
        fill(locked, size, size, [level](UINT, UINT) { return level ? kGreen : kRed; });
        source->UnlockRect(level);
    }
    IDirect3DTexture9* dest = nullptr;
    ASSERT_EQ(t.device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &dest, nullptr),
              D3D_OK);
    ASSERT_EQ(t.device->UpdateTexture(source, dest), D3D_OK);
    drawTexture(dest);
    EXPECT_EQ(argb(3, 3), kGreen);
    dest->Release();
    source->Release();
}
