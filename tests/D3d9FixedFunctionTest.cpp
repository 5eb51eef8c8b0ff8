// The fixed-function pixel pipeline: stage operations and arguments, modifiers, several
// stages, stages without textures, colour saturation, blending and alpha test.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

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

namespace {

struct Colour {
    float r, g, b, a;
};

Colour unpack(D3DCOLOR c) {
    return {((c >> 16) & 0xFF) / 255.0f, ((c >> 8) & 0xFF) / 255.0f, (c & 0xFF) / 255.0f,
            (c >> 24) / 255.0f};
}

Colour operator+(Colour x, Colour y) {
    return {x.r + y.r, x.g + y.g, x.b + y.b, x.a + y.a};
}
Colour operator-(Colour x, Colour y) {
    return {x.r - y.r, x.g - y.g, x.b - y.b, x.a - y.a};
}
Colour operator*(Colour x, Colour y) {
    return {x.r * y.r, x.g * y.g, x.b * y.b, x.a * y.a};
}
Colour operator*(Colour x, float s) {
    return {x.r * s, x.g * s, x.b * s, x.a * s};
}
Colour all(float v) {
    return {v, v, v, v};
}

void expectNear(const Rgba& p, Colour c, const char* what, int tolerance = 2) {
    auto byte = [](float v) {
        return static_cast<int>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
    };
    EXPECT_NEAR(p.r, byte(c.r), tolerance) << what;
    EXPECT_NEAR(p.g, byte(c.g), tolerance) << what;
    EXPECT_NEAR(p.b, byte(c.b), tolerance) << what;
}

// Which of a value below, equal to and above the reference each function lets through.
struct CompareCase {
    DWORD func;
    bool passes[3];
};
constexpr CompareCase kCompares[] = {
    {D3DCMP_NEVER, {false, false, false}},      {D3DCMP_LESS, {true, false, false}},
    {D3DCMP_EQUAL, {false, true, false}},       {D3DCMP_LESSEQUAL, {true, true, false}},
    {D3DCMP_GREATER, {false, false, true}},     {D3DCMP_NOTEQUAL, {true, false, true}},
    {D3DCMP_GREATEREQUAL, {false, true, true}}, {D3DCMP_ALWAYS, {true, true, true}}};

constexpr D3DCOLOR kSource = D3DCOLOR_ARGB(64, 204, 102, 51);
constexpr D3DCOLOR kDest = D3DCOLOR_ARGB(128, 51, 153, 255);
constexpr D3DCOLOR kFactor = D3DCOLOR_ARGB(128, 64, 32, 16);

Colour blendFactor(DWORD blend, Colour s, Colour d, Colour f) {
    switch (blend) {
    case D3DBLEND_ZERO:
        return all(0);
    case D3DBLEND_ONE:
        return all(1);
    case D3DBLEND_SRCCOLOR:
        return s;
    case D3DBLEND_INVSRCCOLOR:
        return all(1) - s;
    case D3DBLEND_SRCALPHA:
        return all(s.a);
    case D3DBLEND_INVSRCALPHA:
        return all(1 - s.a);
    case D3DBLEND_DESTALPHA:
        return all(d.a);
    case D3DBLEND_INVDESTALPHA:
        return all(1 - d.a);
    case D3DBLEND_DESTCOLOR:
        return d;
    case D3DBLEND_INVDESTCOLOR:
        return all(1) - d;
    case D3DBLEND_SRCALPHASAT: {
        float m = std::min(s.a, 1 - d.a);
        return {m, m, m, 1};
    }
    case D3DBLEND_BLENDFACTOR:
        return f;
    default: // D3DBLEND_INVBLENDFACTOR
        return all(1) - f;
    }
}

} // namespace

// Depth and alpha tests with each compare function, depth writes off (the stored depth stays).
TEST_F(FixedFunction, EveryCompareFunctionForDepthAndAlpha) {
    stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
          D3DTA_DIFFUSE);
    auto quad = [&](int column, int row, float z, D3DCOLOR colour) {
        ScreenVertex v[6];
        float x = column * 2.0f;
        float y = row * 4.0f;
        screenQuad(v, x, y, x + 2, y + 4, z, colour);
        t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, v, sizeof(ScreenVertex));
    };
    for (const CompareCase& c : kCompares) {
        t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        // The stored depth comes from a draw at the same z, so "equal" means equal.
        t.device->SetRenderState(D3DRS_ZENABLE, TRUE);
        t.device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
        t.device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
        quad(0, 0, 0.5f, 0);
        quad(1, 0, 0.5f, 0);
        quad(2, 0, 0.5f, 0);
        t.device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
        t.device->SetRenderState(D3DRS_ZFUNC, c.func);
        for (int i = 0; i < 3; ++i) {
            quad(i, 0, 0.25f + 0.25f * static_cast<float>(i), 0xFFFF0000);
        }
        t.device->SetRenderState(D3DRS_ZENABLE, FALSE);
        t.device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
        t.device->SetRenderState(D3DRS_ALPHAREF, 0x80);
        t.device->SetRenderState(D3DRS_ALPHAFUNC, c.func);
        for (int i = 0; i < 3; ++i) {
            quad(i, 1, 0.5f, D3DCOLOR_ARGB(0x7F + i, 255, 0, 0));
        }
        t.device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(t.pixel(2 * i + 1, 1).r > 0, c.passes[i]) << "depth " << c.func << " " << i;
            EXPECT_EQ(t.pixel(2 * i + 1, 5).r > 0, c.passes[i]) << "alpha " << c.func << " " << i;
        }
        // Depth writes were off: 0.5 is still stored everywhere.
        t.device->SetRenderState(D3DRS_ZENABLE, TRUE);
        t.device->SetRenderState(D3DRS_ZFUNC, D3DCMP_EQUAL);
        quad(0, 0, 0.5f, 0xFF00FF00);
        quad(2, 0, 0.5f, 0xFF00FF00);
        EXPECT_EQ(t.pixel(1, 1).g, 255) << c.func;
        EXPECT_EQ(t.pixel(5, 1).g, 255) << c.func;
    }
}

// Each factor as the source factor (against a destination factor of zero) and as the destination
// factor (against zero), and the two source-only pairs.
TEST_F(FixedFunction, EveryBlendFactorAsSourceAndDestination) {
    stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
          D3DTA_DIFFUSE);
    const Colour s = unpack(kSource);
    const Colour d = unpack(kDest);
    const Colour f = unpack(kFactor);
    t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    t.device->SetRenderState(D3DRS_BLENDFACTOR, kFactor);
    auto blend = [&](DWORD source, DWORD dest) {
        t.device->Clear(0, nullptr, D3DCLEAR_TARGET, kDest, 1.0f, 0);
        t.device->SetRenderState(D3DRS_SRCBLEND, source);
        t.device->SetRenderState(D3DRS_DESTBLEND, dest);
        draw(kSource);
        return t.pixel(4, 4);
    };
    for (DWORD factor = D3DBLEND_ZERO; factor <= D3DBLEND_INVBLENDFACTOR; ++factor) {
        if (factor == D3DBLEND_BOTHSRCALPHA || factor == D3DBLEND_BOTHINVSRCALPHA) {
            continue;
        }
        std::string name = "factor " + std::to_string(factor);
        expectNear(blend(factor, D3DBLEND_ZERO), s * blendFactor(factor, s, d, f),
                   (name + " as source").c_str());
        expectNear(blend(D3DBLEND_ZERO, factor), d * blendFactor(factor, s, d, f),
                   (name + " as destination").c_str());
    }
    expectNear(blend(D3DBLEND_BOTHSRCALPHA, D3DBLEND_ZERO), s * s.a + d * (1 - s.a),
               "both source alpha");
    expectNear(blend(D3DBLEND_BOTHINVSRCALPHA, D3DBLEND_ZERO), s * (1 - s.a) + d * s.a,
               "both inverse source alpha");
}

TEST_F(FixedFunction, BlendOperationsSeparateAlphaAndColourWriteMask) {
    stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
          D3DTA_DIFFUSE);
    const Colour s = unpack(kSource);
    const Colour d = unpack(kDest);
    auto minimum = [](Colour x, Colour y) {
        return Colour{std::min(x.r, y.r), std::min(x.g, y.g), std::min(x.b, y.b), 0};
    };
    auto maximum = [](Colour x, Colour y) {
        return Colour{std::max(x.r, y.r), std::max(x.g, y.g), std::max(x.b, y.b), 0};
    };
    const struct {
        DWORD op;
        Colour expected;
    } ops[] = {{D3DBLENDOP_ADD, s + d},
               {D3DBLENDOP_SUBTRACT, s - d},
               {D3DBLENDOP_REVSUBTRACT, d - s},
               {D3DBLENDOP_MIN, minimum(s, d)},
               {D3DBLENDOP_MAX, maximum(s, d)}};
    t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    t.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    t.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    for (const auto& o : ops) {
        t.device->Clear(0, nullptr, D3DCLEAR_TARGET, kDest, 1.0f, 0);
        t.device->SetRenderState(D3DRS_BLENDOP, o.op);
        draw(kSource);
        expectNear(t.pixel(4, 4), o.expected, ("blend operation " + std::to_string(o.op)).c_str());
    }
    // Colour replaces, alpha keeps the destination's.
    t.device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    t.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    t.device->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, TRUE);
    t.device->SetRenderState(D3DRS_SRCBLENDALPHA, D3DBLEND_ZERO);
    t.device->SetRenderState(D3DRS_DESTBLENDALPHA, D3DBLEND_ONE);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, kDest, 1.0f, 0);
    draw(kSource);
    expectNear(t.pixel(4, 4), s, "separate alpha, colour");
    EXPECT_EQ(t.pixel(4, 4).a, 128);
    // Blending off, red and alpha written alone.
    t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    t.device->SetRenderState(D3DRS_COLORWRITEENABLE,
                             D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_ALPHA);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, kDest, 1.0f, 0);
    draw(kSource);
    Rgba p = t.pixel(4, 4);
    EXPECT_EQ(p.r, 204);
    EXPECT_EQ(p.g, 153);
    EXPECT_EQ(p.b, 255);
    EXPECT_EQ(p.a, 64);
}

// Every colour operation of a stage: texture (arg 1) against diffuse (arg 2), TFACTOR as arg 0.
TEST_F(FixedFunction, EveryTextureOperationAsItsFormulaGivesIt) {
    const D3DCOLOR texel = D3DCOLOR_ARGB(128, 153, 102, 51);
    const D3DCOLOR diffuse = D3DCOLOR_ARGB(191, 51, 77, 128);
    const D3DCOLOR factor = D3DCOLOR_ARGB(64, 128, 64, 191);
    using Formula = Colour (*)(Colour, Colour, Colour);
    const struct {
        DWORD op;
        Formula expected;
    } ops[] = {
        {D3DTOP_DISABLE, [](Colour, Colour d, Colour) { return d; }},
        {D3DTOP_SELECTARG1, [](Colour x, Colour, Colour) { return x; }},
        {D3DTOP_SELECTARG2, [](Colour, Colour d, Colour) { return d; }},
        {D3DTOP_MODULATE, [](Colour x, Colour d, Colour) { return x * d; }},
        {D3DTOP_MODULATE2X, [](Colour x, Colour d, Colour) { return x * d * 2; }},
        {D3DTOP_MODULATE4X, [](Colour x, Colour d, Colour) { return x * d * 4; }},
        {D3DTOP_ADD, [](Colour x, Colour d, Colour) { return x + d; }},
        {D3DTOP_ADDSIGNED, [](Colour x, Colour d, Colour) { return x + d - all(0.5f); }},
        {D3DTOP_ADDSIGNED2X, [](Colour x, Colour d, Colour) { return (x + d - all(0.5f)) * 2; }},
        {D3DTOP_SUBTRACT, [](Colour x, Colour d, Colour) { return x - d; }},
        {D3DTOP_ADDSMOOTH, [](Colour x, Colour d, Colour) { return x + d - x * d; }},
        {D3DTOP_BLENDDIFFUSEALPHA,
         [](Colour x, Colour d, Colour) { return x * d.a + d * (1 - d.a); }},
        {D3DTOP_BLENDTEXTUREALPHA,
         [](Colour x, Colour d, Colour) { return x * x.a + d * (1 - x.a); }},
        {D3DTOP_BLENDFACTORALPHA,
         [](Colour x, Colour d, Colour f) { return x * f.a + d * (1 - f.a); }},
        {D3DTOP_BLENDTEXTUREALPHAPM, [](Colour x, Colour d, Colour) { return x + d * (1 - x.a); }},
        // At stage 0 the current colour is the diffuse one.
        {D3DTOP_BLENDCURRENTALPHA,
         [](Colour x, Colour d, Colour) { return x * d.a + d * (1 - d.a); }},
        {D3DTOP_MODULATEALPHA_ADDCOLOR, [](Colour x, Colour d, Colour) { return x + d * x.a; }},
        {D3DTOP_MODULATECOLOR_ADDALPHA,
         [](Colour x, Colour d, Colour) { return x * d + all(x.a); }},
        {D3DTOP_MODULATEINVALPHA_ADDCOLOR,
         [](Colour x, Colour d, Colour) { return d * (1 - x.a) + x; }},
        {D3DTOP_MODULATEINVCOLOR_ADDALPHA,
         [](Colour x, Colour d, Colour) { return (all(1) - x) * d + all(x.a); }},
        {D3DTOP_DOTPRODUCT3,
         [](Colour x, Colour d, Colour) {
             Colour u = x - all(0.5f);
             Colour v = d - all(0.5f);
             return all(4 * (u.r * v.r + u.g * v.g + u.b * v.b));
         }},
        {D3DTOP_MULTIPLYADD, [](Colour x, Colour d, Colour f) { return f + x * d; }},
        {D3DTOP_LERP, [](Colour x, Colour d, Colour f) { return f * x + (all(1) - f) * d; }},
    };
    // Two texels, so that the stage really samples (one value throughout is read as a constant).
    IDirect3DTexture9* texture = t.texture(2, 1, {texel, 0xFF000000});
    t.device->SetTexture(0, texture);
    t.device->SetRenderState(D3DRS_TEXTUREFACTOR, factor);
    t.device->SetTextureStageState(0, D3DTSS_COLORARG0, D3DTA_TFACTOR);
    for (const auto& o : ops) {
        stage(0, o.op, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
              D3DTA_DIFFUSE);
        ScreenVertex quad[6];
        screenQuad(quad, 0, 0, 8, 8, 0.5f, diffuse, 0, 0, 0.5f, 1);
        t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
        expectNear(t.pixel(4, 4), o.expected(unpack(texel), unpack(diffuse), unpack(factor)),
                   ("operation " + std::to_string(o.op)).c_str());
    }
    texture->Release();
}

// Eight stages, each adding one bit from its own texture read through its own coordinate set:
// sets that point at the texel holding the bit add it, the others add nothing.
TEST_F(FixedFunction, EightStagesEachWithItsTextureAndCoordinateSet) {
    IDirect3DTexture9* textures[8];
    for (DWORD s = 0; s < 8; ++s) {
        textures[s] = t.texture(2, 1, {D3DCOLOR_ARGB(255, 1u << s, 0, 0), 0xFF000000});
        t.device->SetTexture(s, textures[s]);
        stage(s, s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_CURRENT);
        t.device->SetTextureStageState(s, D3DTSS_TEXCOORDINDEX, s);
    }
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR diffuse;
        float uv[8][2];
    };
    t.device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX8);
    for (int odd = 0; odd < 2; ++odd) {
        Vertex quad[4] = {{0, 0, 0.5f, 1, 0xFFFFFFFF, {}},
                          {8, 0, 0.5f, 1, 0xFFFFFFFF, {}},
                          {0, 8, 0.5f, 1, 0xFFFFFFFF, {}},
                          {8, 8, 0.5f, 1, 0xFFFFFFFF, {}}};
        for (Vertex& v : quad) {
            for (int s = 0; s < 8; ++s) {
                v.uv[s][0] = (s % 2 == odd) ? 0.25f : 0.75f;
            }
        }
        t.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
        EXPECT_EQ(t.pixel(4, 4).r, odd ? 0xAA : 0x55);
    }
    for (DWORD s = 0; s < 8; ++s) {
        t.device->SetTexture(s, nullptr);
        textures[s]->Release();
    }
}

// A vertex colour in each declaration type the device takes (Direct3D's order: x, y, z, w is
// red, green, blue, alpha; missing components are 0, w 1).
TEST_F(FixedFunction, VertexColoursInEveryDeclarationType) {
    const struct {
        BYTE type;
        uint16_t data[4];
        Rgba expected;
    } cases[] = {
        {D3DDECLTYPE_UBYTE4, {0x0001, 0x0002}, {255, 0, 255, 0}},
        {D3DDECLTYPE_UBYTE4N, {0x80FF, 0x4000}, {255, 128, 0, 64}},
        {D3DDECLTYPE_SHORT2N, {16384, 32767}, {128, 255, 0, 255}},
        {D3DDECLTYPE_SHORT4N, {32767, 16384, 0, 32767}, {255, 128, 0, 255}},
        {D3DDECLTYPE_USHORT2N, {65535, 32768}, {255, 128, 0, 255}},
        {D3DDECLTYPE_USHORT4N, {0, 65535, 32768, 65535}, {0, 255, 128, 255}},
        {D3DDECLTYPE_FLOAT16_2, {0x3C00, 0x3800}, {255, 128, 0, 255}},
        {D3DDECLTYPE_FLOAT16_4, {0x3800, 0x3C00, 0x0000, 0x3400}, {128, 255, 0, 64}},
    };
    stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
          D3DTA_DIFFUSE);
    for (const auto& c : cases) {
        D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
                                        {0, 16, c.type, 0, D3DDECLUSAGE_COLOR, 0},
                                        D3DDECL_END()};
        IDirect3DVertexDeclaration9* declaration = nullptr;
        ASSERT_EQ(t.device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
        t.device->SetVertexDeclaration(declaration);
        struct Vertex {
            float x, y, z, rhw;
            uint16_t data[4];
        } quad[4] = {
            {0, 0, 0.5f, 1, {}}, {8, 0, 0.5f, 1, {}}, {0, 8, 0.5f, 1, {}}, {8, 8, 0.5f, 1, {}}};
        for (Vertex& v : quad) {
            std::copy(c.data, c.data + 4, v.data);
        }
        t.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
        Rgba p = t.pixel(4, 4);
        EXPECT_NEAR(p.r, c.expected.r, 1) << "type " << int{c.type};
        EXPECT_NEAR(p.g, c.expected.g, 1) << "type " << int{c.type};
        EXPECT_NEAR(p.b, c.expected.b, 1) << "type " << int{c.type};
        EXPECT_NEAR(p.a, c.expected.a, 1) << "type " << int{c.type};
        declaration->Release();
    }
}

// Diffuse, specular and alpha each run smoothly from one edge to the other.
TEST_F(FixedFunction, ColourSpecularAndAlphaAreInterpolatedAcrossTriangles) {
    stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
          D3DTA_DIFFUSE);
    t.device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR diffuse, specular;
    };
    const D3DCOLOR left = D3DCOLOR_ARGB(0, 255, 0, 0);
    const D3DCOLOR right = D3DCOLOR_ARGB(255, 0, 0, 255);
    const D3DCOLOR green = D3DCOLOR_ARGB(0, 0, 255, 0);
    Vertex quad[4] = {{0, 0, 0.5f, 1, left, 0},
                      {8, 0, 0.5f, 1, right, green},
                      {0, 8, 0.5f, 1, left, 0},
                      {8, 8, 0.5f, 1, right, green}};
    t.device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    for (int x : {2, 4, 6}) {
        Rgba p = t.pixel(x, 4);
        int ramp = x * 255 / 8;
        EXPECT_NEAR(p.r, 255 - ramp, 3) << x;
        EXPECT_NEAR(p.g, ramp, 3) << x;
        EXPECT_NEAR(p.b, ramp, 3) << x;
        EXPECT_NEAR(p.a, ramp, 3) << x;
    }
}
