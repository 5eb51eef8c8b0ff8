// Fog as Direct3D 9 defines it: the factor f of each mode at a known depth (linear
// (end - d) / (end - start), exp e^-(d density), exp2 e^-(d density)^2), blended as
// f colour + (1 - f) fog colour; vertex fog on camera-space depth or distance, table fog on w
// under a perspective projection and on z under an orthographic one, the specular alpha of
// pre-transformed vertices, and fog after pixel programs below 3.0 alone.

#include "D3d9TestDevice.h"

#include <tarnelix/ShaderBlob.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

using namespace tarnelix;
using namespace tarnelix::test;

namespace {

constexpr D3DCOLOR kObject = 0xFF0000FF; // blue
constexpr D3DCOLOR kFog = 0xFFFF0000;    // red

// Quad at camera depth z around (x, 0), drawn through a perspective projection that shows x at
// column 8 + x of a 16 x 16 target at depth 4 (and keeps w = z).
struct Vertex {
    float x, y, z;
    D3DCOLOR diffuse;
};

class Fog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        d = t.device;
        t.startUnlitDrawing(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        d->SetRenderState(D3DRS_FOGENABLE, TRUE);
        d->SetRenderState(D3DRS_FOGCOLOR, kFog);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    }

    void perspective() {
        D3DMATRIX p{};
        p._11 = p._22 = 0.5f;
        p._33 = 100.0f / 99.0f;
        p._34 = 1.0f;
        p._43 = -100.0f / 99.0f;
        d->SetTransform(D3DTS_PROJECTION, &p);
    }

    void mode(DWORD vertexMode, DWORD tableMode, float start, float end, float density) {
        d->SetRenderState(D3DRS_FOGVERTEXMODE, vertexMode);
        d->SetRenderState(D3DRS_FOGTABLEMODE, tableMode);
        d->SetRenderState(D3DRS_FOGSTART, floatState(start));
        d->SetRenderState(D3DRS_FOGEND, floatState(end));
        d->SetRenderState(D3DRS_FOGDENSITY, floatState(density));
    }

    void drawQuad(float x, float z, float s = 0.05f) {
        Vertex quad[4] = {{x - s, s, z, kObject},
                          {x + s, s, z, kObject},
                          {x - s, -s, z, kObject},
                          {x + s, -s, z, kObject}};
        ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
    }

    TestDevice t{16, 16};
    IDirect3DDevice9* d = nullptr;
};

// f colour + (1 - f) fog: blue kept by f, red by 1 - f.
void expectFogged(const Rgba& p, double f, const std::string& what) {
    EXPECT_NEAR(p.r, (1.0 - f) * 255, 3) << what;
    EXPECT_NEAR(p.g, 0, 1) << what;
    EXPECT_NEAR(p.b, f * 255, 3) << what;
}

struct FogCase {
    const char* name;
    DWORD vertexMode;
    DWORD tableMode;
    bool perspective;
    bool range;
    float x, z; // where the quad is
    float start, end, density;
    double expected;
};

} // namespace

TEST_F(Fog, ModesAtKnownDepthsAsTheFormulasGiveThem) {
    const FogCase cases[] = {
        // proves: D3DPRASTERCAPS_FOGVERTEX
        {"vertex linear", D3DFOG_LINEAR, D3DFOG_NONE, true, false, 0, 4, 2, 6, 0, 0.5},
        {"vertex exp", D3DFOG_EXP, D3DFOG_NONE, true, false, 0, 4, 0, 0, 0.25f, std::exp(-1.0)},
        {"vertex exp2", D3DFOG_EXP2, D3DFOG_NONE, true, false, 0, 4, 0, 0, 0.125f, std::exp(-0.25)},
        {"vertex linear before the start", D3DFOG_LINEAR, D3DFOG_NONE, true, false, 0, 4, 5, 9, 0,
         1.0},
        // proves: D3DPRASTERCAPS_FOGRANGE: (3, 0, 4) is 5 away though only 4 deep.
        {"vertex linear on distance", D3DFOG_LINEAR, D3DFOG_NONE, true, true, 3, 4, 0, 10, 0, 0.5},
        {"vertex linear on depth", D3DFOG_LINEAR, D3DFOG_NONE, true, false, 3, 4, 0, 10, 0, 0.6},
        // proves: D3DPRASTERCAPS_FOGTABLE, D3DPRASTERCAPS_WFOG: w = 4.
        {"table linear on w", D3DFOG_NONE, D3DFOG_LINEAR, true, false, 0, 4, 3, 7, 0, 0.75},
        {"table exp on w", D3DFOG_NONE, D3DFOG_EXP, true, false, 0, 4, 0, 0, 0.5f, std::exp(-2.0)},
        {"table mode wins over the vertex mode", D3DFOG_EXP, D3DFOG_LINEAR, true, false, 0, 4, 3, 7,
         0.5f, 0.75},
        // proves: D3DPRASTERCAPS_ZFOG: an orthographic projection (identity) gives z itself.
        {"table linear on z", D3DFOG_NONE, D3DFOG_LINEAR, false, false, 0, 0.25f, 0, 1, 0, 0.75},
        {"table exp2 on z", D3DFOG_NONE, D3DFOG_EXP2, false, false, 0, 0.5f, 0, 0, 2.0f,
         std::exp(-1.0)},
    };
    for (const FogCase& c : cases) {
        if (c.perspective) {
            perspective();
        } else {
            D3DMATRIX identity{};
            identity._11 = identity._22 = identity._33 = identity._44 = 1.0f;
            d->SetTransform(D3DTS_PROJECTION, &identity);
        }
        mode(c.vertexMode, c.tableMode, c.start, c.end, c.density);
        d->SetRenderState(D3DRS_RANGEFOGENABLE, c.range);
        // Under the identity projection x = 0 is the centre column too; the quad is bigger
        // there, as clip space is.
        drawQuad(c.x, c.z, c.perspective ? 0.05f : 0.01f);
        expectFogged(t.pixel(8 + static_cast<int>(c.x), 8), c.expected, c.name);
    }
}

TEST_F(Fog, PretransformedVerticesFogByTheirSpecularAlphaOrByTable) {
    struct Screen {
        float x, y, z, rhw;
        D3DCOLOR diffuse, specular;
    };
    d->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR);
    auto draw = [&](float z, D3DCOLOR specular) {
        Screen quad[4] = {{0, 0, z, 1, kObject, specular},
                          {16, 0, z, 1, kObject, specular},
                          {0, 16, z, 1, kObject, specular},
                          {16, 16, z, 1, kObject, specular}};
        ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Screen)), D3D_OK);
    };
    // The vertex mode means nothing to vertices that skip vertex processing.
    mode(D3DFOG_LINEAR, D3DFOG_NONE, 0, 1, 0);
    draw(0.5f, 0x40000000);
    expectFogged(t.pixel(8, 8), 0x40 / 255.0, "specular alpha");
    // Table fog on z (the default projection is the identity).
    mode(D3DFOG_NONE, D3DFOG_LINEAR, 0, 1, 0);
    draw(0.25f, 0);
    expectFogged(t.pixel(8, 8), 0.75, "table fog");
    // Fog off: the colour as drawn.
    d->SetRenderState(D3DRS_FOGENABLE, FALSE);
    draw(0.25f, 0);
    expectFogged(t.pixel(8, 8), 1.0, "fog off");
}

namespace {

std::vector<uint32_t> solidPixelBlob(uint32_t major) {
    ShaderBlob blob;
    blob.stage = ShaderStage::Pixel;
    blob.versionMajor = major;
    blob.glsl = "#version 330\n"
                "out vec4 out_COLOR0;\n"
                "void main()\n{\n    out_COLOR0 = vec4(0.0, 0.0, 1.0, 1.0);\n}\n";
    blob.outputs = {{"out_COLOR0", D3DDECLUSAGE_COLOR, 0}};
    return serializeShaderBlob(blob);
}

} // namespace

TEST_F(Fog, PixelProgramsBelowThreeAreFoggedAndThreeAreNot) {
    perspective();
    mode(D3DFOG_NONE, D3DFOG_LINEAR, 3, 7, 0);
    for (uint32_t major : {2u, 3u}) {
        std::vector<uint32_t> blob = solidPixelBlob(major);
        IDirect3DPixelShader9* shader = nullptr;
        ASSERT_EQ(d->CreatePixelShader(reinterpret_cast<const DWORD*>(blob.data()), &shader),
                  D3D_OK);
        d->SetPixelShader(shader);
        drawQuad(0, 4);
        expectFogged(t.pixel(8, 8), major < 3 ? 0.75 : 1.0,
                     "pixel program " + std::to_string(major));
        // Vertex fog from the generated vertex stage reaches the program too.
        mode(D3DFOG_LINEAR, D3DFOG_NONE, 2, 6, 0);
        drawQuad(0, 4);
        expectFogged(t.pixel(8, 8), major < 3 ? 0.5 : 1.0,
                     "vertex fog, pixel program " + std::to_string(major));
        mode(D3DFOG_NONE, D3DFOG_LINEAR, 3, 7, 0);
        d->SetPixelShader(nullptr);
        shader->Release();
    }
}

TEST_F(Fog, CapsReportTheModesDrawnHere) {
    D3DCAPS9 caps{};
    ASSERT_EQ(d->GetDeviceCaps(&caps), D3D_OK);
    DWORD fog = D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_FOGRANGE |
                D3DPRASTERCAPS_ZFOG | D3DPRASTERCAPS_WFOG;
    EXPECT_EQ(caps.RasterCaps & fog, fog);
}
