// Vertex and pixel programs from shader blobs: constant registers, samplers by register,
// varyings shared with the fixed-function stages, alpha test on program output.

#include "D3d9TestDevice.h"

#include <tarnelix/ShaderBlob.h>

#include <gtest/gtest.h>

using namespace tarnelix;
using namespace tarnelix::test;

namespace {

const char* const kVertexGlsl = R"(#version 330
in vec4 in_POSITION0;
in vec4 in_COLOR0;
layout(std140) uniform VSConstants {
    vec4 offset;
    uint useGreen;
};
uniform vec4 tx_PosFixup;
out vec4 tx_v_COLOR0;
out vec2 tx_v_TEXCOORD0;
void main()
{
    gl_Position = vec4(in_POSITION0.xyz + offset.xyz, 1.0);
    tx_v_COLOR0 = useGreen != 0u ? vec4(0.0, 1.0, 0.0, 1.0) : clamp(in_COLOR0, 0.0, 1.0);
    tx_v_TEXCOORD0 = vec2(0.25, 0.25);
    gl_Position.xy = gl_Position.xy * tx_PosFixup.xy + tx_PosFixup.zw * gl_Position.w;
}
)";

const char* const kPixelGlsl = R"(#version 330
in vec4 tx_v_COLOR0;
layout(std140) uniform PSConstants {
    vec4 tint;
};
uniform sampler2D tex;
out vec4 out_COLOR0;
void main()
{
    out_COLOR0 = tx_v_COLOR0 * tint * texture(tex, vec2(0.5, 0.5));
}
)";

std::vector<uint32_t> vertexBlob() {
    ShaderBlob blob;
    blob.stage = ShaderStage::Vertex;
    blob.glsl = kVertexGlsl;
    blob.uniformBlock = "VSConstants";
    blob.uniformBlockSize = 32;
    blob.inputs = {{"in_POSITION0", D3DDECLUSAGE_POSITION, 0},
                   {"in_COLOR0", D3DDECLUSAGE_COLOR, 0}};
    blob.outputs = {{"tx_v_COLOR0", D3DDECLUSAGE_COLOR, 0},
                    {"tx_v_TEXCOORD0", D3DDECLUSAGE_TEXCOORD, 0}};
    ShaderConstant offset;
    offset.name = "offset";
    offset.glslName = "offset";
    offset.registerIndex = 3;
    blob.constants.push_back(offset);
    ShaderConstant flag;
    flag.name = "useGreen";
    flag.glslName = "useGreen";
    flag.set = RegisterSet::Bool;
    flag.registerIndex = 2;
    flag.uniformOffset = 16;
    flag.bytesPerRegister = 4;
    blob.constants.push_back(flag);
    return serializeShaderBlob(blob);
}

std::vector<uint32_t> pixelBlob() {
    ShaderBlob blob;
    blob.stage = ShaderStage::Pixel;
    blob.glsl = kPixelGlsl;
    blob.uniformBlock = "PSConstants";
    blob.uniformBlockSize = 16;
    blob.inputs = {{"tx_v_COLOR0", D3DDECLUSAGE_COLOR, 0}};
    blob.outputs = {{"out_COLOR0", D3DDECLUSAGE_COLOR, 0}};
    ShaderConstant tint;
    tint.name = "tint";
    tint.glslName = "tint";
    blob.constants.push_back(tint);
    ShaderConstant sampler;
    sampler.name = "tex";
    sampler.glslName = "tex";
    sampler.set = RegisterSet::Sampler;
    sampler.registerIndex = 1;
    blob.constants.push_back(sampler);
    return serializeShaderBlob(blob);
}

struct Shaders {
    IDirect3DVertexShader9* vertex = nullptr;
    IDirect3DPixelShader9* pixel = nullptr;
    explicit Shaders(IDirect3DDevice9* device) {
        if (device == nullptr) {
            return;
        }
        std::vector<uint32_t> vs = vertexBlob();
        std::vector<uint32_t> ps = pixelBlob();
        device->CreateVertexShader(reinterpret_cast<const DWORD*>(vs.data()), &vertex);
        device->CreatePixelShader(reinterpret_cast<const DWORD*>(ps.data()), &pixel);
    }
    ~Shaders() {
        if (vertex) {
            vertex->Release();
        }
        if (pixel) {
            pixel->Release();
        }
    }
};

void drawFullQuad(IDirect3DDevice9* device, D3DCOLOR colour) {
    ClipVertex quad[6];
    clipQuad(quad, -1, -1, 1, 1, 0.5f, colour);
    device->SetFVF(kClipFvf);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ClipVertex));
}

// An 8 x 8 target cleared to black, with the two programs made and not yet bound.
class D3d9Shader : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    }

    TestDevice t{8, 8};
    Shaders shaders{t.device};
};

} // namespace

TEST_F(D3d9Shader, ProgramsReadConstantRegistersAndSamplersByRegister) {
    ASSERT_NE(shaders.vertex, nullptr);
    ASSERT_NE(shaders.pixel, nullptr);
    IDirect3DTexture9* grey = t.texture(1, 1, {0xFF808080});
    t.device->SetTexture(1, grey);
    t.device->SetVertexShader(shaders.vertex);
    t.device->SetPixelShader(shaders.pixel);
    t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    float offset[4] = {1.0f, 0.0f, 0.0f, 0.0f}; // moves the quad half off the screen
    t.device->SetVertexShaderConstantF(3, offset, 1);
    float tint[4] = {1.0f, 1.0f, 0.5f, 1.0f};
    t.device->SetPixelShaderConstantF(0, tint, 1);
    drawFullQuad(t.device, 0xFFFFFFFF);
    Rgba right = t.pixel(6, 3);
    EXPECT_NEAR(right.r, 128, 1);
    EXPECT_NEAR(right.b, 64, 1);
    EXPECT_EQ(t.pixel(1, 3).r, 0);
    BOOL on = TRUE;
    t.device->SetVertexShaderConstantB(2, &on, 1);
    drawFullQuad(t.device, 0xFFFFFFFF);
    EXPECT_EQ(t.pixel(6, 3).r, 0);
    EXPECT_NEAR(t.pixel(6, 3).g, 128, 1);
    grey->Release();
}

TEST_F(D3d9Shader, AVertexProgramFeedsTheFixedFunctionStages) {
    IDirect3DTexture9* texture = t.texture(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
    t.device->SetVertexShader(shaders.vertex);
    t.device->SetTexture(0, texture);
    t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    // Default stage 0: texture (at the program's vec2 coordinate 0.25, 0.25: red) x diffuse.
    drawFullQuad(t.device, 0xFF808080);
    Rgba p = t.pixel(4, 4);
    EXPECT_NEAR(p.r, 128, 1);
    EXPECT_EQ(p.g, 0);
    texture->Release();
}

TEST_F(D3d9Shader, PretransformedVerticesBypassTheVertexProgramAndFeedThePixelProgram) {
    IDirect3DTexture9* white = t.texture(1, 1, {0xFFFFFFFF});
    t.device->SetTexture(1, white);
    t.device->SetVertexShader(shaders.vertex);
    t.device->SetPixelShader(shaders.pixel);
    float offset[4] = {5.0f, 5.0f, 0.0f, 0.0f}; // would move everything off screen
    t.device->SetVertexShaderConstantF(3, offset, 1);
    float tint[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    t.device->SetPixelShaderConstantF(0, tint, 1);
    ScreenVertex quad[6];
    screenQuad(quad, 0, 0, 4, 8, 0.5f, 0xFF00FFFF);
    t.device->SetFVF(kScreenFvf);
    ASSERT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)), D3D_OK);
    EXPECT_EQ(t.pixel(1, 1).g, 255);
    EXPECT_EQ(t.pixel(1, 1).b, 255);
    EXPECT_EQ(t.pixel(5, 1).g, 0);
    white->Release();
}

TEST_F(D3d9Shader, AlphaTestAppliesToPixelProgramOutput) {
    IDirect3DTexture9* white = t.texture(1, 1, {0xFFFFFFFF});
    t.device->SetTexture(1, white);
    t.device->SetPixelShader(shaders.pixel);
    t.device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    t.device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    t.device->SetRenderState(D3DRS_ALPHAREF, 128);
    float tint[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    t.device->SetPixelShaderConstantF(0, tint, 1);
    ScreenVertex quad[6];
    screenQuad(quad, 0, 0, 4, 8, 0.5f, D3DCOLOR_ARGB(128, 255, 0, 0));
    t.device->SetFVF(kScreenFvf);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    screenQuad(quad, 4, 0, 8, 8, 0.5f, D3DCOLOR_ARGB(129, 255, 0, 0));
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    EXPECT_EQ(t.pixel(1, 1).r, 0);
    EXPECT_EQ(t.pixel(6, 1).r, 255);
    // The same program with the test switched off, then on again with another function.
    screenQuad(quad, 0, 0, 4, 8, 0.5f, D3DCOLOR_ARGB(128, 255, 0, 0));
    t.device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    EXPECT_EQ(t.pixel(1, 1).r, 255);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    t.device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    t.device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_LESSEQUAL);
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    EXPECT_EQ(t.pixel(1, 1).r, 255);
    screenQuad(quad, 4, 0, 8, 8, 0.5f, D3DCOLOR_ARGB(129, 255, 0, 0));
    t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    EXPECT_EQ(t.pixel(6, 1).r, 0);
    white->Release();
}

// Bytecode from Direct3D's offline compiler is a feature the device does not have: it answers
// D3DERR_NOTAVAILABLE, as for a card without it, while anything else unreadable is a bad call.
TEST_F(D3d9Shader, OfflineCompilerBytecodeIsNotAvailable) {
    const DWORD vs30[] = {0xFFFE0300, 0x0000FFFF};
    const DWORD ps20[] = {0xFFFF0200, 0x0000FFFF};
    const DWORD garbage[] = {0x12345678, 0x0000FFFF};
    IDirect3DVertexShader9* vertex = reinterpret_cast<IDirect3DVertexShader9*>(1);
    IDirect3DPixelShader9* pixel = reinterpret_cast<IDirect3DPixelShader9*>(1);
    EXPECT_EQ(t.device->CreateVertexShader(vs30, &vertex), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(vertex, nullptr);
    EXPECT_EQ(t.device->CreatePixelShader(ps20, &pixel), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(pixel, nullptr);
    EXPECT_EQ(t.device->CreatePixelShader(vs30, &pixel), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(t.device->CreateVertexShader(garbage, &vertex), D3DERR_INVALIDCALL);
    // This system's compiled programs still load.
    EXPECT_NE(shaders.vertex, nullptr);
    EXPECT_NE(shaders.pixel, nullptr);
}

// The constant registers run to the caps' count for vertex programs and 224 for pixel ones.
TEST_F(D3d9Shader, ConstantRegistersEndWhereTheCapsSay) {
    D3DCAPS9 caps{};
    t.device->GetDeviceCaps(&caps);
    const UINT last = caps.MaxVertexShaderConst - 1;
    const float value[4] = {1, 2, 3, 4};
    EXPECT_EQ(t.device->SetVertexShaderConstantF(last, value, 1), D3D_OK);
    EXPECT_EQ(t.device->SetVertexShaderConstantF(last, value, 2), D3DERR_INVALIDCALL);
    float back[4] = {};
    EXPECT_EQ(t.device->GetVertexShaderConstantF(last, back, 1), D3D_OK);
    EXPECT_EQ(back[3], 4.0f);
    EXPECT_EQ(t.device->SetPixelShaderConstantF(223, value, 1), D3D_OK);
    EXPECT_EQ(t.device->SetPixelShaderConstantF(224, value, 1), D3DERR_INVALIDCALL);
}
