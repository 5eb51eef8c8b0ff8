// The extension library and the shader programs on the real device: meshes drawn through
// DrawSubset, textures made from image files, and each of the six programs compiled from data/
// and drawn with its constants, read back pixel by pixel.

#include "D3d9TestDevice.h"
#include "ImageEncoding.h"
#include "SceneVertex.h"

#include "engine/render/AlphaPixelShader.h"
#include "engine/render/GlowPixelShader.h"
#include "engine/render/GlowVertexShader.h"
#include "engine/render/NormalMapVertexShader.h"
#include "engine/render/NullVertexShader.h"
#include "engine/render/ParticleVertexShader.h"
#include "engine/resources/ProgramDevice.h"

#include <d3dx9.h>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <string>

using namespace tarnelix::test;

namespace {

struct QuadVertex { // D3DFVF_XYZ | D3DFVF_TEX1, the engine's screen quad
    float x, y, z, u, v;
};

struct ParticleVertex { // 0x20142
    float x, y, z;
    D3DCOLOR colour;
    float cx, cy, cz, size;
};

bool near(const Rgba& p, int r, int g, int b, int tolerance = 3) {
    return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance &&
           std::abs(p.b - b) <= tolerance;
}

std::string show(const Rgba& p) {
    return "(" + std::to_string(p.r) + ", " + std::to_string(p.g) + ", " + std::to_string(p.b) +
           ", " + std::to_string(p.a) + ")";
}

Matrix4 scaleAndDepth(float scale, float depth) {
    Matrix4 m;
    m.m[0][0] = scale;
    m.m[1][1] = scale;
    m.m[2][2] = 0.0f;
    m.m[3][2] = depth;
    return m;
}

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m_device.ok()) {
            GTEST_SKIP() << "no device";
        }
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        m_previous = here;
        ASSERT_EQ(chdir(TARNELIX_DATA_DIR), 0);
        device = m_device.device;
        setProgramDevice(device);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
    }
    void TearDown() override {
        if (device == nullptr) {
            return;
        }
        setProgramDevice(nullptr);
        ASSERT_EQ(chdir(m_previous.c_str()), 0);
    }

    void stage0(DWORD colourArg) {
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, colourArg);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, colourArg);
        device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    }

    void pointSampling(DWORD sampler, DWORD address) {
        device->SetSamplerState(sampler, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        device->SetSamplerState(sampler, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        device->SetSamplerState(sampler, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
        device->SetSamplerState(sampler, D3DSAMP_ADDRESSU, address);
        device->SetSamplerState(sampler, D3DSAMP_ADDRESSV, address);
    }

    // A 20 x 20 quad in the z = 0 plane facing -z, u along x and v down the quad, as the scene
    // builds it: system memory first, tangents, then the 16-bit clone (or not).
    ID3DXMesh* quadMesh(bool clone) {
        const SceneVertex corners[4] = {{{-10, 10, 0}, {0, 0, -1}, {0, 0}, {}, {}},
                                        {{10, 10, 0}, {0, 0, -1}, {1, 0}, {}, {}},
                                        {{-10, -10, 0}, {0, 0, -1}, {0, 1}, {}, {}},
                                        {{10, -10, 0}, {0, 0, -1}, {1, 1}, {}, {}}};
        const uint32_t indices[6] = {0, 1, 2, 2, 1, 3};
        ID3DXMesh* mesh = nullptr;
        EXPECT_EQ(D3DXCreateMesh(2, 4, D3DXMESH_32BIT | D3DXMESH_SYSTEMMEM, kSceneVertexDeclaration,
                                 device, &mesh),
                  D3D_OK);
        void* data = nullptr;
        mesh->LockVertexBuffer(0, &data);
        std::memcpy(data, corners, sizeof corners);
        mesh->LockIndexBuffer(0, &data);
        std::memcpy(data, indices, sizeof indices);
        D3DXComputeTangentFrameEx(mesh, D3DDECLUSAGE_TEXCOORD, 0, D3DDECLUSAGE_TANGENT, 0,
                                  D3DDECLUSAGE_BINORMAL, 0, D3DX_DEFAULT, 0, 0, nullptr, -1.01f,
                                  -0.01f, -1.01f, nullptr, nullptr);
        mesh->UnlockVertexBuffer();
        mesh->UnlockIndexBuffer();
        if (clone) {
            ID3DXMesh* cloned = nullptr;
            EXPECT_EQ(mesh->CloneMesh(D3DXMESH_WRITEONLY, kSceneVertexDeclaration, device, &cloned),
                      D3D_OK);
            mesh->Release();
            mesh = cloned;
        }
        return mesh;
    }

    Rgba finish(int x, int y) {
        device->EndScene();
        const Rgba p = m_device.pixel(x, y);
        device->BeginScene();
        return p;
    }

    TestDevice m_device{16, 16, D3DFMT_A8R8G8B8};
    IDirect3DDevice9* device = nullptr;
    std::string m_previous;
};

} // namespace

TEST_F(Drawing, NullProgramDrawsTheClonedAndTheFallbackMeshInTheirDiffuseColour) {
    NullVertexShader program;
    program.create();
    ASSERT_TRUE(program.ready());
    for (bool clone : {true, false}) {
        SCOPED_TRACE(clone ? "16-bit clone" : "system-memory fallback");
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        ID3DXMesh* mesh = quadMesh(clone);
        stage0(D3DTA_DIFFUSE);
        program.bind();
        // Half the screen across, moved right by a quarter: the fourth row carries the
        // translation.
        Matrix4 m = scaleAndDepth(0.05f, 0.5f);
        m.m[3][0] = 0.5f;
        program.setWorldViewProj(m);
        program.setDiffuseColor(Vec4(0.25f, 0.5f, 0.75f, 1.0f));
        mesh->DrawSubset(0);
        const Rgba inside = finish(13, 8);
        EXPECT_TRUE(near(inside, 64, 128, 191)) << show(inside);
        EXPECT_TRUE(near(m_device.pixel(5, 8), 0, 0, 0)) << show(m_device.pixel(5, 8));
        mesh->Release();
    }
}

TEST_F(Drawing, NormalMapProgramEncodesTheLightVectorColourAndFalloff) {
    NormalMapVertexShader program;
    program.create();
    ASSERT_TRUE(program.ready());
    ID3DXMesh* mesh = quadMesh(true);
    program.bind();
    program.setWorldViewProj(scaleAndDepth(0.1f, 0.5f));
    program.setInvWorld(Matrix4());
    program.setLightPosition(Vec4(0, 0, -10, 1));
    program.setDiffuseColor(Vec4(0.2f, 0.4f, 0.6f, 1.0f));
    program.setRadius(20.0f);

    // The diffuse output: the unit direction to the light in (tangent, binormal, normal),
    // stored as (v + 1) / 2 at the corners and interpolated. At the centre the corners' x and
    // y cancel and z is 1 / sqrt(3) everywhere.
    stage0(D3DTA_DIFFUSE);
    mesh->DrawSubset(0);
    const Rgba centre = finish(8, 8);
    const int z = int(std::lround((0.5 + 0.5 / std::sqrt(3.0)) * 255));
    EXPECT_TRUE(near(centre, 128, 128, z, 8)) << show(centre);
    // The light lies to the right of the quad's left edge (+tangent) and below its top
    // (+binormal, which points down the texture's v).
    const Rgba topLeft = m_device.pixel(1, 1);
    EXPECT_GT(topLeft.r, 170) << show(topLeft);
    EXPECT_GT(topLeft.g, 170) << show(topLeft);
    const Rgba bottomRight = m_device.pixel(14, 14);
    EXPECT_LT(bottomRight.r, 85) << show(bottomRight);
    EXPECT_LT(bottomRight.g, 85) << show(bottomRight);

    // The specular output carries the light's colour.
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    stage0(D3DTA_SPECULAR);
    mesh->DrawSubset(0);
    const Rgba colour = finish(8, 8);
    EXPECT_TRUE(near(colour, 51, 102, 153)) << show(colour);

    // Texture set 1: (position - light) / radius, here x / 20 across the quad; read through a
    // ramp texture whose texel i is red i * 16.
    std::vector<uint32_t> ramp;
    for (uint32_t i = 0; i < 16; ++i) {
        ramp.push_back(0xFF000000u | (i * 16) << 16);
    }
    IDirect3DTexture9* texture = m_device.texture(16, 1, ramp);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->SetTexture(0, texture);
    pointSampling(0, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 1);
    stage0(D3DTA_TEXTURE);
    mesh->DrawSubset(0);
    // Column 12 sees x = 5.625, u = 0.28125: texel 4. Column 2: x < 0, clamped to texel 0.
    const Rgba falloff = finish(12, 8);
    EXPECT_TRUE(near(falloff, 64, 0, 0)) << show(falloff);
    EXPECT_TRUE(near(m_device.pixel(2, 8), 0, 0, 0)) << show(m_device.pixel(2, 8));
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTexture(0, nullptr);
    texture->Release();
    mesh->Release();
}

TEST_F(Drawing, GlowProgramsBlurAlongOneAxisAtTexelCentres) {
    GlowVertexShader vertex;
    GlowPixelShader pixel;
    vertex.create();
    pixel.create();
    ASSERT_TRUE(vertex.ready() && pixel.ready());
    std::vector<uint32_t> column(16 * 16, 0xFF000000u);
    for (int y = 0; y < 16; ++y) {
        column[y * 16 + 8] = 0xFFFFFFFFu;
    }
    IDirect3DTexture9* texture = m_device.texture(16, 16, column);
    // The engine's screen quad: clip-space corners, u = (x + 1) / 2, v = (y + 1) / 2.
    const QuadVertex quad[6] = {{-1, 1, 0, 0, 1},  {1, 1, 0, 1, 1}, {-1, -1, 0, 0, 0},
                                {-1, -1, 0, 0, 0}, {1, 1, 0, 1, 1}, {1, -1, 0, 1, 0}};
    device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
    device->SetTexture(0, texture);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    vertex.bind();
    pixel.bind();
    vertex.setBlur(1.0f / 16.0f); // one texel between taps
    vertex.setOffset(16, 16);
    vertex.setHorizontal(true);
    pixel.setGlowColor(Vec4(1, 1, 1, 1));
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(QuadVertex));
    // Binomial weights 1 6 15 20 15 6 1 over 64, centred on the bright column.
    const int expected[] = {0, 4, 24, 60, 80, 60, 24, 4, 0};
    for (int x = 4; x <= 12; ++x) {
        const Rgba p = x == 4 ? finish(x, 5) : m_device.pixel(x, 5);
        EXPECT_NEAR(p.r, expected[x - 4], 3) << "column " << x << " " << show(p);
    }

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    vertex.setHorizontal(false);
    pixel.setGlowColor(Vec4(0.5f, 0.5f, 0.5f, 1.0f));
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(QuadVertex));
    const Rgba along = finish(8, 5);
    EXPECT_NEAR(along.r, 128, 3) << show(along);
    EXPECT_NEAR(m_device.pixel(7, 5).r, 0, 3);
    device->SetPixelShader(nullptr);
    device->SetTexture(0, nullptr);
    texture->Release();
}

TEST_F(Drawing, AlphaProgramTintsATextureMadeFromAPng) {
    NullVertexShader vertex;
    AlphaPixelShader pixel;
    vertex.create();
    pixel.create();
    ASSERT_TRUE(vertex.ready() && pixel.ready());
    const uint8_t rgba[] = {200, 100, 50, 128};
    const auto png = encodePng(rgba, 1, 1, PNG_FORMAT_RGBA);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileInMemoryEx(device, png.data(), UINT(png.size()),
                                                  D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                                  D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                                  D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              D3D_OK);
    ID3DXMesh* mesh = quadMesh(true);
    device->SetTexture(0, texture);
    vertex.bind();
    pixel.bind();
    vertex.setWorldViewProj(scaleAndDepth(0.1f, 0.5f));
    vertex.setDiffuseColor(Vec4(1.0f, 0.5f, 0.25f, 1.0f)); // the material's glow colour
    mesh->DrawSubset(0);
    // texture x glow x texture alpha: (200, 50, 12.5) x 128 / 255; the texture's alpha stays.
    const Rgba p = finish(8, 8);
    EXPECT_TRUE(near(p, 100, 25, 6)) << show(p);
    EXPECT_NEAR(p.a, 128, 3) << show(p);
    device->SetPixelShader(nullptr);
    device->SetTexture(0, nullptr);
    texture->Release();
    mesh->Release();
}

TEST_F(Drawing, ParticleProgramDrawsCameraFacingSquares) {
    ParticleVertexShader program;
    program.create();
    ASSERT_TRUE(program.ready());
    // A 2 x 2 texture: red, green above blue, white.
    IDirect3DTexture9* texture =
        m_device.texture(2, 2, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu});
    const float corners[6][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    ParticleVertex vertices[6];
    for (int i = 0; i < 6; ++i) {
        vertices[i] = {corners[i][0], corners[i][1], 0.0f, 0xFFFFFFFFu, 0.0f, 0.0f, 0.5f, 0.5f};
    }
    device->SetFVF(0x20142);
    device->SetTexture(0, texture);
    pointSampling(0, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    program.bind();
    // A camera at the origin looking down +z with an identity projection: right is +x, up +y,
    // whatever the view's last row holds.
    Matrix4 view;
    view.m[3][0] = 7.0f;
    view.m[3][1] = 9.0f;
    program.setCameraMatrices(view, Matrix4());
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, vertices, sizeof(ParticleVertex));
    // The square spans clip [-0.5, 0.5]: pixels 4 to 11.
    EXPECT_TRUE(near(finish(5, 5), 255, 0, 0)) << show(m_device.pixel(5, 5));
    EXPECT_TRUE(near(m_device.pixel(10, 5), 0, 255, 0)) << show(m_device.pixel(10, 5));
    EXPECT_TRUE(near(m_device.pixel(5, 10), 0, 0, 255)) << show(m_device.pixel(5, 10));
    EXPECT_TRUE(near(m_device.pixel(10, 10), 255, 255, 255)) << show(m_device.pixel(10, 10));
    EXPECT_TRUE(near(m_device.pixel(2, 2), 0, 0, 0)) << show(m_device.pixel(2, 2));
    device->SetTexture(0, nullptr);
    texture->Release();
}
