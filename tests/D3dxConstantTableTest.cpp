#include "MemoryDevice.h"

#include "tarnelix/ShaderBlob.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string dataFile(const char* name) {
    return std::string(TARNELIX_DATA_DIR) + "/" + name;
}

class ConstantTables : public ::testing::Test {
protected:
    ~ConstantTables() override {
        if (table != nullptr) {
            table->Release();
        }
        if (code != nullptr) {
            code->Release();
        }
        device->Release();
    }

    void compile(const char* file, const char* profile) {
        ID3DXBuffer* messages = nullptr;
        const HRESULT hr = D3DXCompileShaderFromFileA(dataFile(file).c_str(), nullptr, nullptr,
                                                      "main", profile, 0, &code, &messages, &table);
        ASSERT_EQ(hr, D3D_OK) << (messages ? static_cast<const char*>(messages->GetBufferPointer())
                                           : "");
        if (messages != nullptr) {
            messages->Release();
        }
    }

    MemoryDevice* device = new MemoryDevice;
    ID3DXBuffer* code = nullptr;
    ID3DXConstantTable* table = nullptr;
};

} // namespace

TEST_F(ConstantTables, MatricesArriveTransposedInTheirRegisters) {
    compile("nullvertexshader.vsh", "vs_1_1");
    D3DXHANDLE wvp = table->GetConstantByName(nullptr, "worldViewProj");
    ASSERT_NE(wvp, nullptr);
    D3DXMATRIX m;
    for (int i = 0; i < 16; ++i) {
        m.m[i / 4][i % 4] = float(i);
    }
    ASSERT_EQ(table->SetMatrix(device, wvp, &m), D3D_OK);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(device->vertexFloats[r][c], m.m[c][r]) << r << c;
        }
    }
    const D3DXVECTOR4 colour(0.25f, 0.5f, 0.75f, 1.0f);
    ASSERT_EQ(table->SetVector(device, table->GetConstantByName(nullptr, "diffuseColor"), &colour),
              D3D_OK);
    EXPECT_EQ(device->vertexFloats[4][2], 0.75f);
}

TEST_F(ConstantTables, UnknownNamesAndNullHandlesWriteNothing) {
    compile("nullvertexshader.vsh", "vs_1_1");
    EXPECT_EQ(table->GetConstantByName(nullptr, "lightPosition"), nullptr);
    EXPECT_EQ(table->GetConstantByName(nullptr, nullptr), nullptr);
    const D3DXVECTOR4 v(1, 2, 3, 4);
    EXPECT_EQ(table->SetVector(device, nullptr, &v), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetFloat(device, nullptr, 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetVector(nullptr, table->GetConstantByName(nullptr, "diffuseColor"), &v),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->constantWrites, 0);
    // A name works as a handle too.
    EXPECT_EQ(table->SetVector(device, "diffuseColor", &v), D3D_OK);
    EXPECT_EQ(device->vertexFloats[4][3], 4.0f);
}

TEST_F(ConstantTables, FloatsBoolsAndDescriptions) {
    compile("glowvertexshader.vsh", "vs_1_1");
    D3DXHANDLE blur = table->GetConstantByName(nullptr, "blur");
    D3DXHANDLE hdir = table->GetConstantByName(nullptr, "hdir");
    ASSERT_EQ(table->SetFloat(device, blur, 0.012f), D3D_OK);
    EXPECT_EQ(device->vertexFloats[0][0], 0.012f);
    ASSERT_EQ(table->SetBool(device, hdir, TRUE), D3D_OK);
    EXPECT_EQ(device->vertexBools[0], TRUE);
    ASSERT_EQ(table->SetBool(device, hdir, FALSE), D3D_OK);
    EXPECT_EQ(device->vertexBools[0], FALSE);
    D3DXCONSTANT_DESC desc;
    UINT count = 1;
    ASSERT_EQ(table->GetConstantDesc(hdir, &desc, &count), D3D_OK);
    EXPECT_EQ(desc.RegisterSet, D3DXRS_BOOL);
    EXPECT_EQ(desc.Type, D3DXPT_BOOL);
    EXPECT_STREQ(desc.Name, "hdir");
    ASSERT_EQ(table->GetConstantDesc(table->GetConstantByName(nullptr, "offset"), &desc, &count),
              D3D_OK);
    EXPECT_EQ(desc.RegisterSet, D3DXRS_FLOAT4);
    EXPECT_EQ(desc.RegisterIndex, 1u);
    EXPECT_EQ(desc.Class, D3DXPC_VECTOR);
}

TEST_F(ConstantTables, PixelProgramsWritePixelRegistersAndNameSamplers) {
    compile("glowpixelshader.psh", "ps_2_0");
    const D3DXVECTOR4 glow(2, 2, 2, 1);
    ASSERT_EQ(table->SetVector(device, table->GetConstantByName(nullptr, "glowColor"), &glow),
              D3D_OK);
    EXPECT_EQ(device->pixelFloats[0][0], 2.0f);
    EXPECT_EQ(device->vertexFloats[0][0], 0.0f);
    D3DXHANDLE sampler = table->GetConstantByName(nullptr, "glowSource");
    EXPECT_EQ(table->GetSamplerIndex(sampler), 0u);
    EXPECT_EQ(table->SetFloat(device, sampler, 1.0f), D3DERR_INVALIDCALL);
}

TEST_F(ConstantTables, TheCodeIsABlobTheDeviceCanRead) {
    compile("normalmapvertexshader.vsh", "vs_1_1");
    tarnelix::ShaderBlob blob;
    ASSERT_TRUE(
        tarnelix::parseShaderBlob(static_cast<const uint32_t*>(code->GetBufferPointer()), blob));
    EXPECT_EQ(blob.stage, tarnelix::ShaderStage::Vertex);
    EXPECT_EQ(blob.versionMajor, 1u);
    EXPECT_EQ(code->GetBufferSize(),
              tarnelix::shaderBlobSize(static_cast<const uint32_t*>(code->GetBufferPointer())) * 4);
    ID3DXConstantTable* again = nullptr;
    ASSERT_EQ(
        D3DXGetShaderConstantTable(static_cast<const DWORD*>(code->GetBufferPointer()), &again),
        D3D_OK);
    EXPECT_NE(again->GetConstantByName(nullptr, "radius"), nullptr);
    again->Release();
    const DWORD garbage[4] = {1, 2, 3, 4};
    EXPECT_EQ(D3DXGetShaderConstantTable(garbage, &again), D3DXERR_INVALIDDATA);
    EXPECT_EQ(again, nullptr);
}

TEST(ShaderCompilation, MissingFilesAndErrorsComeBackAsMessages) {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* messages = nullptr;
    ID3DXConstantTable* table = nullptr;
    EXPECT_TRUE(FAILED(D3DXCompileShaderFromFileA("no-such-file.vsh", nullptr, nullptr, "main",
                                                  "vs_1_1", 0, &code, &messages, &table)));
    EXPECT_EQ(code, nullptr);
    EXPECT_EQ(table, nullptr);
    ASSERT_NE(messages, nullptr);
    EXPECT_NE(std::string(static_cast<const char*>(messages->GetBufferPointer()))
                  .find("no-such-file.vsh"),
              std::string::npos);
    messages->Release();

    const char source[] = "float4 main() : COLOR { return missing; }";
    EXPECT_TRUE(FAILED(D3DXCompileShader(source, sizeof source - 1, nullptr, nullptr, "main",
                                         "ps_2_0", 0, &code, &messages, &table)));
    ASSERT_NE(messages, nullptr);
    EXPECT_NE(std::string(static_cast<const char*>(messages->GetBufferPointer())).find("missing"),
              std::string::npos);
    messages->Release();
    EXPECT_EQ(D3DXCompileShader(source, sizeof source - 1, nullptr, nullptr, "main", "xs_9_9", 0,
                                &code, nullptr, &table),
              D3DERR_INVALIDCALL);
}

TEST(ShaderCompilation, DefinesReachThePreprocessor) {
    const char source[] = "float4 main() : COLOR { return VALUE; }";
    const D3DXMACRO defines[] = {{"VALUE", "float4(1, 0, 0, 1)"}, {nullptr, nullptr}};
    ID3DXBuffer* code = nullptr;
    ASSERT_EQ(D3DXCompileShader(source, sizeof source - 1, defines, nullptr, "main", "ps_2_0", 0,
                                &code, nullptr, nullptr),
              D3D_OK);
    code->Release();
}
