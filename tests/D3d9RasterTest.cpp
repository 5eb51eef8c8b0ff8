// Direct3D 9 rasterisation: pixel centres at integer coordinates, row order, depth range,
// winding, for pre-transformed vertices and transformed ones alike.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

using namespace tarnelix::test;

namespace {

void prepareFlat(IDirect3DDevice9* device) {
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}

// Columns of row y that are lit (red above 128).
std::string row(TestDevice& t, int y) {
    std::vector<uint32_t> pixels = t.read();
    std::string out;
    for (UINT x = 0; x < t.width; ++x) {
        out += ((pixels[y * t.width + x] >> 16) & 0xFF) > 128 ? '#' : '.';
    }
    return out;
}

} // namespace

TEST(D3d9Raster, PretransformedPixelCentresAreAtIntegerCoordinates) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    prepareFlat(t.device);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    ScreenVertex quad[6];
    // Centres 3, 4, 5, 6 lie in [2.25, 6.25): a half-pixel-shifted rasteriser would light 2..5.
    screenQuad(quad, 2.25f, 1.25f, 6.25f, 3.25f, 0.5f, 0xFFFF0000);
    t.device->SetFVF(kScreenFvf);
    ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)), D3D_OK);
    EXPECT_EQ(row(t, 1), "........");
    EXPECT_EQ(row(t, 2), "...####.");
    EXPECT_EQ(row(t, 3), "...####.");
    EXPECT_EQ(row(t, 4), "........");
}

TEST(D3d9Raster, TransformedVerticesUseTheSamePixelCentresAndRowOrder) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    prepareFlat(t.device);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    ClipVertex quad[6];
    // Clip x -0.4375..0.5625 is screen x 2.25..6.25; clip y 0.6875..0.1875 is rows 1.25..3.25,
    // counted from the top.
    clipQuad(quad, -0.4375f, 0.1875f, 0.5625f, 0.6875f, 0.5f, 0xFFFF0000);
    t.device->SetFVF(kClipFvf);
    ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ClipVertex)), D3D_OK);
    EXPECT_EQ(row(t, 1), "........");
    EXPECT_EQ(row(t, 2), "...####.");
    EXPECT_EQ(row(t, 3), "...####.");
    EXPECT_EQ(row(t, 4), "........");
}

TEST(D3d9Raster, ClipDepthRunsFromZeroToOne) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    prepareFlat(t.device);
    t.device->SetFVF(kClipFvf);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    ClipVertex quad[6];
    // Behind the near plane (z < 0): clipped away entirely.
    clipQuad(quad, -1, -1, 1, 1, -0.01f, 0xFFFF0000);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ClipVertex));
    EXPECT_EQ(t.pixel(4, 4).r, 0);
    // Depth 0.25 is stored as 0.25: a second quad at exactly 0.25 passes EQUAL, 0.3 does not.
    clipQuad(quad, -1, -1, 1, 1, 0.25f, 0xFF400000);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ClipVertex));
    t.device->SetRenderState(D3DRS_ZFUNC, D3DCMP_EQUAL);
    clipQuad(quad, -1, -1, 0, 1, 0.3f, 0xFF00FF00);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ClipVertex));
    clipQuad(quad, 0, -1, 1, 1, 0.25f, 0xFF0000FF);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ClipVertex));
    EXPECT_EQ(t.pixel(1, 4).r, 0x40);
    EXPECT_EQ(t.pixel(1, 4).g, 0);
    EXPECT_EQ(t.pixel(6, 4).b, 255);
    // The same with pre-transformed vertices, whose z is the stored depth.
    ScreenVertex screen[6];
    screenQuad(screen, 0, 0, 8, 4, 0.25f, 0xFFFFFFFF);
    t.device->SetFVF(kScreenFvf);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, screen, sizeof(ScreenVertex));
    EXPECT_EQ(t.pixel(1, 1).g, 255);
}

TEST(D3d9Raster, CullModesFollowDirect3DWinding) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    prepareFlat(t.device);
    t.device->SetFVF(kScreenFvf);
    // Clockwise on screen (y down).
    ScreenVertex clockwise[3] = {{0, 0, 0.5f, 1, 0xFFFF0000, 0, 0},
                                 {8, 0, 0.5f, 1, 0xFFFF0000, 0, 0},
                                 {0, 8, 0.5f, 1, 0xFFFF0000, 0, 0}};
    ScreenVertex counter[3] = {clockwise[0], clockwise[2], clockwise[1]};
    struct Case {
        DWORD cull;
        ScreenVertex* triangle;
        bool drawn;
    } cases[] = {
        {D3DCULL_CCW, clockwise, true}, {D3DCULL_CCW, counter, false},
        {D3DCULL_CW, clockwise, false}, {D3DCULL_CW, counter, true},
        {D3DCULL_NONE, counter, true},
    };
    for (const Case& c : cases) {
        t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        t.device->SetRenderState(D3DRS_CULLMODE, c.cull);
        t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, c.triangle, sizeof(ScreenVertex));
        EXPECT_EQ(t.pixel(1, 1).r == 255, c.drawn) << "cull mode " << c.cull;
    }
}
