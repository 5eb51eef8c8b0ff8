// The fixed-function pixel pipeline: stage operations and arguments, modifiers, several
// stages, stages without textures, colour saturation, blending and alpha test.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

using namespace tarnelix::test;

namespace {

class FixedFunction : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        t.startScreenDrawing();
    }

    void stage(DWORD s, DWORD op, DWORD arg1, DWORD arg2, DWORD alphaOp = D3DTOP_DISABLE,
               DWORD alphaArg1 = D3DTA_TEXTURE, DWORD alphaArg2 = D3DTA_CURRENT) {
        t.device->SetTextureStageState(s, D3DTSS_COLOROP, op);
        t.device->SetTextureStageState(s, D3DTSS_COLORARG1, arg1);
        t.device->SetTextureStageState(s, D3DTSS_COLORARG2, arg2);
        t.device->SetTextureStageState(s, D3DTSS_ALPHAOP, alphaOp);
        t.device->SetTextureStageState(s, D3DTSS_ALPHAARG1, alphaArg1);
        t.device->SetTextureStageState(s, D3DTSS_ALPHAARG2, alphaArg2);
    }

    void draw(D3DCOLOR diffuse, float x0 = 0, float x1 = 8) {
        ScreenVertex quad[6];
        screenQuad(quad, x0, 0, x1, 8, 0.5f, diffuse);
        ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)),
                  D3D_OK);
    }

    TestDevice t{8, 8};
};

void expectColour(const Rgba& p, int r, int g, int b, int tolerance = 1) {
    EXPECT_NEAR(p.r, r, tolerance);
    EXPECT_NEAR(p.g, g, tolerance);
    EXPECT_NEAR(p.b, b, tolerance);
}

} // namespace

TEST_F(FixedFunction, SelectArgumentsAndAStageWithoutTextureReadsWhite) {
    stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    draw(0xFF102030);
    expectColour(t.pixel(4, 4), 255, 255, 255);
    stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    draw(0xFF102030);
    expectColour(t.pixel(4, 4), 0x10, 0x20, 0x30);
    // TFACTOR defaults to opaque white; the complement of the diffuse colour.
    stage(0, D3DTOP_MODULATE, D3DTA_TFACTOR, D3DTA_DIFFUSE | D3DTA_COMPLEMENT);
    draw(0xFF102030);
    expectColour(t.pixel(4, 4), 255 - 0x10, 255 - 0x20, 255 - 0x30);
}

TEST_F(FixedFunction, DotProduct3GoesToEveryChannel) {
    // (1, 0.5, 0.5) . (1, 0.5, 0.5) around 0.5: 4 * 0.25 = 1 -> white; alpha too.
    IDirect3DTexture9* texture = t.texture(1, 1, {0x00FF8080});
    t.device->SetTexture(0, texture);
    t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    t.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    t.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    stage(0, D3DTOP_DOTPRODUCT3, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    draw(0x00FF8080);
    expectColour(t.pixel(4, 4), 255, 255, 255, 2);
    // Perpendicular vectors give black.
    t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    draw(0x0080FF80);
    expectColour(t.pixel(4, 4), 0, 0, 0, 2);
    texture->Release();
}

TEST_F(FixedFunction, LerpWithAlphaReplicatedTextureAsBlendFactor) {
    // As the ambient pass: texture alpha x TFACTOR + (1 - texture alpha) x diffuse.
    IDirect3DTexture9* texture = t.texture(2, 1, {0x00000000, 0x40000000});
    t.device->SetTexture(0, texture);
    t.device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFF);
    stage(0, D3DTOP_LERP, D3DTA_TFACTOR, D3DTA_DIFFUSE);
    t.device->SetTextureStageState(0, D3DTSS_COLORARG0, D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE);
    ScreenVertex quad[6];
    screenQuad(quad, 0, 0, 8, 8, 0.5f, 0xFF000080, 0, 0, 1, 1);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    expectColour(t.pixel(1, 4), 0, 0, 128);
    // alpha 0x40: 0.25 white + 0.75 (0, 0, 0.5)
    expectColour(t.pixel(6, 4), 64, 64, 64 + 96, 2);
    texture->Release();
}

TEST_F(FixedFunction, ThreeStagesAsTheLightPass) {
    // Stage 0: DOT3 of a texture and diffuse, stage 1: x its texture, stage 2: x specular.
    IDirect3DTexture9* normal = t.texture(1, 1, {0xFFFF8080});
    IDirect3DTexture9* grey = t.texture(1, 1, {0xFF808080});
    t.device->SetTexture(0, normal);
    t.device->SetTexture(1, grey);
    stage(0, D3DTOP_DOTPRODUCT3, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    stage(1, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT);
    stage(2, D3DTOP_MODULATE, D3DTA_CURRENT, D3DTA_SPECULAR);
    t.device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 0);
    t.device->SetTextureStageState(2, D3DTSS_TEXCOORDINDEX, 0);
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR diffuse, specular;
        float u, v;
    } quad[4] = {{0, 0, 0.5f, 1, 0xFFFF8080, 0xFF4080FF, 0, 0},
                 {8, 0, 0.5f, 1, 0xFFFF8080, 0xFF4080FF, 1, 0},
                 {0, 8, 0.5f, 1, 0xFFFF8080, 0xFF4080FF, 0, 1},
                 {8, 8, 0.5f, 1, 0xFFFF8080, 0xFF4080FF, 1, 1}};
    t.device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    // 1 x 0.5 x specular
    expectColour(t.pixel(4, 4), 32, 64, 128, 2);
    normal->Release();
    grey->Release();
}

TEST_F(FixedFunction, VertexColoursAreSaturated) {
    D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
                                    {0, 16, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_COLOR, 0},
                                    D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(t.device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
    t.device->SetVertexDeclaration(declaration);
    stage(0, D3DTOP_MODULATE4X, D3DTA_DIFFUSE, D3DTA_TFACTOR);
    struct Vertex {
        float x, y, z, rhw, r, g, b, a;
    } quad[4] = {{0, 0, 0.5f, 1, 2.0f, 0.125f, -1.0f, 1},
                 {8, 0, 0.5f, 1, 2.0f, 0.125f, -1.0f, 1},
                 {0, 8, 0.5f, 1, 2.0f, 0.125f, -1.0f, 1},
                 {8, 8, 0.5f, 1, 2.0f, 0.125f, -1.0f, 1}};
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    // Saturated first (1, 0.125, 0), then x4 and saturated again.
    expectColour(t.pixel(4, 4), 255, 128, 0);
    declaration->Release();
}

TEST_F(FixedFunction, BlendingFactors) {
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(255, 100, 200, 40), 1.0f, 0);
    stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
          D3DTA_DIFFUSE);
    t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    t.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    t.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    draw(D3DCOLOR_ARGB(64, 255, 0, 0), 0, 2);
    t.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    t.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    draw(D3DCOLOR_ARGB(255, 100, 100, 100), 2, 4);
    t.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTCOLOR);
    t.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    draw(D3DCOLOR_ARGB(255, 128, 255, 0), 4, 6);
    t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    draw(D3DCOLOR_ARGB(10, 1, 2, 3), 6, 8);
    expectColour(t.pixel(1, 1), 100 + (255 - 100) * 64 / 255, 200 * 191 / 255, 40 * 191 / 255);
    expectColour(t.pixel(3, 1), 200, 255, 140);
    expectColour(t.pixel(5, 1), 50, 200, 0);
    expectColour(t.pixel(7, 1), 1, 2, 3);
}

TEST_F(FixedFunction, AlphaTestComparesWithAlphaRef) {
    IDirect3DTexture9* texture = t.texture(2, 1, {0x80FF0000, 0x81FF0000});
    t.device->SetTexture(0, texture);
    stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1);
    t.device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    t.device->SetRenderState(D3DRS_ALPHAREF, 128);
    t.device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    draw(0xFFFFFFFF);
    EXPECT_EQ(t.pixel(1, 1).r, 0);
    EXPECT_EQ(t.pixel(6, 1).r, 255);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    t.device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_EQUAL);
    draw(0xFFFFFFFF);
    EXPECT_EQ(t.pixel(1, 1).r, 255);
    EXPECT_EQ(t.pixel(6, 1).r, 0);
    // Off again: the same stages draw every texel.
    t.device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    draw(0xFFFFFFFF);
    EXPECT_EQ(t.pixel(6, 1).r, 255);
    texture->Release();
}

TEST_F(FixedFunction, GeneratedProgramsAreReusedForTheSameState) {
    stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    draw(0xFFFFFFFF);
    // Switching back and forth between cached programs keeps drawing the same picture.
    std::vector<uint32_t> before = t.read();
    for (int i = 0; i < 3; ++i) {
        stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        draw(0xFF00FF00);
        stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        draw(0xFFFFFFFF);
    }
    EXPECT_EQ(t.read(), before);
}

TEST(FixedFunctionX8, DestinationAlphaOfAnX8TargetReadsAsOpaque) {
    TestDevice t(8, 8, D3DFMT_X8R8G8B8);
    ASSERT_TRUE(t.ok());
    t.device->SetRenderState(D3DRS_LIGHTING, FALSE);
    t.device->SetFVF(kScreenFvf);
    t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    t.device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(0, 0, 0, 0), 1.0f, 0);
    t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    t.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
    t.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    ScreenVertex quad[6];
    // Source alpha 0 is written nowhere: the X channel stays opaque for the second draw too.
    screenQuad(quad, 0, 0, 8, 8, 0.5f, D3DCOLOR_ARGB(0, 200, 100, 50));
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    Rgba p = t.pixel(4, 4);
    EXPECT_EQ(p.r, 200);
    EXPECT_EQ(p.g, 100);
    EXPECT_EQ(p.b, 50);
}
