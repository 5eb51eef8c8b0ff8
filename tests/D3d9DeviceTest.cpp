// The device's life and its basic operations: creation, defaults, clear, readback, reset.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using tarnelix::test::Rgba;
using tarnelix::test::TestDevice;

TEST(D3d9Device, StatesStartAtDirect3DDefaults) {
    TestDevice t;
    ASSERT_TRUE(t.ok());
    struct Expected {
        D3DRENDERSTATETYPE state;
        DWORD value;
    } expected[] = {
        {D3DRS_ZENABLE, D3DZB_TRUE},
        {D3DRS_ZWRITEENABLE, TRUE},
        {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_ALPHABLENDENABLE, FALSE},
        {D3DRS_SRCBLEND, D3DBLEND_ONE},
        {D3DRS_DESTBLEND, D3DBLEND_ZERO},
        {D3DRS_ALPHATESTENABLE, FALSE},
        {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
        {D3DRS_ALPHAREF, 0},
        {D3DRS_LIGHTING, TRUE},
        {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},
        {D3DRS_COLORWRITEENABLE, 0xF},
        {D3DRS_FILLMODE, D3DFILL_SOLID},
        {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
        {D3DRS_SPECULARENABLE, FALSE},
        {D3DRS_STENCILENABLE, FALSE},
        {D3DRS_STENCILMASK, 0xFFFFFFFF},
        {D3DRS_BLENDOP, D3DBLENDOP_ADD},
        {D3DRS_AMBIENT, 0},
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
        {D3DRS_SCISSORTESTENABLE, FALSE},
    };
    for (const Expected& e : expected) {
        DWORD value = 0xDEADBEEF;
        t.device->GetRenderState(e.state, &value);
        EXPECT_EQ(value, e.value) << "render state " << e.state;
    }
    DWORD value = 0;
    t.device->GetTextureStageState(0, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_MODULATE));
    t.device->GetTextureStageState(1, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_DISABLE));
    t.device->GetTextureStageState(0, D3DTSS_ALPHAOP, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_SELECTARG1));
    t.device->GetTextureStageState(3, D3DTSS_TEXCOORDINDEX, &value);
    EXPECT_EQ(value, 3u);
    t.device->GetTextureStageState(2, D3DTSS_COLORARG1, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTA_TEXTURE));
    t.device->GetTextureStageState(2, D3DTSS_COLORARG2, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTA_CURRENT));
    t.device->GetSamplerState(5, D3DSAMP_ADDRESSU, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTADDRESS_WRAP));
    t.device->GetSamplerState(5, D3DSAMP_MINFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_POINT));
    t.device->GetSamplerState(5, D3DSAMP_MIPFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_NONE));
    t.device->GetSamplerState(5, D3DSAMP_MAXANISOTROPY, &value);
    EXPECT_EQ(value, 1u);
}

// Direct3D names the card a device draws on; here that is whatever GPU or rasteriser the GL
// library picked, which a benchmark or a picture that differs by machine must be able to say.
TEST(D3d9Device, TheAdapterIsNamedAfterTheGlImplementationItsDeviceDrawsWith) {
    TestDevice t;
    ASSERT_TRUE(t.ok());
    D3DADAPTER_IDENTIFIER9 identifier{};
    ASSERT_EQ(t.d3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &identifier), D3D_OK);
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(renderer, nullptr);
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(identifier.Description, renderer);
    EXPECT_EQ(std::string(identifier.Driver), std::string("OpenGL ") + version);
    // A run that asks for one GL (the softpipe entries) must get it: a driver choice ignored
    // would let every other check pass on the wrong rasteriser.
    if (const char* wanted = std::getenv("TARNELIX_EXPECT_RENDERER")) {
        EXPECT_NE(std::strstr(identifier.Description, wanted), nullptr) << identifier.Description;
    }
}

TEST(D3d9Device, ClearFillsTheViewportOnlyAndReadsBackTopRowFirst) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(255, 10, 20, 30), 1.0f, 0);
    D3DVIEWPORT9 top{0, 0, 8, 2, 0.0f, 1.0f};
    t.device->SetViewport(&top);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(128, 255, 0, 0), 1.0f, 0);
    Rgba first = t.pixel(3, 1);
    EXPECT_EQ(first.r, 255);
    EXPECT_EQ(first.a, 128);
    Rgba below = t.pixel(3, 2);
    EXPECT_EQ(below.r, 10);
    EXPECT_EQ(below.g, 20);
    EXPECT_EQ(below.b, 30);
    D3DRECT rect{5, 5, 7, 6};
    D3DVIEWPORT9 full{0, 0, 8, 8, 0.0f, 1.0f};
    t.device->SetViewport(&full);
    t.device->Clear(1, &rect, D3DCLEAR_TARGET, D3DCOLOR_ARGB(255, 0, 0, 255), 1.0f, 0);
    EXPECT_EQ(t.pixel(5, 5).b, 255);
    EXPECT_EQ(t.pixel(6, 5).b, 255);
    EXPECT_EQ(t.pixel(7, 5).b, 30);
    EXPECT_EQ(t.pixel(5, 6).b, 30);
}

TEST(D3d9Device, ResetChangesTheBackBufferAndRestoresDefaults) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.BackBufferWidth = 20;
    parameters.BackBufferHeight = 10;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    ASSERT_EQ(t.device->Reset(&parameters), D3D_OK);
    DWORD cull = 0;
    t.device->GetRenderState(D3DRS_CULLMODE, &cull);
    EXPECT_EQ(cull, static_cast<DWORD>(D3DCULL_CCW));
    D3DVIEWPORT9 viewport{};
    t.device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 20u);
    EXPECT_EQ(viewport.Height, 10u);
    EXPECT_EQ(t.device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    // A windowed reset with no size takes the window's client area; no depth buffer turns
    // depth testing off by default.
    parameters.BackBufferWidth = 0;
    parameters.BackBufferHeight = 0;
    parameters.EnableAutoDepthStencil = FALSE;
    ASSERT_EQ(t.device->Reset(&parameters), D3D_OK);
    EXPECT_EQ(parameters.BackBufferWidth, 8u);
    DWORD z = 1;
    t.device->GetRenderState(D3DRS_ZENABLE, &z);
    EXPECT_EQ(z, static_cast<DWORD>(D3DZB_FALSE));
}

TEST(D3d9Device, RefusesUnsupportedFormatsAndCallsCleanly) {
    TestDevice t;
    ASSERT_TRUE(t.ok());
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(t.device->CreateTexture(4, 4, 1, 0, D3DFMT_P8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(
        t.device->CreateTexture(0, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
        D3DERR_INVALIDCALL);
    IDirect3DCubeTexture9* cube = nullptr;
    EXPECT_EQ(t.device->CreateCubeTexture(4, 1, 0, D3DFMT_P8, D3DPOOL_MANAGED, &cube, nullptr),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(cube, nullptr);
    EXPECT_EQ(t.device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(10), 1), D3DERR_INVALIDCALL);
    float constants[8] = {1.0f, 2.0f, 3.0f, 4.0f};
    EXPECT_EQ(t.device->SetVertexShaderConstantF(255, constants, 2), D3DERR_INVALIDCALL);
    // Ranges counted in registers: a start or count whose element count wraps is still refused,
    // and register 0 is left alone.
    EXPECT_EQ(t.device->SetVertexShaderConstantF(0x40000000u, constants, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(t.device->SetPixelShaderConstantF(0, constants, 0x40000001u), D3DERR_INVALIDCALL);
    float read[4] = {9.0f};
    EXPECT_EQ(t.device->GetVertexShaderConstantF(0, read, 1), D3D_OK);
    EXPECT_EQ(read[0], 0.0f);
    DWORD bogus[4] = {0x12345678, 4, 0, 0};
    IDirect3DVertexShader9* shader = nullptr;
    EXPECT_EQ(t.device->CreateVertexShader(bogus, &shader), D3DERR_INVALIDCALL);
    EXPECT_EQ(shader, nullptr);
    EXPECT_EQ(t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, nullptr, 16), D3DERR_INVALIDCALL);
}

namespace {

using tarnelix::test::kScreenFvf;
using tarnelix::test::ScreenVertex;

IDirect3DVertexBuffer9* quadBuffer(IDirect3DDevice9* device, D3DCOLOR colour) {
    ScreenVertex quad[6];
    tarnelix::test::screenQuad(quad, 0, 0, 8, 8, 0.5f, colour);
    IDirect3DVertexBuffer9* buffer = nullptr;
    device->CreateVertexBuffer(sizeof(quad), D3DUSAGE_WRITEONLY, kScreenFvf, D3DPOOL_MANAGED,
                               &buffer, nullptr);
    void* bits = nullptr;
    if (buffer && SUCCEEDED(buffer->Lock(0, 0, &bits, 0))) {
        std::memcpy(bits, quad, sizeof(quad));
        buffer->Unlock();
    }
    return buffer;
}

} // namespace

// GL may give a released object's name to the next object made (the test programs ask Mesa to
// do so at once): the device must not take the new object for the old one it had bound.
TEST(D3d9Device, ObjectsMadeAfterOthersWentAreBoundAfresh) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    IDirect3DDevice9* d = t.device;
    d->SetFVF(kScreenFvf);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);

    // Each kind made twice, the first released before the second is made: the second must be
    // the one cleared, drawn from and sampled.
    for (D3DCOLOR colour : {D3DCOLOR_XRGB(255, 0, 0), D3DCOLOR_XRGB(0, 255, 0)}) {
        IDirect3DSurface9* target = nullptr;
        ASSERT_EQ(d->CreateRenderTarget(8, 8, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE,
                                        &target, nullptr),
                  D3D_OK);
        d->SetRenderTarget(0, target);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0);
        EXPECT_EQ(t.read(target)[0], colour);
        d->SetRenderTarget(0, back);
        target->Release();
    }
    IDirect3DVertexBuffer9* buffer = nullptr;
    for (D3DCOLOR colour : {D3DCOLOR_XRGB(255, 0, 0), D3DCOLOR_XRGB(0, 0, 255)}) {
        if (buffer) {
            d->SetStreamSource(0, nullptr, 0, 0);
            buffer->Release();
        }
        buffer = quadBuffer(d, colour);
        d->SetStreamSource(0, buffer, 0, sizeof(ScreenVertex));
        d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
        EXPECT_EQ(static_cast<D3DCOLOR>(t.read()[4 * 8 + 4]), colour);
    }
    // Two texels apart, so that neither texture counts as one value (those need no binding).
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    IDirect3DTexture9* texture = nullptr;
    for (uint32_t colour : {0xFFFF0000u, 0xFF00FF00u}) {
        if (texture) {
            d->SetTexture(0, nullptr);
            texture->Release();
        }
        texture = t.texture(2, 1, {colour, colour & 0x80FFFFFFu});
        d->SetTexture(0, texture);
        d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
        EXPECT_EQ(t.pixel(1, 4).r, colour == 0xFFFF0000u ? 255 : 0);
        EXPECT_EQ(t.pixel(1, 4).g, colour == 0xFFFF0000u ? 0 : 255);
    }

    d->SetTexture(0, nullptr);
    d->SetStreamSource(0, nullptr, 0, 0);
    texture->Release();
    buffer->Release();
    back->Release();
}

// 16-bit colour needs a format GL 3.3 lacks without GL_ARB_ES2_compatibility: the back buffer
// is made, cleared and read back either way (the core_profile_only run takes the extension away).
TEST(D3d9Device, SixteenBitBackBufferClearsAndReadsBack) {
    TestDevice t(4, 4, D3DFMT_R5G6B5);
    ASSERT_TRUE(t.ok());
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(255, 0, 255), 1.0f, 0);
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* copy = nullptr;
    ASSERT_EQ(t.device->GetRenderTarget(0, &target), D3D_OK);
    ASSERT_EQ(t.device->CreateOffscreenPlainSurface(4, 4, D3DFMT_R5G6B5, D3DPOOL_SYSTEMMEM, &copy,
                                                    nullptr),
              D3D_OK);
    ASSERT_EQ(t.device->GetRenderTargetData(target, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    uint16_t texel = 0;
    std::memcpy(&texel, static_cast<const char*>(locked.pBits) + locked.Pitch * 3 + 2 * 3, 2);
    EXPECT_EQ(texel, 0xF81Fu);
    copy->UnlockRect();
    copy->Release();
    target->Release();
}

// Position from stream 0 at the caps' largest stride, colour from the last of the caps' streams
// at an offset into its buffer; the stream after the last is refused.
TEST(D3d9Device, TheLastStreamTheLargestStrideAndStreamOffsets) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    t.startScreenDrawing();
    D3DCAPS9 caps{};
    t.device->GetDeviceCaps(&caps);
    const UINT last = caps.MaxStreams - 1;
    const UINT stride = caps.MaxStreamStride;
    const BYTE lastStream = static_cast<BYTE>(last);
    D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
                                    {lastStream, 0, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                    D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(t.device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
    IDirect3DVertexBuffer9* positions = nullptr;
    IDirect3DVertexBuffer9* colours = nullptr;
    ASSERT_EQ(t.device->CreateVertexBuffer(4 * stride, 0, 0, D3DPOOL_MANAGED, &positions, nullptr),
              D3D_OK);
    ASSERT_EQ(t.device->CreateVertexBuffer(5 * 4, 0, 0, D3DPOOL_MANAGED, &colours, nullptr),
              D3D_OK);
    const float corners[4][4] = {
        {0, 0, 0.5f, 1}, {8, 0, 0.5f, 1}, {0, 8, 0.5f, 1}, {8, 8, 0.5f, 1}};
    void* bits = nullptr;
    ASSERT_EQ(positions->Lock(0, 0, &bits, 0), D3D_OK);
    std::memset(bits, 0, 4 * stride);
    for (UINT i = 0; i < 4; ++i) {
        std::memcpy(static_cast<char*>(bits) + i * stride, corners[i], sizeof(corners[i]));
    }
    positions->Unlock();
    const D3DCOLOR colourData[5] = {0xFFFF0000, 0xFF20C040, 0xFF20C040, 0xFF20C040, 0xFF20C040};
    ASSERT_EQ(colours->Lock(0, 0, &bits, 0), D3D_OK);
    std::memcpy(bits, colourData, sizeof(colourData));
    colours->Unlock();
    t.device->SetVertexDeclaration(declaration);
    EXPECT_EQ(t.device->SetStreamSource(0, positions, 0, stride), D3D_OK);
    EXPECT_EQ(t.device->SetStreamSource(last, colours, 4, 4), D3D_OK);
    EXPECT_EQ(t.device->SetStreamSource(last + 1, colours, 0, 4), D3DERR_INVALIDCALL);
    EXPECT_EQ(t.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    Rgba p = t.pixel(4, 4);
    EXPECT_EQ(p.r, 0x20);
    EXPECT_EQ(p.g, 0xC0);
    EXPECT_EQ(p.b, 0x40);
    t.device->SetStreamSource(0, nullptr, 0, 0);
    t.device->SetStreamSource(last, nullptr, 0, 0);
    positions->Release();
    colours->Release();
    declaration->Release();
}

// A strip of the caps' most triangles, all empty but the last, and a list indexing the caps'
// largest vertex index draw that last triangle; one more of either is refused.
TEST(D3d9Device, DrawsAtTheLargestPrimitiveCountAndVertexIndex) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    t.startScreenDrawing();
    D3DCAPS9 caps{};
    t.device->GetDeviceCaps(&caps);
    const UINT count = caps.MaxPrimitiveCount;
    const UINT largest = caps.MaxVertexIndex;
    ASSERT_EQ(count, largest); // the strip's last three vertices are the indexed ones
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR colour;
        float u, v;
    };
    const UINT vertices = count + 2;
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(t.device->CreateVertexBuffer(vertices * sizeof(Vertex), D3DUSAGE_WRITEONLY,
                                           tarnelix::test::kScreenFvf, D3DPOOL_DEFAULT, &buffer,
                                           nullptr),
              D3D_OK);
    void* bits = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &bits, 0), D3D_OK);
    auto* v = static_cast<Vertex*>(bits);
    std::fill(v, v + vertices, Vertex{0, 0, 0.5f, 1, 0xFFFF0000, 0, 0});
    v[vertices - 2].x = 16;
    v[vertices - 1].y = 16;
    buffer->Unlock();
    t.device->SetStreamSource(0, buffer, 0, sizeof(Vertex));
    EXPECT_EQ(t.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, count + 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(t.pixel(1, 1).r, 0);
    EXPECT_EQ(t.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, count), D3D_OK);
    EXPECT_EQ(t.pixel(1, 1).r, 255);

    // The indexed triangle ends at the largest index.
    ASSERT_EQ(buffer->Lock(0, 0, &bits, 0), D3D_OK);
    v = static_cast<Vertex*>(bits);
    v[largest - 1] = Vertex{16, 0, 0.5f, 1, 0xFFFF0000, 0, 0};
    v[largest] = Vertex{0, 16, 0.5f, 1, 0xFFFF0000, 0, 0};
    buffer->Unlock();
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(
        t.device->CreateIndexBuffer(6 * 4, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &indices, nullptr),
        D3D_OK);
    ASSERT_EQ(indices->Lock(0, 0, &bits, 0), D3D_OK);
    const uint32_t list[6] = {largest - 2, largest - 1, largest, largest - 1, largest, largest + 1};
    std::memcpy(bits, list, sizeof(list));
    indices->Unlock();
    t.device->SetIndices(indices);
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    EXPECT_EQ(t.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, largest - 1, 3, 3, 1),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(t.pixel(1, 1).r, 0);
    EXPECT_EQ(t.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, largest - 2, 3, 0, 1), D3D_OK);
    EXPECT_EQ(t.pixel(1, 1).r, 255);
    t.device->SetIndices(nullptr);
    t.device->SetStreamSource(0, nullptr, 0, 0);
    indices->Release();
    buffer->Release();
}

TEST(D3d9Device, ResetsAndPresentsWithEachIntervalTheCapsName) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    D3DCAPS9 caps{};
    t.device->GetDeviceCaps(&caps);
    for (DWORD interval : {DWORD{D3DPRESENT_INTERVAL_IMMEDIATE}, DWORD{D3DPRESENT_INTERVAL_ONE}}) {
        EXPECT_TRUE(caps.PresentationIntervals & interval);
        D3DPRESENT_PARAMETERS parameters{};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.BackBufferWidth = 8;
        parameters.BackBufferHeight = 8;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.PresentationInterval = interval;
        ASSERT_EQ(t.device->Reset(&parameters), D3D_OK) << interval;
        EXPECT_EQ(t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
        EXPECT_EQ(t.device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK) << interval;
    }
}
