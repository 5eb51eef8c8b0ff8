// The show's own HLSL programs, compiled by the extension library's compiler and run on the
// device: the blob contract (constants, varyings, position fix-up) from end to end.

#include "D3d9TestDevice.h"

#include <d3dx9.h>

#include <gtest/gtest.h>

#include <string>

using namespace tarnelix::test;

namespace {

std::string dataFile(const char* name) {
    return std::string(TARNELIX_DATA_DIR) + "/" + name;
}

template <class Shader> struct Compiled {
    Shader* shader = nullptr;
    ID3DXConstantTable* constants = nullptr;
    ~Compiled() {
        if (shader) {
            shader->Release();
        }
        if (constants) {
            constants->Release();
        }
    }
};

bool compileVertex(IDirect3DDevice9* device, const char* file, Compiled<IDirect3DVertexShader9>& out) {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    HRESULT result = D3DXCompileShaderFromFileA(dataFile(file).c_str(), nullptr, nullptr, "main",
                                                "vs_2_0", 0, &code, &errors, &out.constants);
    if (errors) {
        errors->Release();
    }
    if (FAILED(result)) {
        return false;
    }
    result = device->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()),
                                        &out.shader);
    code->Release();
    return SUCCEEDED(result);
}

bool compilePixel(IDirect3DDevice9* device, const char* file, Compiled<IDirect3DPixelShader9>& out) {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    HRESULT result = D3DXCompileShaderFromFileA(dataFile(file).c_str(), nullptr, nullptr, "main",
                                                "ps_2_0", 0, &code, &errors, &out.constants);
    if (errors) {
        errors->Release();
    }
    if (FAILED(result)) {
        return false;
    }
    result = device->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()),
                                       &out.shader);
    code->Release();
    return SUCCEEDED(result);
}

struct MeshVertex { // D3DFVF_XYZ | D3DFVF_TEX1
    float x, y, z, u, v;
};

void drawQuad(IDirect3DDevice9* device, float x0, float y0, float x1, float y1) {
    MeshVertex quad[6] = {{x0, y1, 0.5f, 0, 0}, {x1, y1, 0.5f, 1, 0}, {x0, y0, 0.5f, 0, 1},
                          {x0, y0, 0.5f, 0, 1}, {x1, y1, 0.5f, 1, 0}, {x1, y0, 0.5f, 1, 1}};
    device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(MeshVertex));
}

} // namespace

TEST(D3d9Hlsl, NullVertexShaderTransformsAndFeedsTheFixedFunctionStages) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    Compiled<IDirect3DVertexShader9> vs;
    ASSERT_TRUE(compileVertex(t.device, "nullvertexshader.vsh", vs));
    D3DXMATRIX matrix;
    D3DXMatrixIdentity(&matrix);
    matrix._41 = 1.0f; // a translation in the fourth row moves the quad right by half the screen
    ASSERT_EQ(vs.constants->SetMatrix(t.device, vs.constants->GetConstantByName(nullptr,
                                                                                "worldViewProj"),
                                      &matrix),
              D3D_OK);
    D3DXVECTOR4 colour(0.5f, 1.0f, 0.25f, 1.0f);
    vs.constants->SetVector(t.device, vs.constants->GetConstantByName(nullptr, "diffuseColor"),
                            &colour);
    t.device->SetVertexShader(vs.shader);
    t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    t.device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    drawQuad(t.device, -1.0f, -1.0f, 0.0f, 1.0f);
    Rgba drawn = t.pixel(5, 3);
    EXPECT_NEAR(drawn.r, 128, 1);
    EXPECT_EQ(drawn.g, 255);
    EXPECT_NEAR(drawn.b, 64, 1);
    EXPECT_EQ(t.pixel(2, 3).g, 0);
}

TEST(D3d9Hlsl, AlphaPixelShaderWeightsTheTextureByItsAlpha) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    Compiled<IDirect3DVertexShader9> vs;
    Compiled<IDirect3DPixelShader9> ps;
    ASSERT_TRUE(compileVertex(t.device, "nullvertexshader.vsh", vs));
    ASSERT_TRUE(compilePixel(t.device, "alphapixelshader.psh", ps));
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    vs.constants->SetMatrix(t.device, vs.constants->GetConstantByName(nullptr, "worldViewProj"),
                            &identity);
    D3DXVECTOR4 glow(1.0f, 0.5f, 1.0f, 1.0f);
    vs.constants->SetVector(t.device, vs.constants->GetConstantByName(nullptr, "diffuseColor"),
                            &glow);
    IDirect3DTexture9* texture = t.texture(1, 1, {D3DCOLOR_ARGB(128, 255, 255, 0)});
    t.device->SetTexture(0, texture);
    t.device->SetVertexShader(vs.shader);
    t.device->SetPixelShader(ps.shader);
    t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    drawQuad(t.device, -1.0f, -1.0f, 1.0f, 1.0f);
    Rgba p = t.pixel(4, 4);
    EXPECT_NEAR(p.r, 128, 1);
    EXPECT_NEAR(p.g, 64, 1);
    EXPECT_EQ(p.b, 0);
    EXPECT_NEAR(p.a, 128, 1);
    texture->Release();
}
