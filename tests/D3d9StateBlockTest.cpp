// State blocks: each group of states captured, changed, applied and drawn again; recording
// exactly what is set in between; which half of the pipeline each block type holds; and the
// save-everything-draw-restore pattern of user-interface renderers.

#include "D3d9TestDevice.h"

#include <tarnelix/ShaderBlob.h>

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

using namespace tarnelix;
using namespace tarnelix::test;

namespace {

using Bytes = std::vector<uint8_t>;

template <class T> void append(Bytes& bytes, const T& value) {
    const auto* first = reinterpret_cast<const uint8_t*>(&value);
    bytes.insert(bytes.end(), first, first + sizeof(value));
}

// The object a Get* call hands out, without keeping its reference.
template <class T> T* peek(IDirect3DDevice9* device, HRESULT (IDirect3DDevice9::*get)(T**)) {
    T* object = nullptr;
    (device->*get)(&object);
    if (object) {
        object->Release();
    }
    return object;
}

const char* const kVertexGlsl = R"(#version 330
in vec4 in_POSITION0;
layout(std140) uniform VSConstants {
    vec4 offset;
};
uniform vec4 tx_PosFixup;
void main()
{
    gl_Position = vec4(in_POSITION0.xyz + offset.xyz, 1.0);
    gl_Position.xy = gl_Position.xy * tx_PosFixup.xy + tx_PosFixup.zw * gl_Position.w;
}
)";

const char* const kPixelGlsl = R"(#version 330
layout(std140) uniform PSConstants {
    vec4 colour;
};
out vec4 out_COLOR0;
void main()
{
    out_COLOR0 = colour;
}
)";

// A program whose one constant sits in register c0.
std::vector<uint32_t> blob(ShaderStage stage) {
    ShaderBlob blob;
    blob.stage = stage;
    bool vertex = stage == ShaderStage::Vertex;
    blob.glsl = vertex ? kVertexGlsl : kPixelGlsl;
    blob.uniformBlock = vertex ? "VSConstants" : "PSConstants";
    blob.uniformBlockSize = 16;
    if (vertex) {
        blob.inputs = {{"in_POSITION0", D3DDECLUSAGE_POSITION, 0}};
    } else {
        blob.outputs = {{"out_COLOR0", D3DDECLUSAGE_COLOR, 0}};
    }
    ShaderConstant constant;
    constant.name = vertex ? "offset" : "colour";
    constant.glslName = constant.name;
    blob.constants.push_back(constant);
    return serializeShaderBlob(blob);
}

constexpr UINT kSize = 16;

// A device and two of every object a state can name, so that each group has two values.
struct Scene {
    Scene() {
        if (!t.ok()) {
            return;
        }
        d = t.device;
        d->SetRenderState(D3DRS_LIGHTING, FALSE);
        d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        textures[0] = t.texture(1, 1, {0xFFFF0000});
        textures[1] = t.texture(1, 1, {0xFF00FF00});
        stripes = t.texture(2, 1, {0xFFFF0000, 0xFF00FF00});
        makeBuffers();
        makeShaders();
        const D3DVERTEXELEMENT9 noColour[] = {
            {0, 0, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITIONT, 0},
            {0, 20, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
            D3DDECL_END()};
        d->CreateVertexDeclaration(noColour, &declaration);
    }
    ~Scene() {
        for (IUnknown* object : std::vector<IUnknown*>{
                 textures[0], textures[1], stripes, buffers[0], buffers[1], halves, indices[0],
                 indices[1], vertexShaders[0], vertexShaders[1], pixelShaders[0], pixelShaders[1],
                 declaration}) {
            if (object) {
                object->Release();
            }
        }
    }

    void makeBuffers() {
        const D3DCOLOR colours[2] = {0xFFFF0000, 0xFF00FF00};
        for (int i = 0; i < 2; ++i) {
            ScreenVertex quad[6];
            screenQuad(quad, 0, 0, kSize, kSize, 0.5f, colours[i]);
            buffers[i] = vertexBuffer(quad, sizeof(quad));
        }
        ScreenVertex both[12];
        screenQuad(both, 0, 0, kSize / 2, kSize, 0.5f, colours[0]);
        screenQuad(both + 6, kSize / 2, 0, kSize, kSize, 0.5f, colours[1]);
        halves = vertexBuffer(both, sizeof(both));
        for (WORD i = 0; i < 2; ++i) {
            d->CreateIndexBuffer(6 * sizeof(WORD), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices[i],
                                 nullptr);
            WORD* data = nullptr;
            indices[i]->Lock(0, 0, reinterpret_cast<void**>(&data), 0);
            for (WORD k = 0; k < 6; ++k) {
                data[k] = static_cast<WORD>(i * 6 + k);
            }
            indices[i]->Unlock();
        }
    }

    IDirect3DVertexBuffer9* vertexBuffer(const void* vertices, UINT size) {
        IDirect3DVertexBuffer9* buffer = nullptr;
        d->CreateVertexBuffer(size, 0, 0, D3DPOOL_MANAGED, &buffer, nullptr);
        void* data = nullptr;
        buffer->Lock(0, 0, &data, 0);
        std::memcpy(data, vertices, size);
        buffer->Unlock();
        return buffer;
    }

    void makeShaders() {
        std::vector<uint32_t> vs = blob(ShaderStage::Vertex);
        std::vector<uint32_t> ps = blob(ShaderStage::Pixel);
        for (int i = 0; i < 2; ++i) {
            d->CreateVertexShader(reinterpret_cast<const DWORD*>(vs.data()), &vertexShaders[i]);
            d->CreatePixelShader(reinterpret_cast<const DWORD*>(ps.data()), &pixelShaders[i]);
        }
    }

    void drawScreen(float u1 = 1.0f) {
        ScreenVertex quad[6];
        screenQuad(quad, 0, 0, kSize, kSize, 0.5f, 0xFFFFFFFF, 0, 0, u1, 1);
        EXPECT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)), D3D_OK);
    }

    void drawClip() {
        ClipVertex quad[6];
        clipQuad(quad, -1, -1, 1, 1, 0.5f, 0xFFFFFFFF);
        EXPECT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ClipVertex)), D3D_OK);
    }

    // Clears with ColorFill, which neither the scissor nor the viewport limits.
    std::vector<uint32_t> picture(void (*draw)(Scene&)) {
        IDirect3DSurface9* target = nullptr;
        d->GetRenderTarget(0, &target);
        d->ColorFill(target, nullptr, 0xFF000000);
        target->Release();
        draw(*this);
        return t.read();
    }

    TestDevice t{kSize, kSize};
    IDirect3DDevice9* d = nullptr;
    IDirect3DTexture9* textures[2] = {};
    IDirect3DTexture9* stripes = nullptr;
    IDirect3DVertexBuffer9* buffers[2] = {};
    IDirect3DVertexBuffer9* halves = nullptr;
    IDirect3DIndexBuffer9* indices[2] = {};
    IDirect3DVertexShader9* vertexShaders[2] = {};
    IDirect3DPixelShader9* pixelShaders[2] = {};
    IDirect3DVertexDeclaration9* declaration = nullptr;
};

D3DMATRIX translation(float x) {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    m._41 = x;
    return m;
}

void noPreparation(Scene&) {}

void screenFvf(Scene& s) {
    s.d->SetFVF(kScreenFvf);
}

void clipFvf(Scene& s) {
    s.d->SetFVF(kClipFvf);
}

void drawScreen(Scene& s) {
    s.drawScreen();
}

void drawClip(Scene& s) {
    s.drawClip();
}

// One group of states per row: `set` gives it one of two values, `read` reads it back through
// Get* calls, `draw` (where the group changes what is drawn) draws with it.
struct Group {
    const char* name;
    D3DSTATEBLOCKTYPE type; // a block type that holds the group
    void (*prepare)(Scene&);
    void (*set)(Scene&, int value);
    Bytes (*read)(Scene&);
    void (*draw)(Scene&);
};

template <class... T> Bytes bytesOf(const T&... values) {
    Bytes bytes;
    (append(bytes, values), ...);
    return bytes;
}

DWORD renderState(IDirect3DDevice9* device, D3DRENDERSTATETYPE state) {
    DWORD value = 0;
    device->GetRenderState(state, &value);
    return value;
}

IDirect3DBaseTexture9* textureOn(IDirect3DDevice9* device, DWORD stage) {
    IDirect3DBaseTexture9* texture = nullptr;
    device->GetTexture(stage, &texture);
    if (texture) {
        texture->Release();
    }
    return texture;
}

D3DMATRIX transform(IDirect3DDevice9* device, D3DTRANSFORMSTATETYPE state) {
    D3DMATRIX m{};
    device->GetTransform(state, &m);
    return m;
}

Bytes streamBytes(IDirect3DDevice9* device, UINT stream) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    UINT offset = 0;
    UINT stride = 0;
    device->GetStreamSource(stream, &buffer, &offset, &stride);
    if (buffer) {
        buffer->Release();
    }
    return bytesOf(buffer, offset, stride);
}

template <class T, class Get> T got(Get get) {
    T value{};
    get(value);
    return value;
}

const Group kGroups[] = {
    {"pixel render states", D3DSBT_PIXELSTATE, screenFvf,
     [](Scene& s, int v) {
         s.d->SetRenderState(D3DRS_COLORWRITEENABLE, v ? D3DCOLORWRITEENABLE_RED : 0xF);
         s.d->SetRenderState(D3DRS_ZFUNC, v ? D3DCMP_GREATER : D3DCMP_LESS);
     },
     [](Scene& s) {
         return bytesOf(renderState(s.d, D3DRS_COLORWRITEENABLE), renderState(s.d, D3DRS_ZFUNC));
     },
     drawScreen},
    {"vertex render states", D3DSBT_VERTEXSTATE, screenFvf,
     [](Scene& s, int v) { s.d->SetRenderState(D3DRS_CULLMODE, v ? D3DCULL_CW : D3DCULL_NONE); },
     [](Scene& s) { return bytesOf(renderState(s.d, D3DRS_CULLMODE)); }, drawScreen},
    {"texture-stage and sampler states", D3DSBT_PIXELSTATE,
     [](Scene& s) {
         screenFvf(s);
         s.d->SetTexture(0, s.stripes);
     },
     [](Scene& s, int v) {
         s.d->SetTextureStageState(0, D3DTSS_COLOROP, v ? D3DTOP_SELECTARG2 : D3DTOP_SELECTARG1);
         s.d->SetSamplerState(0, D3DSAMP_ADDRESSU, v ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP);
     },
     [](Scene& s) {
         DWORD op = 0;
         DWORD address = 0;
         s.d->GetTextureStageState(0, D3DTSS_COLOROP, &op);
         s.d->GetSamplerState(0, D3DSAMP_ADDRESSU, &address);
         return bytesOf(op, address);
     },
     [](Scene& s) { s.drawScreen(2.0f); }},
    {"textures", D3DSBT_ALL,
     [](Scene& s) {
         screenFvf(s);
         s.d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
     },
     [](Scene& s, int v) { s.d->SetTexture(0, s.textures[v]); },
     [](Scene& s) { return bytesOf(textureOn(s.d, 0)); }, drawScreen},
    {"streams", D3DSBT_ALL, screenFvf,
     [](Scene& s, int v) {
         s.d->SetStreamSource(0, s.buffers[v], 0, sizeof(ScreenVertex));
         s.d->SetStreamSource(3, s.buffers[v], v * 4, 8);
     },
     [](Scene& s) {
         Bytes b = streamBytes(s.d, 0);
         Bytes three = streamBytes(s.d, 3);
         b.insert(b.end(), three.begin(), three.end());
         return b;
     },
     [](Scene& s) { EXPECT_EQ(s.d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK); }},
    {"indices", D3DSBT_ALL,
     [](Scene& s) {
         screenFvf(s);
         s.d->SetStreamSource(0, s.halves, 0, sizeof(ScreenVertex));
     },
     [](Scene& s, int v) { s.d->SetIndices(s.indices[v]); },
     [](Scene& s) { return bytesOf(peek(s.d, &IDirect3DDevice9::GetIndices)); },
     [](Scene& s) {
         EXPECT_EQ(s.d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 12, 0, 2), D3D_OK);
     }},
    // The declaration without a colour draws the quad in the default diffuse, not blue.
    {"FVF and declaration", D3DSBT_VERTEXSTATE, noPreparation,
     [](Scene& s, int v) {
         v ? s.d->SetVertexDeclaration(s.declaration) : s.d->SetFVF(kScreenFvf);
     },
     [](Scene& s) {
         return bytesOf(got<DWORD>([&](DWORD& fvf) { s.d->GetFVF(&fvf); }),
                        peek(s.d, &IDirect3DDevice9::GetVertexDeclaration));
     },
     [](Scene& s) {
         ScreenVertex quad[6];
         screenQuad(quad, 0, 0, kSize, kSize, 0.5f, 0xFF0000FF);
         EXPECT_EQ(s.d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)), D3D_OK);
     }},
    {"pixel shader and its constants", D3DSBT_PIXELSTATE,
     [](Scene& s) {
         clipFvf(s);
         s.d->SetVertexShader(s.vertexShaders[0]);
     },
     [](Scene& s, int v) {
         s.d->SetPixelShader(s.pixelShaders[v]);
         const float colour[2][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}};
         s.d->SetPixelShaderConstantF(0, colour[v], 1);
         const int loop[4] = {v, 2, 3, 4};
         s.d->SetPixelShaderConstantI(5, loop, 1);
         const BOOL flag = v;
         s.d->SetPixelShaderConstantB(7, &flag, 1);
     },
     [](Scene& s) {
         using F = std::array<float, 4>;
         using I = std::array<int, 4>;
         return bytesOf(peek(s.d, &IDirect3DDevice9::GetPixelShader),
                        got<F>([&](F& c) { s.d->GetPixelShaderConstantF(0, c.data(), 1); }),
                        got<I>([&](I& c) { s.d->GetPixelShaderConstantI(5, c.data(), 1); }),
                        got<BOOL>([&](BOOL& c) { s.d->GetPixelShaderConstantB(7, &c, 1); }));
     },
     drawClip},
    {"vertex shader and its constants", D3DSBT_VERTEXSTATE,
     [](Scene& s) {
         clipFvf(s);
         s.d->SetPixelShader(s.pixelShaders[0]);
         const float red[4] = {1, 0, 0, 1};
         s.d->SetPixelShaderConstantF(0, red, 1);
     },
     [](Scene& s, int v) {
         s.d->SetVertexShader(s.vertexShaders[v]);
         const float offset[4] = {v * 1.0f, 0, 0, 0}; // half the quad off the target
         s.d->SetVertexShaderConstantF(0, offset, 1);
         const BOOL flag = v;
         s.d->SetVertexShaderConstantB(15, &flag, 1);
     },
     [](Scene& s) {
         using F = std::array<float, 4>;
         return bytesOf(peek(s.d, &IDirect3DDevice9::GetVertexShader),
                        got<F>([&](F& c) { s.d->GetVertexShaderConstantF(0, c.data(), 1); }),
                        got<BOOL>([&](BOOL& c) { s.d->GetVertexShaderConstantB(15, &c, 1); }));
     },
     drawClip},
    {"transforms", D3DSBT_ALL, clipFvf,
     [](Scene& s, int v) {
         const D3DMATRIX world = translation(v * 1.0f); // half the quad off the target
         s.d->SetTransform(D3DTS_WORLD, &world);
         const D3DMATRIX other = translation(v * 3.0f + 2.0f);
         s.d->SetTransform(D3DTS_TEXTURE3, &other);
         s.d->SetTransform(D3DTS_WORLDMATRIX(7), &other);
     },
     [](Scene& s) {
         return bytesOf(transform(s.d, D3DTS_WORLD), transform(s.d, D3DTS_TEXTURE3),
                        transform(s.d, D3DTS_WORLDMATRIX(7)));
     },
     drawClip},
    {"viewport", D3DSBT_ALL, clipFvf,
     [](Scene& s, int v) {
         const D3DVIEWPORT9 viewport = {0, 0, kSize >> v, kSize >> v, 0.0f, 1.0f};
         s.d->SetViewport(&viewport);
     },
     [](Scene& s) {
         return bytesOf(got<D3DVIEWPORT9>([&](D3DVIEWPORT9& vp) { s.d->GetViewport(&vp); }));
     },
     drawClip},
    {"scissor", D3DSBT_ALL,
     [](Scene& s) {
         screenFvf(s);
         s.d->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
     },
     [](Scene& s, int v) {
         const LONG far = v ? 8 : kSize;
         const RECT rect = {v * 4, v * 4, far, far};
         s.d->SetScissorRect(&rect);
     },
     [](Scene& s) { return bytesOf(got<RECT>([&](RECT& r) { s.d->GetScissorRect(&r); })); },
     drawScreen},
    {"material", D3DSBT_ALL,
     [](Scene& s) {
         clipFvf(s);
         s.d->SetRenderState(D3DRS_LIGHTING, TRUE);
         s.d->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
     },
     [](Scene& s, int v) {
         D3DMATERIAL9 material{};
         material.Diffuse = {1.0f, v * 0.5f, 0.25f, 1.0f};
         material.Ambient = {1.0f, v * 1.0f, 0.0f, 1.0f};
         material.Power = v * 8.0f;
         s.d->SetMaterial(&material);
     },
     [](Scene& s) {
         return bytesOf(got<D3DMATERIAL9>([&](D3DMATERIAL9& m) { s.d->GetMaterial(&m); }));
     },
     drawClip},
    // Clip planes and lights are read back here; their drawing has tests of its own.
    {"clip planes", D3DSBT_ALL, noPreparation,
     [](Scene& s, int v) {
         const float plane[4] = {1.0f, v * 2.0f, 0.0f, 0.5f};
         s.d->SetClipPlane(0, plane);
         s.d->SetClipPlane(D3DMAXUSERCLIPPLANES - 1, plane);
     },
     [](Scene& s) {
         using P = std::array<float, 4>;
         return bytesOf(got<P>([&](P& p) { s.d->GetClipPlane(0, p.data()); }), got<P>([&](P& p) {
                            s.d->GetClipPlane(D3DMAXUSERCLIPPLANES - 1, p.data());
                        }));
     },
     nullptr},
    {"lights", D3DSBT_VERTEXSTATE,
     [](Scene& s) {
         D3DLIGHT9 light{};
         light.Type = D3DLIGHT_POINT;
         s.d->SetLight(0, &light);
         s.d->SetLight(2, &light);
     },
     [](Scene& s, int v) {
         D3DLIGHT9 light{};
         light.Type = D3DLIGHT_POINT;
         light.Range = 10.0f + v;
         s.d->SetLight(0, &light);
         s.d->LightEnable(2, v);
     },
     [](Scene& s) {
         return bytesOf(got<D3DLIGHT9>([&](D3DLIGHT9& l) { s.d->GetLight(0, &l); }),
                        got<BOOL>([&](BOOL& on) { s.d->GetLightEnable(2, &on); }) != FALSE);
     },
     nullptr},
};

void PrintTo(const Group& group, std::ostream* out) {
    *out << group.name;
}

class StateBlockGroups : public ::testing::TestWithParam<Group> {};

TEST_P(StateBlockGroups, ApplyBringsBackWhatWasCapturedAndDrawsAsBefore) {
    const Group& group = GetParam();
    Scene s;
    ASSERT_TRUE(s.t.ok());
    group.prepare(s);
    group.set(s, 0);
    const Bytes before = group.read(s);
    std::vector<uint32_t> drawnBefore;
    if (group.draw) {
        drawnBefore = s.picture(group.draw);
    }
    IDirect3DStateBlock9* block = nullptr;
    ASSERT_EQ(s.d->CreateStateBlock(group.type, &block), D3D_OK);
    group.set(s, 1);
    ASSERT_NE(group.read(s), before) << "the second value must differ";
    if (group.draw) {
        ASSERT_NE(s.picture(group.draw), drawnBefore) << "the group must change the picture";
    }
    ASSERT_EQ(block->Apply(), D3D_OK);
    EXPECT_EQ(group.read(s), before);
    if (group.draw) {
        EXPECT_EQ(s.picture(group.draw), drawnBefore);
    }
    EXPECT_EQ(block->Release(), 0u);
}

INSTANTIATE_TEST_SUITE_P(D3d9StateBlock, StateBlockGroups, ::testing::ValuesIn(kGroups),
                         [](const ::testing::TestParamInfo<Group>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name;
                         });

TEST(D3d9StateBlock, RecordingHoldsExactlyTheStatesSetInBetweenAndLeavesTheDeviceAlone) {
    Scene s;
    ASSERT_TRUE(s.t.ok());
    const D3DMATRIX view = translation(4.0f);
    ASSERT_EQ(s.d->BeginStateBlock(), D3D_OK);
    s.d->SetRenderState(D3DRS_ZFUNC, D3DCMP_GREATER);
    s.d->SetTexture(1, s.textures[0]);
    s.d->SetTransform(D3DTS_VIEW, &view);
    s.d->SetFVF(kScreenFvf);
    IDirect3DStateBlock9* block = nullptr;
    ASSERT_EQ(s.d->EndStateBlock(&block), D3D_OK);
    ASSERT_NE(block, nullptr);
    // Nothing recorded reached the device.
    EXPECT_EQ(renderState(s.d, D3DRS_ZFUNC), static_cast<DWORD>(D3DCMP_LESSEQUAL));
    EXPECT_EQ(peek(s.d, &IDirect3DDevice9::GetVertexDeclaration), nullptr);

    s.d->SetRenderState(D3DRS_ALPHAREF, 7);
    const D3DMATRIX world = translation(2.0f);
    s.d->SetTransform(D3DTS_WORLD, &world);
    ASSERT_EQ(block->Apply(), D3D_OK);
    EXPECT_EQ(renderState(s.d, D3DRS_ZFUNC), static_cast<DWORD>(D3DCMP_GREATER));
    IDirect3DBaseTexture9* texture = nullptr;
    s.d->GetTexture(1, &texture);
    EXPECT_EQ(texture, s.textures[0]);
    if (texture) {
        texture->Release();
    }
    D3DMATRIX m;
    s.d->GetTransform(D3DTS_VIEW, &m);
    EXPECT_EQ(std::memcmp(&m, &view, sizeof(m)), 0);
    DWORD fvf = 0;
    s.d->GetFVF(&fvf);
    EXPECT_EQ(fvf, kScreenFvf);
    // What was not recorded keeps the value set after.
    EXPECT_EQ(renderState(s.d, D3DRS_ALPHAREF), 7u);
    s.d->GetTransform(D3DTS_WORLD, &m);
    EXPECT_EQ(std::memcmp(&m, &world, sizeof(m)), 0);
    block->Release();
}

TEST(D3d9StateBlock, WhileRecordingNoBlockNestsCapturesAppliesOrDraws) {
    Scene s;
    ASSERT_TRUE(s.t.ok());
    IDirect3DStateBlock9* earlier = nullptr;
    ASSERT_EQ(s.d->CreateStateBlock(D3DSBT_PIXELSTATE, &earlier), D3D_OK);
    IDirect3DStateBlock9* block = nullptr;
    EXPECT_EQ(s.d->EndStateBlock(&block), D3DERR_INVALIDCALL);
    ASSERT_EQ(s.d->BeginStateBlock(), D3D_OK);
    EXPECT_EQ(s.d->BeginStateBlock(), D3DERR_INVALIDCALL);
    EXPECT_EQ(s.d->CreateStateBlock(D3DSBT_ALL, &block), D3DERR_INVALIDCALL);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(earlier->Capture(), D3DERR_INVALIDCALL);
    EXPECT_EQ(earlier->Apply(), D3DERR_INVALIDCALL);
    s.d->SetFVF(kScreenFvf);
    ScreenVertex quad[6];
    screenQuad(quad, 0, 0, kSize, kSize, 0.5f, 0xFFFFFFFF);
    s.d->SetStreamSource(0, s.buffers[0], 0, sizeof(ScreenVertex));
    s.d->SetIndices(s.indices[0]);
    EXPECT_EQ(s.d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(s.d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(s.d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 2), D3DERR_INVALIDCALL);
    const WORD indices[6] = {0, 1, 2, 3, 4, 5};
    EXPECT_EQ(s.d->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 6, 2, indices, D3DFMT_INDEX16,
                                          quad, sizeof(ScreenVertex)),
              D3DERR_INVALIDCALL);
    ASSERT_EQ(s.d->EndStateBlock(&block), D3D_OK);
    EXPECT_EQ(s.t.pixel(4, 4).r, 0) << "nothing may be drawn while recording";
    EXPECT_EQ(s.d->EndStateBlock(&block), D3DERR_INVALIDCALL);
    // Once recording ends the same draw goes through.
    s.d->SetFVF(kScreenFvf);
    EXPECT_EQ(s.d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex)), D3D_OK);
    EXPECT_EQ(s.t.pixel(4, 4).r, 255);
    EXPECT_EQ(earlier->Apply(), D3D_OK);
    block->Release();
    earlier->Release();
}

TEST(D3d9StateBlock, CaptureRereadsOnlyTheStatesTheBlockHolds) {
    Scene s;
    ASSERT_TRUE(s.t.ok());
    s.d->BeginStateBlock();
    s.d->SetRenderState(D3DRS_ZFUNC, D3DCMP_GREATER);
    s.d->SetVertexShaderConstantF(3, std::vector<float>{1, 2, 3, 4}.data(), 1);
    IDirect3DStateBlock9* block = nullptr;
    ASSERT_EQ(s.d->EndStateBlock(&block), D3D_OK);

    s.d->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    s.d->SetVertexShaderConstantF(3, std::vector<float>{5, 6, 7, 8}.data(), 1);
    s.d->SetVertexShaderConstantF(4, std::vector<float>{9, 9, 9, 9}.data(), 1);
    s.d->SetRenderState(D3DRS_ALPHAREF, 9);
    ASSERT_EQ(block->Capture(), D3D_OK);

    s.d->SetRenderState(D3DRS_ZFUNC, D3DCMP_NEVER);
    s.d->SetVertexShaderConstantF(3, std::vector<float>{0, 0, 0, 0}.data(), 1);
    s.d->SetVertexShaderConstantF(4, std::vector<float>{1, 1, 1, 1}.data(), 1);
    s.d->SetRenderState(D3DRS_ALPHAREF, 1);
    block->Apply();
    EXPECT_EQ(renderState(s.d, D3DRS_ZFUNC), static_cast<DWORD>(D3DCMP_ALWAYS));
    float c[4];
    s.d->GetVertexShaderConstantF(3, c, 1);
    EXPECT_EQ(c[0], 5.0f);
    s.d->GetVertexShaderConstantF(4, c, 1);
    EXPECT_EQ(c[0], 1.0f) << "register 4 was not recorded";
    EXPECT_EQ(renderState(s.d, D3DRS_ALPHAREF), 1u) << "ALPHAREF was not recorded";
    block->Release();
}

// Each type holds its half of the pipeline; fog and shading lie in both.
TEST(D3d9StateBlock, PixelAndVertexBlocksHoldTheirHalfOfThePipeline) {
    struct Row {
        D3DSTATEBLOCKTYPE type;
        D3DRENDERSTATETYPE state;
        bool held;
    } rows[] = {
        {D3DSBT_PIXELSTATE, D3DRS_ALPHAREF, true},   {D3DSBT_PIXELSTATE, D3DRS_CULLMODE, false},
        {D3DSBT_PIXELSTATE, D3DRS_FOGSTART, true},   {D3DSBT_PIXELSTATE, D3DRS_AMBIENT, false},
        {D3DSBT_VERTEXSTATE, D3DRS_ALPHAREF, false}, {D3DSBT_VERTEXSTATE, D3DRS_CULLMODE, true},
        {D3DSBT_VERTEXSTATE, D3DRS_FOGSTART, true},  {D3DSBT_VERTEXSTATE, D3DRS_AMBIENT, true},
        {D3DSBT_ALL, D3DRS_CULLMODE, true},          {D3DSBT_ALL, D3DRS_ALPHAREF, true},
        {D3DSBT_ALL, D3DRS_FOGCOLOR, true},
    };
    Scene s;
    ASSERT_TRUE(s.t.ok());
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "type " << row.type << " state " << row.state);
        s.d->SetRenderState(row.state, 1);
        IDirect3DStateBlock9* block = nullptr;
        ASSERT_EQ(s.d->CreateStateBlock(row.type, &block), D3D_OK);
        s.d->SetRenderState(row.state, 2);
        block->Apply();
        EXPECT_EQ(renderState(s.d, row.state), row.held ? 1u : 2u);
        block->Release();
    }
    IDirect3DStateBlock9* block = reinterpret_cast<IDirect3DStateBlock9*>(1);
    EXPECT_EQ(s.d->CreateStateBlock(static_cast<D3DSTATEBLOCKTYPE>(0), &block), D3DERR_INVALIDCALL);
    EXPECT_EQ(block, nullptr);
}

// What a user-interface renderer does around its draw: save everything, set its own states,
// draw, put everything back. The scene drawn afterwards must look as it did before.
TEST(D3d9StateBlock, AnAllBlockPutsBackEverythingAnOverlayChanged) {
    Scene s;
    ASSERT_TRUE(s.t.ok());
    // The program's own state: a textured quad from buffers, with blending and a viewport.
    s.d->SetFVF(kScreenFvf);
    s.d->SetStreamSource(0, s.halves, 0, sizeof(ScreenVertex));
    s.d->SetIndices(s.indices[1]);
    s.d->SetTexture(0, s.textures[1]);
    s.d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    s.d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    s.d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    s.d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    const D3DVIEWPORT9 viewport = {0, 0, kSize, kSize / 2, 0.0f, 1.0f};
    s.d->SetViewport(&viewport);
    auto drawProgram = [](Scene& scene) {
        EXPECT_EQ(scene.d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 12, 0, 2), D3D_OK);
    };
    const std::vector<uint32_t> before = s.picture(drawProgram);
    IDirect3DStateBlock9* saved = nullptr;
    ASSERT_EQ(s.d->CreateStateBlock(D3DSBT_ALL, &saved), D3D_OK);

    // The overlay's states and draw.
    s.d->SetPixelShader(nullptr);
    s.d->SetVertexShader(nullptr);
    s.d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    s.d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    s.d->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    s.d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    s.d->SetRenderState(D3DRS_ZFUNC, D3DCMP_NEVER);
    s.d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    s.d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    s.d->SetTexture(0, s.textures[0]);
    s.d->SetStreamSource(0, s.buffers[0], 0, sizeof(ScreenVertex));
    s.d->SetIndices(s.indices[0]);
    s.d->SetVertexDeclaration(s.declaration);
    const D3DVIEWPORT9 full = {0, 0, kSize, kSize, 0.0f, 1.0f};
    s.d->SetViewport(&full);
    const RECT clip = {0, 0, 4, 4};
    s.d->SetScissorRect(&clip);
    const D3DMATRIX moved = translation(1.0f);
    s.d->SetTransform(D3DTS_PROJECTION, &moved);
    s.d->SetPixelShaderConstantF(0, std::vector<float>{1, 1, 1, 1}.data(), 1);
    s.d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 2);

    ASSERT_EQ(saved->Apply(), D3D_OK);
    EXPECT_EQ(s.picture(drawProgram), before);
    EXPECT_EQ(renderState(s.d, D3DRS_ZFUNC), static_cast<DWORD>(D3DCMP_LESSEQUAL));
    EXPECT_EQ(renderState(s.d, D3DRS_SCISSORTESTENABLE), static_cast<DWORD>(FALSE));
    D3DMATRIX m;
    s.d->GetTransform(D3DTS_PROJECTION, &m);
    EXPECT_EQ(m._41, 0.0f);
    float c[4];
    s.d->GetPixelShaderConstantF(0, c, 1);
    EXPECT_EQ(c[0], 0.0f);
    DWORD fvf = 0;
    s.d->GetFVF(&fvf);
    EXPECT_EQ(fvf, kScreenFvf);
    EXPECT_EQ(saved->Release(), 0u);
}

// Blocks hold what they name but not their device: one that outlives it refuses and still
// frees, and a device destroyed while recording lets go of the block it recorded into.
TEST(D3d9StateBlock, BlocksHoldWhatTheyNameAndMayOutliveTheirDevice) {
    IDirect3DStateBlock9* block = nullptr;
    IDirect3DTexture9* texture = nullptr;
    {
        Scene s;
        ASSERT_TRUE(s.t.ok());
        texture = s.textures[0];
        texture->AddRef();
        s.d->SetTexture(0, texture);
        ASSERT_EQ(s.d->CreateStateBlock(D3DSBT_ALL, &block), D3D_OK);
        s.d->SetTexture(0, nullptr);
        EXPECT_EQ(texture->AddRef(), 4u) << "the scene, the test and the block";
        texture->Release();
        IDirect3DDevice9* device = nullptr;
        ASSERT_EQ(block->GetDevice(&device), D3D_OK);
        EXPECT_EQ(device, s.d);
        device->Release();
        EXPECT_EQ(block->AddRef(), 2u);
        block->Release();
        ASSERT_EQ(s.d->BeginStateBlock(), D3D_OK);
        s.d->SetTexture(1, texture);
    }
    EXPECT_EQ(block->Capture(), D3DERR_INVALIDCALL);
    EXPECT_EQ(block->Apply(), D3DERR_INVALIDCALL);
    IDirect3DDevice9* device = nullptr;
    EXPECT_EQ(block->GetDevice(&device), D3DERR_INVALIDCALL);
    EXPECT_EQ(block->Release(), 0u);
    EXPECT_EQ(texture->Release(), 0u) << "the released blocks let go of the texture";
}

} // namespace
