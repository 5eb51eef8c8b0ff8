// Direct3D 9 rasterisation: pixel centres at integer coordinates, row order, depth range,
// winding, for pre-transformed vertices and transformed ones alike.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tarnelix::test;

namespace {

// An 8 x 8 target cleared to black, drawing the diffuse colour as it comes.
class D3d9Raster : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        t.device->SetRenderState(D3DRS_LIGHTING, FALSE);
        t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        t.device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        t.device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
        t.device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    }

    // Rows 1 to 4, each as its lit (red above 128) and dark columns.
    std::vector<std::string> rows() {
        const std::vector<uint32_t> pixels = t.read();
        std::vector<std::string> out;
        for (UINT y = 1; y <= 4; ++y) {
            std::string row;
            for (UINT x = 0; x < t.width; ++x) {
                row += ((pixels[y * t.width + x] >> 16) & 0xFF) > 128 ? '#' : '.';
            }
            out.push_back(row);
        }
        return out;
    }

    TestDevice t{8, 8};
};

const std::vector<std::string> kLitBlock = {"........", "...####.", "...####.", "........"};

} // namespace

TEST_F(D3d9Raster, PretransformedPixelCentresAreAtIntegerCoordinates) {
    ScreenVertex quad[6];
    // Centres 3, 4, 5, 6 lie in [2.25, 6.25): a half-pixel-shifted rasteriser would light 2..5.
    screenQuad(quad, 2.25f, 1.25f, 6.25f, 3.25f, 0.5f, 0xFFFF0000);
    t.device->SetFVF(kScreenFvf);
    ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)), D3D_OK);
    EXPECT_EQ(rows(), kLitBlock);
}

TEST_F(D3d9Raster, TransformedVerticesUseTheSamePixelCentresAndRowOrder) {
    ClipVertex quad[6];
    // Clip x -0.4375..0.5625 is screen x 2.25..6.25; clip y 0.6875..0.1875 is rows 1.25..3.25,
    // counted from the top.
    clipQuad(quad, -0.4375f, 0.1875f, 0.5625f, 0.6875f, 0.5f, 0xFFFF0000);
    t.device->SetFVF(kClipFvf);
    ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ClipVertex)), D3D_OK);
    EXPECT_EQ(rows(), kLitBlock);
}

// Edges through pixel centres: Direct3D's top-left rule lights a centre on a left or top edge
// and leaves one on a right or bottom edge. GL leaves its own tie-break to the driver (Mesa's
// llvmpipe and softpipe break ties on left edges differently), so it must never be asked.
TEST_F(D3d9Raster, EdgesThroughPixelCentresFollowTheTopLeftRule) {
    // Columns 3 to 7 and rows 2 to 4 on their centres: columns 3..6 and rows 2..3 lit.
    ScreenVertex screen[6];
    screenQuad(screen, 3.0f, 2.0f, 7.0f, 4.0f, 0.5f, 0xFFFF0000);
    t.device->SetFVF(kScreenFvf);
    ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, screen, sizeof(ScreenVertex)),
              D3D_OK);
    EXPECT_EQ(rows(), kLitBlock) << "pre-transformed";
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    // The same edges from clip space: x -0.25..0.75 is 3..7, y 0.5..0 is rows 2..4.
    ClipVertex clip[6];
    clipQuad(clip, -0.25f, 0.0f, 0.75f, 0.5f, 0.5f, 0xFFFF0000);
    t.device->SetFVF(kClipFvf);
    ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, clip, sizeof(ClipVertex)), D3D_OK);
    EXPECT_EQ(rows(), kLitBlock) << "transformed";
}

TEST_F(D3d9Raster, ClipDepthRunsFromZeroToOne) {
    t.device->SetFVF(kClipFvf);
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

TEST_F(D3d9Raster, CullModesFollowDirect3DWinding) {
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

TEST_F(D3d9Raster, ScissorRectKeepsDrawsInsideItsRowsAndColumns) {
    // Columns 3..6 and rows 2..3, counted from the top; right and bottom are exclusive.
    const RECT rect = {3, 2, 7, 4};
    ASSERT_EQ(t.device->SetScissorRect(&rect), D3D_OK);
    RECT back = {};
    t.device->GetScissorRect(&back);
    EXPECT_EQ(back.left, 3);
    EXPECT_EQ(back.bottom, 4);
    ScreenVertex quad[6];
    screenQuad(quad, -0.5f, -0.5f, 7.5f, 7.5f, 0.5f, 0xFFFF0000);
    t.device->SetFVF(kScreenFvf);
    // Off, the rectangle changes nothing; on, it clips the whole-target quad to itself.
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    EXPECT_EQ(rows(), std::vector<std::string>(4, "########"));
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    t.device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    t.device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    EXPECT_EQ(rows(), kLitBlock);
}

// Each operation on the pass, fail and depth-fail paths, read back by drawing where the stencil
// then equals the expected value; then two-sided stencil, one operation per winding.
TEST_F(D3d9Raster, EveryStencilOperationAndTwoSidedStencil) {
    t.device->SetFVF(kScreenFvf);
    enum Path { kPass, kFail, kDepthFail };
    const struct {
        DWORD op;
        Path path;
        DWORD start;
        DWORD expected;
    } cases[] = {
        {D3DSTENCILOP_KEEP, kPass, 1, 1},        {D3DSTENCILOP_ZERO, kPass, 1, 0},
        {D3DSTENCILOP_REPLACE, kPass, 1, 7},     {D3DSTENCILOP_INCRSAT, kPass, 1, 2},
        {D3DSTENCILOP_INCRSAT, kPass, 255, 255}, {D3DSTENCILOP_DECRSAT, kPass, 1, 0},
        {D3DSTENCILOP_DECRSAT, kPass, 0, 0},     {D3DSTENCILOP_INVERT, kPass, 1, 254},
        {D3DSTENCILOP_INCR, kPass, 255, 0},      {D3DSTENCILOP_DECR, kPass, 0, 255},
        {D3DSTENCILOP_REPLACE, kFail, 1, 7},     {D3DSTENCILOP_INCR, kDepthFail, 1, 2},
    };
    ScreenVertex quad[6];
    auto holds = [&](DWORD value, int x, int y) {
        t.device->SetRenderState(D3DRS_TWOSIDEDSTENCILMODE, FALSE);
        t.device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
        t.device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
        t.device->SetRenderState(D3DRS_STENCILREF, value);
        t.device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
        t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        screenQuad(quad, 0, 0, 8, 8, 0.5f, 0xFFFF0000);
        t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
        return t.pixel(x, y).r == 255;
    };
    t.device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    for (const auto& c : cases) {
        t.device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, c.start);
        t.device->SetRenderState(D3DRS_STENCILREF, 7);
        t.device->SetRenderState(D3DRS_STENCILFUNC, c.path == kFail ? D3DCMP_NEVER : D3DCMP_ALWAYS);
        t.device->SetRenderState(D3DRS_ZFUNC, c.path == kDepthFail ? D3DCMP_NEVER : D3DCMP_ALWAYS);
        t.device->SetRenderState(D3DRS_STENCILPASS,
                                 c.path == kPass ? c.op : DWORD{D3DSTENCILOP_KEEP});
        t.device->SetRenderState(D3DRS_STENCILFAIL,
                                 c.path == kFail ? c.op : DWORD{D3DSTENCILOP_KEEP});
        t.device->SetRenderState(D3DRS_STENCILZFAIL,
                                 c.path == kDepthFail ? c.op : DWORD{D3DSTENCILOP_KEEP});
        screenQuad(quad, 0, 0, 8, 8, 0.5f, 0xFF000000);
        t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
        t.device->SetRenderState(D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP);
        t.device->SetRenderState(D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP);
        EXPECT_TRUE(holds(c.expected, 4, 4))
            << "operation " << c.op << " path " << c.path << " from " << c.start;
    }
    // The upper-left triangle is clockwise on screen, the lower-right one counter-clockwise.
    t.device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 1);
    t.device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
    t.device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_ZERO);
    t.device->SetRenderState(D3DRS_TWOSIDEDSTENCILMODE, TRUE);
    t.device->SetRenderState(D3DRS_CCW_STENCILFUNC, D3DCMP_ALWAYS);
    t.device->SetRenderState(D3DRS_CCW_STENCILPASS, D3DSTENCILOP_REPLACE);
    t.device->SetRenderState(D3DRS_STENCILREF, 7);
    ScreenVertex halves[6] = {{0, 0, 0.5f, 1, 0, 0, 0}, {8, 0, 0.5f, 1, 0, 0, 0},
                              {0, 8, 0.5f, 1, 0, 0, 0}, {8, 0, 0.5f, 1, 0, 0, 0},
                              {0, 8, 0.5f, 1, 0, 0, 0}, {8, 8, 0.5f, 1, 0, 0, 0}};
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, halves, sizeof(ScreenVertex));
    EXPECT_TRUE(holds(0, 1, 1));
    EXPECT_TRUE(holds(7, 6, 6));
}

// Pre-transformed vertices out at the caps' guard band, and transformed ones with w at the
// caps' MaxVertexW, draw what Direct3D draws.
TEST_F(D3d9Raster, VerticesAtTheGuardBandAndTheLargestWAreDrawn) {
    D3DCAPS9 caps{};
    t.device->GetDeviceCaps(&caps);
    const float left = caps.GuardBandLeft;
    const float right = caps.GuardBandRight;
    const float top = caps.GuardBandTop;
    const float bottom = caps.GuardBandBottom;
    ScreenVertex quad[4] = {{left, top, 0.5f, 1, 0xFF000000, 0, 0},
                            {right, top, 0.5f, 1, 0xFFFF0000, 0, 0},
                            {left, bottom, 0.5f, 1, 0xFF000000, 0, 0},
                            {right, bottom, 0.5f, 1, 0xFFFF0000, 0, 0}};
    t.device->SetFVF(kScreenFvf);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex));
    for (int x : {0, 4, 7}) {
        int expected = static_cast<int>((static_cast<float>(x) - left) / (right - left) * 255.0f);
        EXPECT_NEAR(t.pixel(x, 4).r, expected, 2) << x;
        EXPECT_NEAR(t.pixel(x, 0).r, expected, 2) << x;
    }
    // Every clip-space coordinate scaled by the largest w: the same square after the divide.
    const float w = caps.MaxVertexW;
    D3DMATRIX projection{};
    projection._11 = projection._22 = projection._33 = projection._44 = w;
    t.device->SetTransform(D3DTS_PROJECTION, &projection);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    ClipVertex square[6];
    clipQuad(square, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 0xFF00FF00);
    t.device->SetFVF(kClipFvf);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, square, sizeof(ClipVertex));
    EXPECT_EQ(t.pixel(2, 2).g, 255);
    EXPECT_EQ(t.pixel(5, 5).g, 255);
    EXPECT_EQ(t.pixel(1, 1).g, 0);
    EXPECT_EQ(t.pixel(6, 6).g, 0);
}

// A line along row 4, textured, behind and in front of a depth, blended and alpha-tested.
TEST_F(D3d9Raster, LinesAreTexturedDepthTestedBlendedAndAlphaTested) {
    t.device->SetFVF(kScreenFvf);
    auto line = [&](float z, D3DCOLOR colour) {
        ScreenVertex ends[2] = {{0, 4, z, 1, colour, 0, 0}, {8, 4, z, 1, colour, 0.5f, 0}};
        EXPECT_EQ(t.device->DrawPrimitiveUP(D3DPT_LINELIST, 1, ends, sizeof(ScreenVertex)), D3D_OK);
        return t.pixel(4, 4);
    };
    IDirect3DTexture9* texture = t.texture(2, 1, {0xFF00FF00, 0xFFFF0000});
    t.device->SetTexture(0, texture);
    t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    EXPECT_EQ(line(0.5f, 0xFFFFFFFF).g, 255);
    EXPECT_EQ(t.pixel(4, 1).g, 0);
    t.device->SetTexture(0, nullptr);
    texture->Release();
    t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);

    ScreenVertex wall[6];
    screenQuad(wall, 0, 0, 8, 8, 0.25f, 0xFF0000FF);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, wall, sizeof(ScreenVertex));
    EXPECT_EQ(line(0.5f, 0xFFFF0000).r, 0);
    EXPECT_EQ(line(0.125f, 0xFFFF0000).r, 255);

    t.device->SetRenderState(D3DRS_ZENABLE, FALSE);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    t.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    t.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    Rgba blended = line(0.5f, D3DCOLOR_ARGB(128, 255, 0, 0));
    EXPECT_NEAR(blended.r, 128, 1);
    EXPECT_NEAR(blended.b, 127, 1);
    t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);

    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    t.device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    t.device->SetRenderState(D3DRS_ALPHAREF, 0x80);
    t.device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    EXPECT_EQ(line(0.5f, D3DCOLOR_ARGB(0x80, 255, 0, 0)).r, 0);
    EXPECT_EQ(line(0.5f, D3DCOLOR_ARGB(0x81, 255, 0, 0)).r, 255);
}
