// Instancing: stream 0 holds the geometry drawn n times (D3DSTREAMSOURCE_INDEXEDDATA | n), the
// other streams one element per instance (D3DSTREAMSOURCE_INSTANCEDATA | k), through a vertex
// program and through the fixed-function pipeline; the runtime's rules for the settings, and
// state blocks that hold them.

#include "D3d9TestDevice.h"

#include <tarnelix/ShaderBlob.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace tarnelix;
using namespace tarnelix::test;

namespace {

constexpr UINT kIndexed = D3DSTREAMSOURCE_INDEXEDDATA;
constexpr UINT kInstance = D3DSTREAMSOURCE_INSTANCEDATA;

template <class T>
IDirect3DVertexBuffer9* vertexBuffer(IDirect3DDevice9* device, const T* data, size_t count) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    UINT bytes = static_cast<UINT>(sizeof(T) * count);
    if (FAILED(device->CreateVertexBuffer(bytes, 0, 0, D3DPOOL_MANAGED, &buffer, nullptr))) {
        return nullptr;
    }
    void* memory = nullptr;
    buffer->Lock(0, 0, &memory, 0);
    std::memcpy(memory, data, bytes);
    buffer->Unlock();
    return buffer;
}

IDirect3DIndexBuffer9* quadIndices(IDirect3DDevice9* device) {
    const WORD indices[6] = {0, 1, 2, 2, 1, 3};
    IDirect3DIndexBuffer9* buffer = nullptr;
    if (FAILED(device->CreateIndexBuffer(sizeof(indices), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                         &buffer, nullptr))) {
        return nullptr;
    }
    void* memory = nullptr;
    buffer->Lock(0, 0, &memory, 0);
    std::memcpy(memory, indices, sizeof(indices));
    buffer->Unlock();
    return buffer;
}

// A program that moves each instance by its own offset and gives it its own colour.
const char* const kInstancedGlsl = R"(#version 330
in vec4 in_POSITION0;
in vec4 in_TEXCOORD1;
in vec4 in_COLOR0;
uniform vec4 tx_PosFixup;
out vec4 tx_v_COLOR0;
void main()
{
    gl_Position = vec4(in_POSITION0.xy + in_TEXCOORD1.xy, 0.5, 1.0);
    tx_v_COLOR0 = in_COLOR0;
    gl_Position.xy = gl_Position.xy * tx_PosFixup.xy + tx_PosFixup.zw * gl_Position.w;
}
)";

std::vector<uint32_t> instancedBlob() {
    ShaderBlob blob;
    blob.stage = ShaderStage::Vertex;
    blob.glsl = kInstancedGlsl;
    blob.inputs = {{"in_POSITION0", D3DDECLUSAGE_POSITION, 0},
                   {"in_TEXCOORD1", D3DDECLUSAGE_TEXCOORD, 1},
                   {"in_COLOR0", D3DDECLUSAGE_COLOR, 0}};
    blob.outputs = {{"tx_v_COLOR0", D3DDECLUSAGE_COLOR, 0}};
    return serializeShaderBlob(blob);
}

struct Instance {
    float dx, dy;
    D3DCOLOR colour;
};

class Instancing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        d = t.device;
        indices = quadIndices(d);
        ASSERT_NE(indices, nullptr);
        d->SetRenderState(D3DRS_LIGHTING, FALSE);
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    }
    void TearDown() override {
        if (indices) {
            indices->Release();
        }
    }

    HRESULT drawIndexed() {
        d->SetIndices(indices);
        return d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
    }

    TestDevice t{16, 16};
    IDirect3DDevice9* d = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
};

} // namespace

TEST_F(Instancing, FrequencySettingsFollowTheRuntimesRules) {
    struct Row {
        UINT stream;
        UINT setting;
        HRESULT expected;
    };
    const Row rows[] = {
        {0, kIndexed | 5, D3D_OK},
        {1, kInstance | 1, D3D_OK},
        {3, kInstance | 2, D3D_OK},
        {2, kIndexed | 5, D3D_OK}, // more geometry streams beside stream 0
        {1, 1, D3D_OK},
        {0, 0, D3DERR_INVALIDCALL},                        // no frequency is 0
        {1, kInstance, D3DERR_INVALIDCALL},                // nor 0 per instance
        {0, kIndexed, D3DERR_INVALIDCALL},                 // nor 0 instances
        {0, kInstance | 1, D3DERR_INVALIDCALL},            // stream 0 holds geometry
        {1, kIndexed | kInstance | 1, D3DERR_INVALIDCALL}, // one kind at a time
        {16, 1, D3DERR_INVALIDCALL},                       // past the last stream
        {2, 3, D3DERR_NOTAVAILABLE}, // a bare divider: software vertex processing's feature
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "stream " << row.stream << " setting " << std::hex << row.setting);
        d->SetStreamSourceFreq(row.stream < 16 ? row.stream : 0, 1);
        EXPECT_EQ(d->SetStreamSourceFreq(row.stream, row.setting), row.expected);
        if (row.stream < 16) {
            UINT setting = 0;
            ASSERT_EQ(d->GetStreamSourceFreq(row.stream, &setting), D3D_OK);
            EXPECT_EQ(setting, row.expected == D3D_OK ? row.setting : 1u);
        }
    }
    EXPECT_EQ(d->GetStreamSourceFreq(0, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(Instancing, ProgramDrawsEachInstanceWithItsOffsetAndColour) {
    std::vector<uint32_t> code = instancedBlob();
    IDirect3DVertexShader9* shader = nullptr;
    ASSERT_EQ(d->CreateVertexShader(reinterpret_cast<const DWORD*>(code.data()), &shader), D3D_OK);
    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {1, 0, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 1},
        {1, 8, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
        D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(d->CreateVertexDeclaration(elements, &declaration), D3D_OK);
    // A quad over the top-left 4 x 4 pixels; instances move it right, down, and both.
    const float corners[4][2] = {{-1.0f, 1.0f}, {-0.5f, 1.0f}, {-1.0f, 0.5f}, {-0.5f, 0.5f}};
    const Instance instances[4] = {{0.0f, 0.0f, 0xFFFF0000},
                                   {1.0f, 0.0f, 0xFF00FF00},
                                   {0.0f, -1.0f, 0xFF0000FF},
                                   {1.0f, -1.0f, 0xFFFFFFFF}};
    IDirect3DVertexBuffer9* geometry = vertexBuffer(d, corners, 4);
    IDirect3DVertexBuffer9* perInstance = vertexBuffer(d, instances, 4);
    d->SetVertexShader(shader);
    d->SetVertexDeclaration(declaration);
    d->SetStreamSource(0, geometry, 0, sizeof(corners[0]));
    d->SetStreamSource(1, perInstance, 0, sizeof(Instance));
    ASSERT_EQ(d->SetStreamSourceFreq(0, kIndexed | 3), D3D_OK);
    ASSERT_EQ(d->SetStreamSourceFreq(1, kInstance | 1), D3D_OK);
    ASSERT_EQ(drawIndexed(), D3D_OK);
    EXPECT_EQ(t.pixel(2, 2).r, 255);
    EXPECT_EQ(t.pixel(10, 2).g, 255);
    EXPECT_EQ(t.pixel(2, 10).b, 255);
    // Three instances asked for: the fourth element is never drawn.
    EXPECT_EQ(t.pixel(10, 10).r, 0);
    EXPECT_EQ(t.pixel(6, 6).r, 0);

    // Two instances per element: instances 0 and 1 both red, 2 and 3 both green.
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    d->SetStreamSourceFreq(0, kIndexed | 4);
    d->SetStreamSourceFreq(1, kInstance | 2);
    // Offsets come from the same elements too: the pairs land on one place each.
    ASSERT_EQ(drawIndexed(), D3D_OK);
    EXPECT_EQ(t.pixel(2, 2).r, 255);
    EXPECT_EQ(t.pixel(10, 2).g, 255);
    EXPECT_EQ(t.pixel(10, 2).r, 0);
    EXPECT_EQ(t.pixel(2, 10).b, 0);
    d->SetStreamSourceFreq(0, 1);
    d->SetStreamSourceFreq(1, 1);
    d->SetVertexShader(nullptr);
    d->SetStreamSource(0, nullptr, 0, 0);
    d->SetStreamSource(1, nullptr, 0, 0);
    geometry->Release();
    perInstance->Release();
    declaration->Release();
    shader->Release();
}

// The fixed-function pipeline has no offsets to move instances by: the instances overlap and
// add up under additive blending, so the sum tells how many were drawn and with which colours.
TEST_F(Instancing, FixedFunctionDrawsInstancesOnlyForIndexedDraws) {
    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITIONT, 0},
        {1, 0, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
        D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(d->CreateVertexDeclaration(elements, &declaration), D3D_OK);
    const float corners[6][4] = {{0, 0, 0.5f, 1},   {16, 0, 0.5f, 1}, {0, 16, 0.5f, 1},
                                 {16, 16, 0.5f, 1}, {0, 0, 0.5f, 1},  {0, 0, 0.5f, 1}};
    const D3DCOLOR colours[6] = {0xFF100000, 0xFF200000, 0xFF400000,
                                 0xFF800000, 0xFF100000, 0xFF100000};
    IDirect3DVertexBuffer9* geometry = vertexBuffer(d, corners, 6);
    IDirect3DVertexBuffer9* perInstance = vertexBuffer(d, colours, 6);
    d->SetVertexDeclaration(declaration);
    d->SetStreamSource(0, geometry, 0, sizeof(corners[0]));
    d->SetStreamSource(1, perInstance, 0, sizeof(D3DCOLOR));
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    d->SetStreamSourceFreq(0, kIndexed | 3);
    d->SetStreamSourceFreq(1, kInstance | 1);
    ASSERT_EQ(drawIndexed(), D3D_OK);
    EXPECT_EQ(t.pixel(8, 8).r, 0x70); // 0x10 + 0x20 + 0x40
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    d->SetStreamSourceFreq(0, kIndexed | 4);
    ASSERT_EQ(drawIndexed(), D3D_OK);
    EXPECT_EQ(t.pixel(8, 8).r, 0xF0);

    // A non-indexed draw ignores the frequencies: drawn once, stream 1 read per vertex (the
    // second triangle's vertices all carry 0x10).
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    const float strip[6][4] = {{16, 16, 0.5f, 1}, {16, 16, 0.5f, 1}, {16, 16, 0.5f, 1},
                               {0, 0, 0.5f, 1},   {16, 0, 0.5f, 1},  {0, 16, 0.5f, 1}};
    IDirect3DVertexBuffer9* once = vertexBuffer(d, strip, 6);
    const D3DCOLOR same[6] = {0, 0, 0, 0xFF100000, 0xFF100000, 0xFF100000};
    IDirect3DVertexBuffer9* sameColours = vertexBuffer(d, same, 6);
    d->SetStreamSource(0, once, 0, sizeof(strip[0]));
    d->SetStreamSource(1, sameColours, 0, sizeof(D3DCOLOR));
    ASSERT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
    EXPECT_EQ(t.pixel(2, 2).r, 0x10);

    // Stream 0 back to 1: instancing is off and indexed draws read stream 1 per vertex too.
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    d->SetStreamSourceFreq(0, 1);
    d->SetStreamSource(0, geometry, 0, sizeof(corners[0]));
    d->SetStreamSource(1, perInstance, 0, sizeof(D3DCOLOR));
    ASSERT_EQ(drawIndexed(), D3D_OK);
    EXPECT_NEAR(t.pixel(0, 0).r, 0x10, 1); // vertex 0's own colour, drawn once
    d->SetStreamSourceFreq(1, 1);
    d->SetStreamSource(0, nullptr, 0, 0);
    d->SetStreamSource(1, nullptr, 0, 0);
    once->Release();
    sameColours->Release();
    geometry->Release();
    perInstance->Release();
    declaration->Release();
}

TEST_F(Instancing, StateBlocksHoldStreamFrequencies) {
    ASSERT_EQ(d->BeginStateBlock(), D3D_OK);
    EXPECT_EQ(d->SetStreamSourceFreq(0, kIndexed | 2), D3D_OK);
    EXPECT_EQ(d->SetStreamSourceFreq(1, kInstance | 1), D3D_OK);
    EXPECT_EQ(d->SetStreamSourceFreq(1, 0), D3DERR_INVALIDCALL); // refused, not recorded
    IDirect3DStateBlock9* recorded = nullptr;
    ASSERT_EQ(d->EndStateBlock(&recorded), D3D_OK);
    UINT setting = 0;
    d->GetStreamSourceFreq(0, &setting);
    EXPECT_EQ(setting, 1u); // recording leaves the device alone
    ASSERT_EQ(recorded->Apply(), D3D_OK);
    d->GetStreamSourceFreq(0, &setting);
    EXPECT_EQ(setting, kIndexed | 2);
    d->GetStreamSourceFreq(1, &setting);
    EXPECT_EQ(setting, kInstance | 1);

    // A vertex-state block captures them and puts them back.
    IDirect3DStateBlock9* vertexState = nullptr;
    ASSERT_EQ(d->CreateStateBlock(D3DSBT_VERTEXSTATE, &vertexState), D3D_OK);
    d->SetStreamSourceFreq(0, 1);
    d->SetStreamSourceFreq(1, 1);
    ASSERT_EQ(vertexState->Apply(), D3D_OK);
    d->GetStreamSourceFreq(1, &setting);
    EXPECT_EQ(setting, kInstance | 1);
    d->SetStreamSourceFreq(0, 1);
    d->SetStreamSourceFreq(1, 1);
    vertexState->Release();
    recorded->Release();
}
