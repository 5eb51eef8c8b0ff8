// Fixed-function vertex lighting against Direct3D 9's equations, worked out here on their own:
// a quad facing the camera, lit at its centre, compared with the colour the equations give
// there. Each row is one light set-up with its expected colour.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace tarnelix::test;

namespace {

struct LitVertex { // D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR diffuse;
    D3DCOLOR specular;
};
constexpr DWORD kLitFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR;

struct Vec {
    float x, y, z;
};
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator*(Vec a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
float dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec normalised(Vec a) {
    return a * (1.0f / std::sqrt(dot(a, a)));
}

D3DCOLORVALUE colour(float r, float g, float b, float a = 1.0f) {
    return D3DCOLORVALUE{r, g, b, a};
}

D3DLIGHT9 light(D3DLIGHTTYPE type, D3DCOLORVALUE diffuse, Vec position, Vec direction) {
    D3DLIGHT9 l{};
    l.Type = type;
    l.Diffuse = diffuse;
    l.Position = D3DVECTOR{position.x, position.y, position.z};
    l.Direction = D3DVECTOR{direction.x, direction.y, direction.z};
    l.Range = 1000.0f;
    l.Attenuation0 = 1.0f;
    return l;
}

// Direct3D 9's lighting of one vertex in camera space (view = identity here): the colours it
// gives as 0..255 channels, diffuse and specular.
struct Lit {
    float diffuse[3];
    float specular[3];
};

Lit lightVertex(const std::vector<D3DLIGHT9>& lights, const D3DMATERIAL9& m, D3DCOLOR ambient,
                Vec p, Vec n, bool localViewer) {
    float ga[3] = {((ambient >> 16) & 0xFF) / 255.0f, ((ambient >> 8) & 0xFF) / 255.0f,
                   (ambient & 0xFF) / 255.0f};
    float amb[3] = {}, dif[3] = {}, spec[3] = {};
    for (const D3DLIGHT9& l : lights) {
        Vec toLight;
        float atten = 1.0f;
        if (l.Type == D3DLIGHT_DIRECTIONAL) {
            toLight = normalised(Vec{-l.Direction.x, -l.Direction.y, -l.Direction.z});
        } else {
            Vec d = Vec{l.Position.x, l.Position.y, l.Position.z} - p;
            float distance = std::sqrt(dot(d, d));
            toLight = d * (1.0f / distance);
            atten = distance > l.Range ? 0.0f
                                       : 1.0f / (l.Attenuation0 + l.Attenuation1 * distance +
                                                 l.Attenuation2 * distance * distance);
            if (l.Type == D3DLIGHT_SPOT) {
                float rho = dot(toLight * -1.0f,
                                normalised(Vec{l.Direction.x, l.Direction.y, l.Direction.z}));
                float cosTheta = std::cos(l.Theta / 2);
                float cosPhi = std::cos(l.Phi / 2);
                float spot = rho > cosTheta ? 1.0f
                             : rho <= cosPhi
                                 ? 0.0f
                                 : std::pow((rho - cosPhi) / (cosTheta - cosPhi), l.Falloff);
                atten *= spot;
            }
        }
        float nl = dot(n, toLight);
        const float* la = &l.Ambient.r;
        const float* ld = &l.Diffuse.r;
        const float* ls = &l.Specular.r;
        Vec toViewer = localViewer ? normalised(p * -1.0f) : Vec{0, 0, -1};
        float nh = dot(n, normalised(toViewer + toLight));
        for (int c = 0; c < 3; ++c) {
            amb[c] += atten * la[c];
            if (nl > 0) {
                dif[c] += atten * nl * ld[c];
                if (nh > 0) {
                    spec[c] += atten * std::pow(nh, m.Power) * ls[c];
                }
            }
        }
    }
    Lit out{};
    const float* ca = &m.Ambient.r;
    const float* cd = &m.Diffuse.r;
    const float* ce = &m.Emissive.r;
    const float* cs = &m.Specular.r;
    for (int c = 0; c < 3; ++c) {
        out.diffuse[c] =
            std::clamp(ce[c] + ca[c] * (ga[c] + amb[c]) + cd[c] * dif[c], 0.0f, 1.0f) * 255;
        out.specular[c] = std::clamp(cs[c] * spec[c], 0.0f, 1.0f) * 255;
    }
    return out;
}

class Lighting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        d = t.device;
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        d->SetRenderState(D3DRS_LIGHTING, TRUE);
        d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        d->SetFVF(kLitFvf);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        // A perspective projection looking down +z: the quad at z = 4 fills the target.
        D3DMATRIX projection{};
        projection._11 = 1.0f / 2.0f;
        projection._22 = 1.0f / 2.0f;
        projection._33 = 100.0f / 99.0f;
        projection._34 = 1.0f;
        projection._43 = -100.0f / 99.0f;
        d->SetTransform(D3DTS_PROJECTION, &projection);
    }

    // A quad at depth 4 facing the camera (normal toward it), around the point (x, 0, 4).
    // Vertices are lit and their colours interpolated, so the quads that check positional
    // lights are small: the pixel centre they cover then has the point's own lighting.
    void drawQuad(D3DCOLOR diffuse = 0xFFFFFFFF, D3DCOLOR specular = 0, float x = 0.0f,
                  float s = 0.05f) {
        LitVertex quad[4] = {{x - s, s, 4, 0, 0, -1, diffuse, specular},
                             {x + s, s, 4, 0, 0, -1, diffuse, specular},
                             {x - s, -s, 4, 0, 0, -1, diffuse, specular},
                             {x + s, -s, 4, 0, 0, -1, diffuse, specular}};
        ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(LitVertex)), D3D_OK);
    }

    // The pixel whose centre shows the point (0, 0, 4): the projection puts x at column 8 + x.
    Rgba centre() { return t.pixel(8, 8); }

    TestDevice t{16, 16};
    IDirect3DDevice9* d = nullptr;
};

void expectNear(const Rgba& p, const float expected[3], int tolerance, const std::string& what) {
    EXPECT_NEAR(p.r, expected[0], tolerance) << what;
    EXPECT_NEAR(p.g, expected[1], tolerance) << what;
    EXPECT_NEAR(p.b, expected[2], tolerance) << what;
}

D3DMATERIAL9 material(D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient = colour(0, 0, 0),
                      D3DCOLORVALUE emissive = colour(0, 0, 0),
                      D3DCOLORVALUE specular = colour(0, 0, 0), float power = 0.0f) {
    D3DMATERIAL9 m{};
    m.Diffuse = diffuse;
    m.Ambient = ambient;
    m.Emissive = emissive;
    m.Specular = specular;
    m.Power = power;
    return m;
}

struct LightCase {
    const char* name;
    std::vector<D3DLIGHT9> lights;
    D3DMATERIAL9 material;
    D3DCOLOR ambient;
};

std::vector<LightCase> lightCases() {
    // The quad's centre is (0, 0, 4) with normal (0, 0, -1).
    D3DLIGHT9 slanted = light(D3DLIGHT_DIRECTIONAL, colour(1, 0.8f, 0.6f), {}, {1, 0, 1});
    D3DLIGHT9 point = light(D3DLIGHT_POINT, colour(1, 1, 1), {0, 3, 0}, {});
    point.Attenuation0 = 0.5f;
    point.Attenuation1 = 0.1f;
    point.Attenuation2 = 0.02f;
    D3DLIGHT9 outOfRange = point;
    outOfRange.Range = 4.9f; // the centre is 5 away
    outOfRange.Ambient = colour(1, 1, 1);
    D3DLIGHT9 spotInner = light(D3DLIGHT_SPOT, colour(0.9f, 0.9f, 0.9f), {0, 0, 0}, {0, 0, 1});
    spotInner.Theta = 0.5f;
    spotInner.Phi = 1.0f;
    spotInner.Falloff = 1.0f;
    // Aimed 20 degrees off the centre: between the cones (10 and 25 degrees half-angles).
    D3DLIGHT9 spotBetween = spotInner;
    spotBetween.Direction = D3DVECTOR{std::sin(0.349f), 0, std::cos(0.349f)};
    spotBetween.Theta = 2 * 0.1745f;
    spotBetween.Phi = 2 * 0.4363f;
    spotBetween.Falloff = 2.0f;
    D3DLIGHT9 spotOutside = spotBetween;
    spotOutside.Phi = 2 * 0.30f;
    spotOutside.Theta = 2 * 0.1f;
    D3DLIGHT9 ambientLight = light(D3DLIGHT_DIRECTIONAL, colour(0, 0, 0), {}, {0, 0, -1});
    ambientLight.Ambient = colour(0.25f, 0.5f, 0.0f);
    std::vector<D3DLIGHT9> eight;
    for (int i = 0; i < 8; ++i) {
        eight.push_back(light(D3DLIGHT_DIRECTIONAL, colour(0.1f, 0.05f, 0.02f * i), {}, {0, 0, 1}));
    }
    return {
        // proves: D3DVTXPCAPS_DIRECTIONALLIGHTS
        {"directional head-on",
         {light(D3DLIGHT_DIRECTIONAL, colour(1, 1, 1), {}, {0, 0, 1})},
         material(colour(0.5f, 0.25f, 1.0f)),
         0},
        {"directional at 45 degrees", {slanted}, material(colour(1, 1, 1)), 0},
        {"light from behind lights nothing",
         {light(D3DLIGHT_DIRECTIONAL, colour(1, 1, 1), {}, {0, 0, -1})},
         material(colour(1, 1, 1)),
         0},
        // proves: D3DVTXPCAPS_POSITIONALLIGHTS
        {"point with attenuation", {point}, material(colour(1, 0.5f, 0.25f)), 0},
        {"point out of range, ambient too",
         {outOfRange},
         material(colour(1, 1, 1), colour(1, 1, 1)),
         0},
        {"spot inside the inner cone", {spotInner}, material(colour(1, 1, 1)), 0},
        {"spot between the cones, falloff 2", {spotBetween}, material(colour(1, 1, 1)), 0},
        {"spot outside the outer cone", {spotOutside}, material(colour(1, 1, 1)), 0},
        {"emissive plus global and light ambient",
         {ambientLight},
         material(colour(1, 1, 1), colour(0.5f, 1.0f, 1.0f), colour(0.1f, 0.2f, 0.3f)),
         D3DCOLOR_XRGB(64, 32, 128)},
        // proves: MaxActiveLights (8)
        {"eight lights add up", eight, material(colour(1, 1, 1)), 0},
    };
}

} // namespace

TEST_F(Lighting, LightTypesAttenuationSpotConesAndAmbientAsTheEquationsGiveThem) {
    for (const LightCase& c : lightCases()) {
        for (DWORD i = 0; i < 8; ++i) {
            d->LightEnable(i, FALSE);
        }
        for (size_t i = 0; i < c.lights.size(); ++i) {
            ASSERT_EQ(d->SetLight(static_cast<DWORD>(i), &c.lights[i]), D3D_OK) << c.name;
            ASSERT_EQ(d->LightEnable(static_cast<DWORD>(i), TRUE), D3D_OK) << c.name;
        }
        d->SetMaterial(&c.material);
        d->SetRenderState(D3DRS_AMBIENT, c.ambient);
        // Material colours alone: the vertex colours are left out.
        d->SetRenderState(D3DRS_COLORVERTEX, FALSE);
        drawQuad();
        Lit expected = lightVertex(c.lights, c.material, c.ambient, {0, 0, 4}, {0, 0, -1}, true);
        expectNear(centre(), expected.diffuse, 3, c.name);
    }
}

TEST_F(Lighting, SpecularWithLocalAndDistantViewer) {
    // A light up and to the right: the local viewer's halfway vector differs from the distant
    // one's, and so do the highlights.
    D3DLIGHT9 l = light(D3DLIGHT_POINT, colour(0, 0, 0), {4, 0, 0}, {});
    l.Specular = colour(1, 0.5f, 1);
    d->SetLight(0, &l);
    d->LightEnable(0, TRUE);
    D3DMATERIAL9 m =
        material(colour(0, 0, 0), colour(0, 0, 0), colour(0, 0, 0), colour(1, 1, 0.5f), 4.0f);
    d->SetMaterial(&m);
    d->SetRenderState(D3DRS_COLORVERTEX, FALSE);
    d->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    // Off-centre, at (2, 0, 4), so that the local viewer sees the quad at an angle.
    for (BOOL local : {TRUE, FALSE}) {
        // proves: D3DVTXPCAPS_LOCALVIEWER
        d->SetRenderState(D3DRS_LOCALVIEWER, local);
        drawQuad(0xFFFFFFFF, 0, 2.0f);
        Lit expected = lightVertex({l}, m, 0, {2, 0, 4}, {0, 0, -1}, local);
        expectNear(t.pixel(10, 8), expected.specular, 3, local ? "local viewer" : "distant viewer");
    }
    // Without D3DRS_SPECULARENABLE the highlight is not added.
    d->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    drawQuad(0xFFFFFFFF, 0, 2.0f);
    Rgba p = t.pixel(10, 8);
    EXPECT_EQ(p.r + p.g + p.b, 0);
}

TEST_F(Lighting, MaterialSourcesTakeVertexColoursWhereTheVertexHasThem) {
    // proves: D3DVTXPCAPS_MATERIALSOURCE7
    D3DLIGHT9 l = light(D3DLIGHT_DIRECTIONAL, colour(1, 1, 1), {}, {0, 0, 1});
    d->SetLight(0, &l);
    d->LightEnable(0, TRUE);
    D3DMATERIAL9 m = material(colour(0.2f, 0.2f, 0.2f), colour(0, 0, 0), colour(0, 0, 0));
    d->SetMaterial(&m);
    d->SetRenderState(D3DRS_COLORVERTEX, TRUE);
    struct Row {
        D3DRENDERSTATETYPE state;
        DWORD source;
        int expected[3];
    } rows[] = {
        // Diffuse from the vertex's diffuse colour (the default source).
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1, {0x80, 0x40, 0x20}},
        // Diffuse from the specular colour.
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR2, {0x10, 0x20, 0x30}},
        // Diffuse from the material.
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL, {51, 51, 51}},
        // Emissive from the vertex's diffuse colour, added to the material's diffuse.
        {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_COLOR1, {0x80 + 51, 0x40 + 51, 0x20 + 51}},
    };
    for (const Row& row : rows) {
        d->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
        d->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
        d->SetRenderState(row.state, row.source);
        drawQuad(0xFF804020, 0xFF102030);
        Rgba p = centre();
        EXPECT_NEAR(p.r, row.expected[0], 2) << row.state << " " << row.source;
        EXPECT_NEAR(p.g, row.expected[1], 2) << row.state << " " << row.source;
        EXPECT_NEAR(p.b, row.expected[2], 2) << row.state << " " << row.source;
    }
    // A vertex without the colour a source names lights with the material's.
    d->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
    d->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR2);
    d->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL);
    struct Plain {
        float x, y, z, nx, ny, nz;
    } quad[4] = {
        {-1, 1, 4, 0, 0, -1}, {1, 1, 4, 0, 0, -1}, {-1, -1, 4, 0, 0, -1}, {1, -1, 4, 0, 0, -1}};
    d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Plain));
    EXPECT_NEAR(centre().g, 51, 2);
}

TEST_F(Lighting, NormalsFollowTheInverseTransposeAndAreNormalisedOnRequest) {
    D3DLIGHT9 l = light(D3DLIGHT_DIRECTIONAL, colour(1, 1, 1), {}, {0, 0, 1});
    d->SetLight(0, &l);
    d->LightEnable(0, TRUE);
    D3DMATERIAL9 m = material(colour(0.25f, 0.25f, 0.25f));
    d->SetMaterial(&m);
    d->SetRenderState(D3DRS_COLORVERTEX, FALSE);
    // Scaling the world by 2 in z alone leaves the quad's z-facing normal scaled by 1/2.
    D3DMATRIX world{};
    world._11 = world._22 = world._44 = 1.0f;
    world._33 = 2.0f;
    world._43 = -4.0f; // keeps the quad at depth 4
    d->SetTransform(D3DTS_WORLD, &world);
    drawQuad();
    EXPECT_NEAR(centre().r, 255 * 0.25 * 0.5, 2);
    d->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    drawQuad();
    EXPECT_NEAR(centre().r, 255 * 0.25, 2);
}

TEST_F(Lighting, LightsAreSeenFromTheViewAndCountAsTheDeviceReports) {
    D3DCAPS9 caps{};
    ASSERT_EQ(d->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.MaxActiveLights, 8u);
    DWORD wanted = D3DVTXPCAPS_DIRECTIONALLIGHTS | D3DVTXPCAPS_POSITIONALLIGHTS |
                   D3DVTXPCAPS_LOCALVIEWER | D3DVTXPCAPS_MATERIALSOURCE7;
    EXPECT_EQ(caps.VertexProcessingCaps & wanted, wanted);
    // A light in world space at (0, 0, -10) shining along +z, and a view that turns the world
    // half round: the light now comes from behind the quad.
    D3DLIGHT9 l = light(D3DLIGHT_DIRECTIONAL, colour(1, 1, 1), {}, {0, 0, 1});
    d->SetLight(0, &l);
    d->LightEnable(0, TRUE);
    D3DMATERIAL9 m = material(colour(1, 1, 1));
    d->SetMaterial(&m);
    d->SetRenderState(D3DRS_COLORVERTEX, FALSE);
    drawQuad();
    EXPECT_EQ(centre().r, 255);
    D3DMATRIX turn{};
    turn._11 = -1.0f;
    turn._22 = turn._44 = 1.0f;
    turn._33 = -1.0f;
    D3DMATRIX world = turn; // the quad turns with the view, the light does not
    d->SetTransform(D3DTS_WORLD, &world);
    d->SetTransform(D3DTS_VIEW, &turn);
    drawQuad();
    EXPECT_EQ(centre().r, 0);
    // An invalid light type is refused.
    D3DLIGHT9 bad = l;
    bad.Type = static_cast<D3DLIGHTTYPE>(0);
    EXPECT_EQ(d->SetLight(1, &bad), D3DERR_INVALIDCALL);
}

TEST_F(Lighting, LightsAreKeptByAnyIndexWithoutRoomForTheOnesBetween) {
    // Direct3D takes any index; only the lights used exist, however large the index.
    const DWORD far = 0xFFFFFFF0u;
    ASSERT_EQ(d->LightEnable(far, TRUE), D3D_OK);
    D3DLIGHT9 got{};
    ASSERT_EQ(d->GetLight(far, &got), D3D_OK);
    EXPECT_EQ(got.Type, D3DLIGHT_DIRECTIONAL); // the default light: white, along +z
    EXPECT_EQ(got.Direction.z, 1.0f);
    BOOL enabled = FALSE;
    EXPECT_EQ(d->GetLightEnable(far, &enabled), D3D_OK);
    EXPECT_NE(enabled, FALSE);
    EXPECT_EQ(d->GetLight(7, &got), D3DERR_INVALIDCALL); // never set
    EXPECT_EQ(d->GetLightEnable(7, &enabled), D3DERR_INVALIDCALL);
    D3DMATERIAL9 m = material(colour(1, 1, 1));
    d->SetMaterial(&m);
    d->SetRenderState(D3DRS_COLORVERTEX, FALSE);
    drawQuad(); // the default light shines along +z, onto the quad's face
    EXPECT_EQ(centre().r, 255);
}
