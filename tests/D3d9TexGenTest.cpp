// Texture coordinates the fixed-function vertex program generates (D3DTSS_TCI_*): camera-space
// normals, positions and reflection vectors, each looked up in a cube whose six faces have six
// colours, so that a wrong space, sign or eye ray shows as the wrong face.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tarnelix::test;

namespace {

struct NormalVertex { // D3DFVF_XYZ | D3DFVF_NORMAL
    float x, y, z;
    float nx, ny, nz;
};
constexpr DWORD kNormalFvf = D3DFVF_XYZ | D3DFVF_NORMAL;

uint32_t faceColour(int face) {
    return 0xFF000000u | static_cast<uint32_t>(40 * (face + 1)) << 16 |
           static_cast<uint32_t>(255 - 40 * face);
}

D3DMATRIX identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

class TexGen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        d = t.device;
        t.startUnlitDrawing(kNormalFvf);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        ASSERT_EQ(d->CreateCubeTexture(2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr),
                  D3D_OK);
        for (int face = 0; face < 6; ++face) {
            D3DLOCKED_RECT locked{};
            auto f = static_cast<D3DCUBEMAP_FACES>(face);
            ASSERT_EQ(cube->LockRect(f, 0, &locked, nullptr, 0), D3D_OK);
            for (int y = 0; y < 2; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) +
                                                        y * locked.Pitch);
                row[0] = row[1] = faceColour(face);
            }
            cube->UnlockRect(f, 0);
        }
        d->SetTexture(0, cube);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    }
    void TearDown() override {
        if (cube) {
            d->SetTexture(0, nullptr);
            cube->Release();
        }
    }

    // The whole target at depth 0.5, every vertex with normal n.
    void drawScreen(float nx, float ny, float nz) {
        NormalVertex a{-1, 1, 0.5f, nx, ny, nz};
        NormalVertex b{1, 1, 0.5f, nx, ny, nz};
        NormalVertex c{-1, -1, 0.5f, nx, ny, nz};
        NormalVertex e{1, -1, 0.5f, nx, ny, nz};
        const NormalVertex quad[6] = {a, b, c, c, b, e};
        ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(NormalVertex)), D3D_OK);
    }

    uint32_t argb(int x, int y) {
        Rgba p = t.pixel(x, y);
        return static_cast<uint32_t>(p.a) << 24 | static_cast<uint32_t>(p.r) << 16 |
               static_cast<uint32_t>(p.g) << 8 | static_cast<uint32_t>(p.b);
    }

    TestDevice t{16, 16};
    IDirect3DDevice9* d = nullptr;
    IDirect3DCubeTexture9* cube = nullptr;
};

} // namespace

// proves: D3DVTXPCAPS_TEXGEN
TEST_F(TexGen, CameraSpaceNormalsGoThroughTheViewMatrix) {
    D3DCAPS9 caps{};
    d->GetDeviceCaps(&caps);
    EXPECT_TRUE(caps.VertexProcessingCaps & D3DVTXPCAPS_TEXGEN);
    d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACENORMAL);
    // The view turns a quarter about y (world +x to camera -z); the projection turns it back,
    // so positions stay where they are drawn while normals are seen in camera space.
    D3DMATRIX view{};
    view._12 = 0;
    view._13 = -1;
    view._22 = 1;
    view._31 = 1;
    view._44 = 1;
    D3DMATRIX back{};
    back._13 = 1;
    back._22 = 1;
    back._31 = -1;
    back._44 = 1;
    d->SetTransform(D3DTS_VIEW, &view);
    d->SetTransform(D3DTS_PROJECTION, &back);
    drawScreen(1.0f, 0.0f, 0.0f);
    EXPECT_EQ(argb(8, 8), faceColour(D3DCUBEMAP_FACE_NEGATIVE_Z));
    drawScreen(0.0f, 0.0f, 1.0f); // world +z: camera +x
    EXPECT_EQ(argb(8, 8), faceColour(D3DCUBEMAP_FACE_POSITIVE_X));
    drawScreen(0.0f, -1.0f, 0.0f);
    EXPECT_EQ(argb(8, 8), faceColour(D3DCUBEMAP_FACE_NEGATIVE_Y));
    D3DMATRIX one = identity();
    d->SetTransform(D3DTS_VIEW, &one);
    d->SetTransform(D3DTS_PROJECTION, &one);
    drawScreen(1.0f, 0.0f, 0.0f);
    EXPECT_EQ(argb(8, 8), faceColour(D3DCUBEMAP_FACE_POSITIVE_X));
}

TEST_F(TexGen, CameraSpacePositionsPointFromTheEye) {
    d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEPOSITION);
    drawScreen(0.0f, 0.0f, -1.0f);
    // Identity transforms: the pixel at clip (x, y) looks along (x, y, 0.5).
    EXPECT_EQ(argb(8, 8), faceColour(D3DCUBEMAP_FACE_POSITIVE_Z));
    EXPECT_EQ(argb(0, 8), faceColour(D3DCUBEMAP_FACE_NEGATIVE_X));
    EXPECT_EQ(argb(15, 8), faceColour(D3DCUBEMAP_FACE_POSITIVE_X));
    EXPECT_EQ(argb(8, 0), faceColour(D3DCUBEMAP_FACE_POSITIVE_Y)); // row 0 is the top
    EXPECT_EQ(argb(8, 15), faceColour(D3DCUBEMAP_FACE_NEGATIVE_Y));
}

// A mirror facing the eye. Without a local viewer every ray runs along +z and comes straight
// back (-z); with one, rays fan out from the eye and come back spread the same way.
TEST_F(TexGen, ReflectionVectorsFollowTheLocalViewerState) {
    d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
    d->SetRenderState(D3DRS_LOCALVIEWER, FALSE);
    drawScreen(0.0f, 0.0f, -1.0f);
    EXPECT_EQ(argb(8, 8), faceColour(D3DCUBEMAP_FACE_NEGATIVE_Z));
    EXPECT_EQ(argb(0, 8), faceColour(D3DCUBEMAP_FACE_NEGATIVE_Z));
    EXPECT_EQ(argb(8, 0), faceColour(D3DCUBEMAP_FACE_NEGATIVE_Z));
    d->SetRenderState(D3DRS_LOCALVIEWER, TRUE);
    drawScreen(0.0f, 0.0f, -1.0f);
    EXPECT_EQ(argb(8, 8), faceColour(D3DCUBEMAP_FACE_NEGATIVE_Z));
    EXPECT_EQ(argb(0, 8), faceColour(D3DCUBEMAP_FACE_NEGATIVE_X));
    EXPECT_EQ(argb(15, 8), faceColour(D3DCUBEMAP_FACE_POSITIVE_X));
    EXPECT_EQ(argb(8, 0), faceColour(D3DCUBEMAP_FACE_POSITIVE_Y));
    // A normal shorter than one reflects less, unless NORMALIZENORMALS makes it of unit length:
    // (0.3, 0, -0.5) turns the ray to (0.3, 0, 0.5) as it is, to (0.88, 0, -0.47) normalised.
    d->SetRenderState(D3DRS_LOCALVIEWER, FALSE);
    drawScreen(0.3f, 0.0f, -0.5f);
    EXPECT_EQ(argb(8, 8), faceColour(D3DCUBEMAP_FACE_POSITIVE_Z));
    d->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    drawScreen(0.3f, 0.0f, -0.5f);
    EXPECT_EQ(argb(8, 8), faceColour(D3DCUBEMAP_FACE_POSITIVE_X));
}

// Generated coordinates take the stage's own set: stage 1's reflection beside stage 0's
// ordinary coordinates in set 0.
TEST_F(TexGen, AStageGeneratesIntoItsOwnSet) {
    struct Vertex {
        float x, y, z, nx, ny, nz, u, v;
    };
    IDirect3DTexture9* white = t.texture(1, 1, {0xFFFFFFFF});
    d->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
    d->SetTexture(0, white);
    d->SetTexture(1, cube);
    d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACENORMAL | 0);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    Vertex a{-1, 1, 0.5f, 0, 1, 0, 0.5f, 0.5f};
    Vertex b{1, 1, 0.5f, 0, 1, 0, 0.5f, 0.5f};
    Vertex c{-1, -1, 0.5f, 0, 1, 0, 0.5f, 0.5f};
    Vertex e{1, -1, 0.5f, 0, 1, 0, 0.5f, 0.5f};
    const Vertex quad[6] = {a, b, c, c, b, e};
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(Vertex)), D3D_OK);
    EXPECT_EQ(argb(8, 8), faceColour(D3DCUBEMAP_FACE_POSITIVE_Y));
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
    d->SetTexture(1, nullptr);
    white->Release();
}
