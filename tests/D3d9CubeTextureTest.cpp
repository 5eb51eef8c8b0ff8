// Cube textures: made in each pool, locked face by face and level by level, sampled by
// direction (fixed-function stages with three-component coordinates, an HLSL program through
// the extension library's compiler), and drawn into face by face. Every face and quadrant is
// looked up by the direction Direct3D's face table gives for it, so a face out of order or
// turned over fails.

#include "D3d9TestDevice.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cstring>

using namespace tarnelix::test;

namespace {

struct DirectionVertex { // D3DFVF_XYZRHW | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0)
    float x, y, z, rhw;
    float dx, dy, dz;
};
constexpr DWORD kDirectionFvf = D3DFVF_XYZRHW | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0);

struct Direction {
    float x, y, z;
};

// The direction that reaches texel coordinates (u, v) of a face, from Direct3D's table: the
// major axis picks the face, and for +X (for instance) u runs with -z and v with -y.
Direction towards(int face, float u, float v) {
    float s = 2.0f * u - 1.0f;
    float t = 2.0f * v - 1.0f;
    switch (face) {
    case D3DCUBEMAP_FACE_POSITIVE_X:
        return {1.0f, -t, -s};
    case D3DCUBEMAP_FACE_NEGATIVE_X:
        return {-1.0f, -t, s};
    case D3DCUBEMAP_FACE_POSITIVE_Y:
        return {s, 1.0f, t};
    case D3DCUBEMAP_FACE_NEGATIVE_Y:
        return {s, -1.0f, -t};
    case D3DCUBEMAP_FACE_POSITIVE_Z:
        return {s, -t, 1.0f};
    default:
        return {-s, -t, -1.0f};
    }
}

// A texel that names its face and quadrant (0 top left, 1 top right, 2 bottom left, 3 bottom
// right): red 40 x (face + 1), green 60 x (quadrant + 1).
uint32_t named(int face, int quadrant) {
    return 0xFF000000u | static_cast<uint32_t>(40 * (face + 1)) << 16 |
           static_cast<uint32_t>(60 * (quadrant + 1)) << 8;
}

void fillFace(IDirect3DCubeTexture9* cube, int face, UINT level, UINT edge,
              uint32_t (*texel)(int face, UINT x, UINT y, UINT edge)) {
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(cube->LockRect(static_cast<D3DCUBEMAP_FACES>(face), level, &locked, nullptr, 0),
              D3D_OK);
    for (UINT y = 0; y < edge; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) +
                                                static_cast<size_t>(y) * locked.Pitch);
        for (UINT x = 0; x < edge; ++x) {
            row[x] = texel(face, x, y, edge);
        }
    }
    ASSERT_EQ(cube->UnlockRect(static_cast<D3DCUBEMAP_FACES>(face), level), D3D_OK);
}

uint32_t quadrantTexel(int face, UINT x, UINT y, UINT edge) {
    return named(face, (y >= edge / 2 ? 2 : 0) + (x >= edge / 2 ? 1 : 0));
}

uint32_t faceTexel(int face, UINT, UINT, UINT) {
    return named(face, 0);
}

class CubeTextures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        t.startScreenDrawing();
        t.device->SetFVF(kDirectionFvf);
        t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        t.device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    }

    // A 2 x 2 pixel square at cell `index` (8 to a row) whose every vertex carries `d`.
    void drawDirection(int index, Direction d) {
        float x = static_cast<float>(index % 8 * 2);
        float y = static_cast<float>(index / 8 * 2);
        DirectionVertex a{x, y, 0.5f, 1.0f, d.x, d.y, d.z};
        DirectionVertex b{x + 2, y, 0.5f, 1.0f, d.x, d.y, d.z};
        DirectionVertex c{x, y + 2, 0.5f, 1.0f, d.x, d.y, d.z};
        DirectionVertex e{x + 2, y + 2, 0.5f, 1.0f, d.x, d.y, d.z};
        const DirectionVertex quad[6] = {a, b, c, c, b, e};
        ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(DirectionVertex)),
                  D3D_OK);
    }

    uint32_t cell(int index) {
        Rgba p = t.pixel(index % 8 * 2, index / 8 * 2);
        return static_cast<uint32_t>(p.a) << 24 | static_cast<uint32_t>(p.r) << 16 |
               static_cast<uint32_t>(p.g) << 8 | static_cast<uint32_t>(p.b);
    }

    // Draws every face's four quadrants by direction and checks that each shows its own name.
    void expectEveryQuadrantByDirection() {
        const float centres[2] = {0.3f, 0.7f};
        for (int face = 0; face < 6; ++face) {
            for (int quadrant = 0; quadrant < 4; ++quadrant) {
                drawDirection(face * 4 + quadrant,
                              towards(face, centres[quadrant % 2], centres[quadrant / 2]));
            }
        }
        for (int face = 0; face < 6; ++face) {
            for (int quadrant = 0; quadrant < 4; ++quadrant) {
                EXPECT_EQ(cell(face * 4 + quadrant), named(face, quadrant))
                    << "face " << face << " quadrant " << quadrant;
            }
        }
    }

    // Samples the middle of each face at one mip level (the most detailed one allowed) and
    // checks that it shows the face's name.
    void expectEachFaceAtLevel(IDirect3DCubeTexture9* cube, DWORD level) {
        t.device->SetTexture(0, cube);
        t.device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
        t.device->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, level);
        for (int face = 0; face < 6; ++face) {
            drawDirection(face, towards(face, 0.5f, 0.5f));
        }
        for (int face = 0; face < 6; ++face) {
            EXPECT_EQ(cell(face), named(face, 0)) << "face " << face;
        }
        t.device->SetTexture(0, nullptr);
    }

    IDirect3DCubeTexture9* namedCube(D3DPOOL pool = D3DPOOL_MANAGED, DWORD usage = 0) {
        IDirect3DCubeTexture9* cube = nullptr;
        if (FAILED(
                t.device->CreateCubeTexture(4, 1, usage, D3DFMT_A8R8G8B8, pool, &cube, nullptr))) {
            return nullptr;
        }
        for (int face = 0; face < 6; ++face) {
            fillFace(cube, face, 0, 4, quadrantTexel);
        }
        return cube;
    }

    TestDevice t{16, 16};
};

} // namespace

// The caps as claimed; each is drawn by the tests below.
TEST_F(CubeTextures, CapsClaimCubeMapsWithMipmapsAndTheirFilters) {
    D3DCAPS9 caps{};
    ASSERT_EQ(t.device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_TRUE(caps.TextureCaps & D3DPTEXTURECAPS_CUBEMAP);
    EXPECT_TRUE(caps.TextureCaps & D3DPTEXTURECAPS_MIPCUBEMAP);
    EXPECT_FALSE(caps.TextureCaps & D3DPTEXTURECAPS_CUBEMAP_POW2); // any edge: checked below
    // Cube faces filter as flat textures do, less what no test draws on them (the caps table
    // in D3d9CapsTest.cpp names each filter's test).
    EXPECT_EQ(caps.CubeTextureFilterCaps & ~caps.TextureFilterCaps, 0u);
    EXPECT_TRUE(caps.CubeTextureFilterCaps & D3DPTFILTERCAPS_MAGFLINEAR);
    // The largest edge the caps allow is made; one beyond is refused.
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(t.device->CreateCubeTexture(caps.MaxTextureWidth, 1, 0, D3DFMT_A8R8G8B8,
                                          D3DPOOL_MANAGED, &cube, nullptr),
              D3D_OK);
    cube->Release();
    EXPECT_EQ(t.device->CreateCubeTexture(caps.MaxTextureWidth + 1, 1, 0, D3DFMT_A8R8G8B8,
                                          D3DPOOL_MANAGED, &cube, nullptr),
              D3DERR_INVALIDCALL);
    ASSERT_EQ(
        t.device->CreateCubeTexture(6, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr),
        D3D_OK);
    EXPECT_EQ(cube->GetLevelCount(), 3u); // 6, 3, 1
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(cube->GetLevelDesc(1, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 3u);
    EXPECT_EQ(desc.Height, 3u);
    EXPECT_EQ(cube->GetType(), D3DRTYPE_CUBETEXTURE);
    cube->Release();
}

// proves: D3DPTEXTURECAPS_CUBEMAP
TEST_F(CubeTextures, FixedFunctionSamplesEachFaceWhereDirect3DPutsIt) {
    IDirect3DCubeTexture9* cube = namedCube();
    ASSERT_NE(cube, nullptr);
    t.device->SetTexture(0, cube);
    expectEveryQuadrantByDirection();
    t.device->SetTexture(0, nullptr);
    cube->Release();
}

TEST_F(CubeTextures, FaceSurfacesLockAndNameTheirCube) {
    IDirect3DCubeTexture9* cube = namedCube();
    ASSERT_NE(cube, nullptr);
    IDirect3DSurface9* face = nullptr;
    ASSERT_EQ(cube->GetCubeMapSurface(D3DCUBEMAP_FACE_NEGATIVE_Z, 0, &face), D3D_OK);
    void* container = nullptr;
    ASSERT_EQ(face->GetContainer(IID{}, &container), D3D_OK);
    EXPECT_EQ(container, static_cast<IUnknown*>(cube));
    cube->Release(); // the container's reference
    // Written through the surface, read through the texture.
    D3DLOCKED_RECT locked{};
    const RECT texel{3, 0, 4, 1};
    ASSERT_EQ(face->LockRect(&locked, &texel, 0), D3D_OK);
    *static_cast<uint32_t*>(locked.pBits) = 0xFF123456;
    ASSERT_EQ(face->UnlockRect(), D3D_OK);
    ASSERT_EQ(cube->LockRect(D3DCUBEMAP_FACE_NEGATIVE_Z, 0, &locked, nullptr, D3DLOCK_READONLY),
              D3D_OK);
    EXPECT_EQ(static_cast<const uint32_t*>(locked.pBits)[3], 0xFF123456u);
    EXPECT_EQ(cube->LockRect(D3DCUBEMAP_FACE_NEGATIVE_Z, 0, &locked, nullptr, 0),
              D3DERR_INVALIDCALL); // locked already
    cube->UnlockRect(D3DCUBEMAP_FACE_NEGATIVE_Z, 0);
    EXPECT_EQ(cube->GetCubeMapSurface(static_cast<D3DCUBEMAP_FACES>(6), 0, &face),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(cube->LockRect(D3DCUBEMAP_FACE_POSITIVE_X, 1, &locked, nullptr, 0),
              D3DERR_INVALIDCALL);
    face->Release();
    cube->Release();
}

// proves: D3DPTEXTURECAPS_MIPCUBEMAP
TEST_F(CubeTextures, MipLevelsOfEachFaceAreLockedApart) {
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(
        t.device->CreateCubeTexture(4, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr),
        D3D_OK);
    for (int face = 0; face < 6; ++face) {
        fillFace(cube, face, 0, 4, [](int, UINT, UINT, UINT) { return 0xFFFFFFFFu; });
        fillFace(cube, face, 1, 2, faceTexel);
    }
    expectEachFaceAtLevel(cube, 1);
    cube->Release();
}

TEST_F(CubeTextures, AutomaticMipmapsAreMadeForEveryFace) {
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(t.device->CreateCubeTexture(4, 0, D3DUSAGE_AUTOGENMIPMAP, D3DFMT_A8R8G8B8,
                                          D3DPOOL_MANAGED, &cube, nullptr),
              D3D_OK);
    EXPECT_EQ(cube->GetLevelCount(), 1u);
    for (int face = 0; face < 6; ++face) {
        fillFace(cube, face, 0, 4, faceTexel);
    }
    expectEachFaceAtLevel(cube, 2); // the 1 x 1 level made by GL
    cube->Release();
}

// proves: CubeTextureFilterCaps (D3DPTFILTERCAPS_MAGFLINEAR, MINFLINEAR)
TEST_F(CubeTextures, LinearFilteringBlendsTexelsOfAFace) {
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(
        t.device->CreateCubeTexture(2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr),
        D3D_OK);
    for (int face = 0; face < 6; ++face) {
        fillFace(cube, face, 0, 2,
                 [](int, UINT x, UINT, UINT) { return x ? 0xFFFFFFFFu : 0xFF000000u; });
    }
    t.device->SetTexture(0, cube);
    // u = 0.5 lies halfway between the two columns' centres.
    drawDirection(0, towards(D3DCUBEMAP_FACE_POSITIVE_Z, 0.5f, 0.25f));
    Rgba point = t.pixel(0, 0);
    EXPECT_TRUE(point.r == 0 || point.r == 255);
    t.device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    t.device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    drawDirection(0, towards(D3DCUBEMAP_FACE_POSITIVE_Z, 0.5f, 0.25f));
    EXPECT_NEAR(t.pixel(0, 0).r, 128, 2);
    t.device->SetTexture(0, nullptr);
    cube->Release();
}

// A face drawn into with row 0 at the top: its top-left corner is texel (0, 0) of the face,
// where Direct3D samples it from.
TEST_F(CubeTextures, DrawingIntoAFaceShowsWhereDirect3DSamplesIt) {
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(t.device->CreateCubeTexture(8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                          D3DPOOL_DEFAULT, &cube, nullptr),
              D3D_OK);
    IDirect3DSurface9* back = nullptr;
    t.device->GetRenderTarget(0, &back);
    for (int face = 0; face < 6; ++face) {
        IDirect3DSurface9* surface = nullptr;
        ASSERT_EQ(cube->GetCubeMapSurface(static_cast<D3DCUBEMAP_FACES>(face), 0, &surface),
                  D3D_OK);
        ASSERT_EQ(t.device->SetRenderTarget(0, surface), D3D_OK);
        t.device->Clear(0, nullptr, D3DCLEAR_TARGET, named(face, 3), 1.0f, 0);
        // The top-left quadrant drawn, the top-right filled, the bottom-left copied in.
        t.device->SetFVF(kScreenFvf);
        t.device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        ScreenVertex quad[6];
        screenQuad(quad, 0, 0, 4, 4, 0.5f, named(face, 0));
        ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)),
                  D3D_OK);
        const RECT topRight{4, 0, 8, 4};
        ASSERT_EQ(t.device->ColorFill(surface, &topRight, named(face, 1)), D3D_OK);
        IDirect3DSurface9* plain = nullptr;
        ASSERT_EQ(t.device->CreateOffscreenPlainSurface(1, 1, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                                        &plain, nullptr),
                  D3D_OK);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(plain->LockRect(&locked, nullptr, 0), D3D_OK);
        *static_cast<uint32_t*>(locked.pBits) = named(face, 2);
        plain->UnlockRect();
        const RECT bottomLeft{0, 4, 4, 8};
        ASSERT_EQ(t.device->StretchRect(plain, nullptr, surface, &bottomLeft, D3DTEXF_POINT),
                  D3D_OK);
        plain->Release();
        surface->Release();
    }
    t.device->SetRenderTarget(0, back);
    back->Release();
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    t.device->SetFVF(kDirectionFvf);
    t.device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    t.device->SetTexture(0, cube);
    expectEveryQuadrantByDirection();
    t.device->SetTexture(0, nullptr);
    cube->Release();
}

// An HLSL samplerCUBE read with texCUBE: the compiled program's sampler is a GL cube sampler,
// bound to the cube texture's unit.
TEST_F(CubeTextures, HlslProgramsSampleByDirection) {
    const char* source = "samplerCUBE environment : register(s2);\n"
                         "float4 main(float3 direction : TEXCOORD0) : COLOR0\n"
                         "{\n"
                         "    return texCUBE(environment, direction);\n"
                         "}\n";
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    ASSERT_EQ(D3DXCompileShader(source, static_cast<UINT>(std::strlen(source)), nullptr, nullptr,
                                "main", "ps_3_0", 0, &code, &errors, nullptr),
              D3D_OK)
        << (errors ? static_cast<const char*>(errors->GetBufferPointer()) : "");
    IDirect3DPixelShader9* shader = nullptr;
    ASSERT_EQ(
        t.device->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()), &shader),
        D3D_OK);
    code->Release();
    IDirect3DCubeTexture9* cube = namedCube();
    ASSERT_NE(cube, nullptr);
    t.device->SetTexture(2, cube);
    t.device->SetPixelShader(shader);
    expectEveryQuadrantByDirection();
    t.device->SetPixelShader(nullptr);
    t.device->SetTexture(2, nullptr);
    shader->Release();
    cube->Release();
}

// Default-pool cubes are filled the way the runtime allows: UpdateTexture from system memory.
TEST_F(CubeTextures, UpdateTextureFillsADefaultPoolCube) {
    IDirect3DCubeTexture9* staging = namedCube(D3DPOOL_SYSTEMMEM);
    ASSERT_NE(staging, nullptr);
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(
        t.device->CreateCubeTexture(4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &cube, nullptr),
        D3D_OK);
    ASSERT_EQ(t.device->UpdateTexture(staging, cube), D3D_OK);
    t.device->SetTexture(0, cube);
    expectEveryQuadrantByDirection();
    t.device->SetTexture(0, nullptr);
    cube->Release();
    staging->Release();
}
