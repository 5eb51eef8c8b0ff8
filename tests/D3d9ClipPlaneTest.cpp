// User clip planes: a point is kept where plane . (x, y, z, w) >= 0, with the planes in world
// space for the fixed-function pipeline and in clip space for vertex programs. Pre-transformed
// vertices are not clipped.

#include "D3d9TestDevice.h"

#include <tarnelix/ShaderBlob.h>

#include <gtest/gtest.h>

using namespace tarnelix;
using namespace tarnelix::test;

namespace {

class ClipPlanes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        d = t.device;
        t.startUnlitDrawing(kClipFvf);
    }

    // The whole target in clip space, white; then the lit columns of row 2 and rows of
    // column 2 (both in the top left quarter) as bit masks.
    void drawWhole() {
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        ClipVertex quad[6];
        clipQuad(quad, -1, -1, 1, 1, 0.5f, 0xFFFFFFFF);
        ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ClipVertex)), D3D_OK);
    }
    uint32_t litColumns() {
        std::vector<uint32_t> pixels = t.read();
        uint32_t mask = 0;
        for (UINT x = 0; x < t.width; ++x) {
            mask |= (pixels[2 * t.width + x] & 0xFF) ? 1u << x : 0;
        }
        return mask;
    }
    uint32_t litRows() {
        std::vector<uint32_t> pixels = t.read();
        uint32_t mask = 0;
        for (UINT y = 0; y < t.height; ++y) {
            mask |= (pixels[y * t.width + 2] & 0xFF) ? 1u << y : 0;
        }
        return mask;
    }

    TestDevice t{8, 8};
    IDirect3DDevice9* d = nullptr;
};

const float kKeepLeft[4] = {-1, 0, 0, 0}; // x <= 0
const float kKeepTop[4] = {0, 1, 0, 0};   // y >= 0

} // namespace

TEST_F(ClipPlanes, FixedFunctionPlanesAreInWorldSpace) {
    // proves: MaxUserClipPlanes (6)
    D3DCAPS9 caps{};
    ASSERT_EQ(d->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.MaxUserClipPlanes, 6u);
    ASSERT_EQ(d->SetClipPlane(5, kKeepLeft), D3D_OK);
    float back[4] = {};
    ASSERT_EQ(d->GetClipPlane(5, back), D3D_OK);
    EXPECT_EQ(back[0], -1.0f);
    EXPECT_EQ(d->SetClipPlane(D3DMAXUSERCLIPPLANES, kKeepLeft), D3DERR_INVALIDCALL);
    // A plane that is set but not enabled clips nothing.
    drawWhole();
    EXPECT_EQ(litColumns(), 0xFFu);
    d->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE5);
    drawWhole();
    EXPECT_EQ(litColumns(), 0x0Fu);
    // The world moves the quad half a target right; the plane stays where the world has it.
    D3DMATRIX world{};
    world._11 = world._22 = world._33 = world._44 = 1.0f;
    world._41 = 1.0f;
    d->SetTransform(D3DTS_WORLD, &world);
    drawWhole();
    EXPECT_EQ(litColumns(), 0x00u);
    world._41 = 0.5f;
    d->SetTransform(D3DTS_WORLD, &world);
    drawWhole();
    EXPECT_EQ(litColumns(), 0x0Cu); // the quad from column 2, the plane at column 4
    // Two planes at once.
    world._41 = 0.0f;
    d->SetTransform(D3DTS_WORLD, &world);
    d->SetClipPlane(0, kKeepTop);
    d->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0 | D3DCLIPPLANE5);
    drawWhole();
    EXPECT_EQ(litColumns(), 0x0Fu);
    EXPECT_EQ(litRows(), 0x0Fu);
}

TEST_F(ClipPlanes, PretransformedVerticesAreNotClipped) {
    d->SetClipPlane(0, kKeepLeft);
    d->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0);
    d->SetFVF(kScreenFvf);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    ScreenVertex quad[6];
    screenQuad(quad, 0, 0, 8, 8, 0.5f, 0xFFFFFFFF);
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)), D3D_OK);
    EXPECT_EQ(litColumns(), 0xFFu);
}

namespace {

// Passes the position through: clip space is the vertex's own.
std::vector<uint32_t> passThroughBlob() {
    ShaderBlob blob;
    blob.stage = ShaderStage::Vertex;
    blob.glsl = "#version 330\n"
                "in vec4 in_POSITION0;\n"
                "uniform vec4 tx_PosFixup;\n"
                "out vec4 tx_v_COLOR0;\n"
                "void main()\n{\n"
                "    gl_Position = vec4(in_POSITION0.xyz, 1.0);\n"
                "    tx_v_COLOR0 = vec4(1.0);\n"
                "    gl_Position.xy = gl_Position.xy * tx_PosFixup.xy + tx_PosFixup.zw * "
                "gl_Position.w;\n"
                "}\n";
    blob.inputs = {{"in_POSITION0", D3DDECLUSAGE_POSITION, 0}};
    blob.outputs = {{"tx_v_COLOR0", D3DDECLUSAGE_COLOR, 0}};
    return serializeShaderBlob(blob);
}

} // namespace

TEST_F(ClipPlanes, VertexProgramPlanesAreInClipSpace) {
    std::vector<uint32_t> blob = passThroughBlob();
    IDirect3DVertexShader9* shader = nullptr;
    ASSERT_EQ(d->CreateVertexShader(reinterpret_cast<const DWORD*>(blob.data()), &shader), D3D_OK);
    d->SetVertexShader(shader);
    // The world matrix is no part of a program's clip space.
    D3DMATRIX world{};
    world._11 = world._22 = world._33 = world._44 = 1.0f;
    world._41 = 0.5f;
    d->SetTransform(D3DTS_WORLD, &world);
    d->SetClipPlane(0, kKeepLeft);
    d->SetClipPlane(1, kKeepTop);
    d->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0);
    drawWhole();
    EXPECT_EQ(litColumns(), 0x0Fu);
    d->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE1);
    drawWhole();
    EXPECT_EQ(litColumns(), 0xFFu);
    EXPECT_EQ(litRows(), 0x0Fu); // y up in clip space: the top rows
    d->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    drawWhole();
    EXPECT_EQ(litRows(), 0xFFu);
    d->SetVertexShader(nullptr);
    shader->Release();
}
