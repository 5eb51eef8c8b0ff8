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

bool compileVertex(IDirect3DDevice9* device, const char* file,
                   Compiled<IDirect3DVertexShader9>& out) {
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

bool compilePixel(IDirect3DDevice9* device, const char* file,
                  Compiled<IDirect3DPixelShader9>& out) {
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
    result =
        device->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()), &out.shader);
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
    ASSERT_EQ(vs.constants->SetMatrix(
                  t.device, vs.constants->GetConstantByName(nullptr, "worldViewProj"), &matrix),
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

TEST(D3d9Hlsl, NormalMapVertexShaderDrivesTheThreeLightStages) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    Compiled<IDirect3DVertexShader9> vs;
    ASSERT_TRUE(compileVertex(t.device, "normalmapvertexshader.vsh", vs));
    ID3DXConstantTable* c = vs.constants;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    c->SetMatrix(t.device, c->GetConstantByName(nullptr, "worldViewProj"), &identity);
    c->SetMatrix(t.device, c->GetConstantByName(nullptr, "invWorld"), &identity);
    D3DXVECTOR4 light(0.0f, 0.0f, 1000.0f, 1.0f); // far along +z: the light vector is (0, 0, 1)
    c->SetVector(t.device, c->GetConstantByName(nullptr, "lightPosition"), &light);
    D3DXVECTOR4 colour(1.0f, 0.5f, 0.25f, 1.0f);
    c->SetVector(t.device, c->GetConstantByName(nullptr, "diffuseColor"), &colour);
    c->SetFloat(t.device, c->GetConstantByName(nullptr, "radius"), 0.001f);

    // A flat normal (0, 0, 1) dotted with the light vector gives white; the falloff volume
    // halves it; the light colour tints it.
    IDirect3DTexture9* normalMap = t.texture(1, 1, {0xFF8080FF});
    IDirect3DVolumeTexture9* falloff = nullptr;
    ASSERT_EQ(t.device->CreateVolumeTexture(1, 1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                            &falloff, nullptr),
              D3D_OK);
    D3DLOCKED_BOX box{};
    falloff->LockBox(0, &box, nullptr, 0);
    *static_cast<DWORD*>(box.pBits) = 0xFF808080;
    falloff->UnlockBox(0);

    D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                    {0, 12, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_NORMAL, 0},
                                    {0, 24, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                    {0, 32, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_TANGENT, 0},
                                    {0, 44, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_BINORMAL, 0},
                                    D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(t.device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
    struct Vertex {
        float x, y, z, nx, ny, nz, u, v, tx, ty, tz, bx, by, bz;
    } quad[4] = {{-1, 1, 0.5f, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1, 0},
                 {1, 1, 0.5f, 0, 0, 1, 1, 0, 1, 0, 0, 0, 1, 0},
                 {-1, -1, 0.5f, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1, 0},
                 {1, -1, 0.5f, 0, 0, 1, 1, 1, 1, 0, 0, 0, 1, 0}};

    IDirect3DDevice9* d = t.device;
    d->SetVertexDeclaration(declaration);
    d->SetVertexShader(vs.shader);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetTexture(0, normalMap);
    d->SetTexture(1, falloff);
    d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DOTPRODUCT3);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    d->SetSamplerState(1, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRRORONCE);
    d->SetSamplerState(1, D3DSAMP_ADDRESSV, D3DTADDRESS_MIRRORONCE);
    d->SetSamplerState(1, D3DSAMP_ADDRESSW, D3DTADDRESS_MIRRORONCE);
    d->SetTextureStageState(2, D3DTSS_TEXCOORDINDEX, 2);
    d->SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(2, D3DTSS_COLORARG1, D3DTA_CURRENT);
    d->SetTextureStageState(2, D3DTSS_COLORARG2, D3DTA_SPECULAR);
    d->SetTextureStageState(2, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
    Rgba p = t.pixel(4, 4);
    EXPECT_NEAR(p.r, 128, 2);
    EXPECT_NEAR(p.g, 64, 2);
    EXPECT_NEAR(p.b, 32, 2);
    declaration->Release();
    falloff->Release();
    normalMap->Release();
}
