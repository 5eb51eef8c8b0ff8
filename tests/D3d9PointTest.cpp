// Point lists: the size from D3DRS_POINTSIZE or the vertex, held between POINTSIZE_MIN and
// POINTSIZE_MAX, scaled with distance as Direct3D 9 scales it (viewport height x size /
// sqrt(A + B d + C d^2)), sprites spanning their texture, and the largest size the caps report.
// A point of size s at column x covers the pixel centres from x - s/2 up to x + s/2.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tarnelix::test;

namespace {

struct ScreenPoint { // D3DFVF_XYZRHW | D3DFVF_PSIZE | D3DFVF_DIFFUSE
    float x, y, z, rhw;
    float size;
    D3DCOLOR colour;
};

class Points : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        d = t.device;
        d->SetRenderState(D3DRS_LIGHTING, FALSE);
        d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    }

    // The lit columns of row 8, as [first, last].
    std::pair<int, int> litColumns() {
        std::vector<uint32_t> pixels = t.read();
        int first = -1;
        int last = -1;
        for (int x = 0; x < static_cast<int>(t.width); ++x) {
            if (pixels[8 * t.width + x] & 0x00FFFFFF) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return {first, last};
    }

    TestDevice t{16, 16};
    IDirect3DDevice9* d = nullptr;
};

struct SizeCase {
    const char* name;
    float state, vertex; // vertex 0: the format has no size
    float minimum, maximum;
    int first, last;
};

} // namespace

TEST_F(Points, SizesFromStateOrVertexHeldBetweenTheLimits) {
    const SizeCase cases[] = {
        {"state size 4", 4, 0, 1, 64, 6, 9},
        {"state size 1", 1, 0, 1, 64, 8, 8},
        // proves: D3DFVFCAPS_PSIZE
        {"vertex size 6 over state 2", 2, 6, 1, 64, 5, 10},
        {"held at the maximum", 10, 0, 1, 2, 7, 8},
        {"raised to the minimum", 1, 0, 4, 64, 6, 9},
    };
    for (const SizeCase& c : cases) {
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        d->SetRenderState(D3DRS_POINTSIZE, floatState(c.state));
        d->SetRenderState(D3DRS_POINTSIZE_MIN, floatState(c.minimum));
        d->SetRenderState(D3DRS_POINTSIZE_MAX, floatState(c.maximum));
        ScreenPoint point{8, 8, 0.5f, 1, c.vertex, 0xFFFFFFFF};
        if (c.vertex > 0) {
            d->SetFVF(D3DFVF_XYZRHW | D3DFVF_PSIZE | D3DFVF_DIFFUSE);
            ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof(point)), D3D_OK);
        } else {
            struct {
                float x, y, z, rhw;
                D3DCOLOR colour;
            } plain{8, 8, 0.5f, 1, 0xFFFFFFFF};
            d->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
            ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &plain, sizeof(plain)), D3D_OK);
        }
        EXPECT_EQ(litColumns(), std::make_pair(c.first, c.last)) << c.name;
    }
}

TEST_F(Points, ScaleWithDistanceAsDirect3DDoes) {
    // A perspective projection; the point is 4 in front of the camera.
    D3DMATRIX p{};
    p._11 = p._22 = 0.5f;
    p._33 = 100.0f / 99.0f;
    p._34 = 1.0f;
    p._43 = -100.0f / 99.0f;
    d->SetTransform(D3DTS_PROJECTION, &p);
    d->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    struct {
        float x, y, z;
        D3DCOLOR colour;
    } point{0, 0, 4, 0xFFFFFFFF};
    d->SetRenderState(D3DRS_POINTSCALEENABLE, TRUE);
    struct {
        float size, a, b, c;
        int first, last;
    } cases[] = {
        // 16 x 1 x sqrt(1 / 16) = 4 pixels
        {1.0f, 0.0f, 0.0f, 1.0f, 6, 9},
        // 16 x 0.5 x sqrt(1 / (0 + 1 x 4 + 0)) = 4 pixels
        {0.5f, 0.0f, 1.0f, 0.0f, 6, 9},
        // 16 x 0.125 x sqrt(1 / 1) = 2 pixels
        {0.125f, 1.0f, 0.0f, 0.0f, 7, 8},
    };
    for (const auto& c : cases) {
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        d->SetRenderState(D3DRS_POINTSIZE, floatState(c.size));
        d->SetRenderState(D3DRS_POINTSCALE_A, floatState(c.a));
        d->SetRenderState(D3DRS_POINTSCALE_B, floatState(c.b));
        d->SetRenderState(D3DRS_POINTSCALE_C, floatState(c.c));
        ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof(point)), D3D_OK);
        EXPECT_EQ(litColumns(), std::make_pair(c.first, c.last)) << c.size << " " << c.a;
    }
}

TEST_F(Points, SpritesSpanTheirTextureFromTheTopLeft) {
    IDirect3DTexture9* texture =
        t.texture(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}); // red green / blue white
    d->SetTexture(0, texture);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    d->SetRenderState(D3DRS_POINTSPRITEENABLE, TRUE);
    d->SetRenderState(D3DRS_POINTSIZE, floatState(4.0f));
    d->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    struct {
        float x, y, z, rhw;
        D3DCOLOR colour;
        float u, v;
    } point{8, 8, 0.5f, 1, 0xFFFFFFFF, 0.9f, 0.9f};
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof(point)), D3D_OK);
    EXPECT_EQ(t.pixel(6, 6).r, 255);
    EXPECT_EQ(t.pixel(6, 6).g, 0);
    EXPECT_EQ(t.pixel(9, 6).g, 255);
    EXPECT_EQ(t.pixel(9, 6).r, 0);
    EXPECT_EQ(t.pixel(6, 9).b, 255);
    EXPECT_EQ(t.pixel(6, 9).r, 0);
    EXPECT_EQ(t.pixel(9, 9).r + t.pixel(9, 9).g + t.pixel(9, 9).b, 3 * 255);
    texture->Release();
}

TEST(PointsLargest, TheCapsLargestSizeIsDrawn) {
    TestDevice t(80, 80);
    ASSERT_TRUE(t.ok());
    D3DCAPS9 caps{};
    ASSERT_EQ(t.device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_GE(caps.MaxPointSize, 64.0f);
    EXPECT_TRUE(caps.FVFCaps & D3DFVFCAPS_PSIZE);
    // proves: MaxPointSize
    t.device->SetRenderState(D3DRS_LIGHTING, FALSE);
    t.device->SetRenderState(D3DRS_POINTSIZE, floatState(caps.MaxPointSize));
    t.device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    struct {
        float x, y, z, rhw;
        D3DCOLOR colour;
    } point{40, 40, 0.5f, 1, 0xFFFFFFFF};
    ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof(point)), D3D_OK);
    int half = static_cast<int>(caps.MaxPointSize) / 2;
    EXPECT_EQ(t.pixel(40 - half, 40).r, 255);
    EXPECT_EQ(t.pixel(40 + half - 1, 40).r, 255);
    EXPECT_EQ(t.pixel(40 - half - 1, 40).r, 0);
    EXPECT_EQ(t.pixel(40 + half, 40).r, 0);
}
