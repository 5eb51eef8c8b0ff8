// Draw calls per second through the device, with the state changes a pass makes between
// draws, and the cost of generating a fixed-function program against finding it cached.
// Run with SDL_VIDEODRIVER=offscreen; GL's own time is included in the draw figures, so
// profile (perf record) to see the device's share.

#include "FixedFunction.h"
#include "ProgramCache.h"

#include <d3d9.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Bench {
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    HWND window = nullptr;
    IDirect3DTexture9* textures[2] = {};

    Bench() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.lpszClassName = "TarnelixBenchmark";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "TarnelixBenchmark", "benchmark", WS_CAPTION, 0, 0, 256, 256,
                                 nullptr, nullptr, nullptr, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters{};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                          D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device);
        for (IDirect3DTexture9*& texture : textures) {
            device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
        }
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
    }
    ~Bench() {
        for (IDirect3DTexture9* texture : textures) {
            texture->Release();
        }
        device->Release();
        d3d->Release();
        DestroyWindow(window);
    }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

struct SpriteVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};

// Small sprites as the sprite and particle passes draw them: blending mode and texture change
// between draws.
void BM_DrawPrimitiveUPWithStateChanges(benchmark::State& state) {
    IDirect3DDevice9* device = bench().device;
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    SpriteVertex quad[6] = {{0, 0, 0.5f, 1, 0xFFFFFFFF, 0, 0}, {4, 0, 0.5f, 1, 0xFFFFFFFF, 1, 0},
                            {0, 4, 0.5f, 1, 0xFFFFFFFF, 0, 1}, {0, 4, 0.5f, 1, 0xFFFFFFFF, 0, 1},
                            {4, 0, 0.5f, 1, 0xFFFFFFFF, 1, 0}, {4, 4, 0.5f, 1, 0xFFFFFFFF, 1, 1}};
    int i = 0;
    for (auto _ : state) {
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, (i & 1) ? TRUE : FALSE);
        device->SetRenderState(D3DRS_SRCBLEND, (i & 2) ? D3DBLEND_ONE : D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, (i & 2) ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
        device->SetTexture(0, bench().textures[i & 1]);
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(SpriteVertex));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["draws/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawPrimitiveUPWithStateChanges);

// Meshes as the material passes draw them: a world transform and a texture per draw, indexed
// triangles from buffers.
void BM_DrawIndexedPrimitiveWithStateChanges(benchmark::State& state) {
    IDirect3DDevice9* device = bench().device;
    struct Vertex {
        float x, y, z;
        D3DCOLOR colour;
        float u, v;
    } vertices[4] = {{-0.01f, -0.01f, 0.5f, 0xFFFFFFFF, 0, 0},
                     {0.01f, -0.01f, 0.5f, 0xFFFFFFFF, 1, 0},
                     {-0.01f, 0.01f, 0.5f, 0xFFFFFFFF, 0, 1},
                     {0.01f, 0.01f, 0.5f, 0xFFFFFFFF, 1, 1}};
    const WORD indices[6] = {0, 1, 2, 2, 1, 3};
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;
    device->CreateVertexBuffer(sizeof(vertices), 0, 0, D3DPOOL_MANAGED, &vb, nullptr);
    device->CreateIndexBuffer(sizeof(indices), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr);
    void* data = nullptr;
    vb->Lock(0, 0, &data, 0);
    std::memcpy(data, vertices, sizeof(vertices));
    vb->Unlock();
    ib->Lock(0, 0, &data, 0);
    std::memcpy(data, indices, sizeof(indices));
    ib->Unlock();
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    device->SetStreamSource(0, vb, 0, sizeof(Vertex));
    device->SetIndices(ib);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    D3DMATRIX world{};
    world._11 = world._22 = world._33 = world._44 = 1.0f;
    int i = 0;
    for (auto _ : state) {
        world._41 = static_cast<float>(i % 50) * 0.01f - 0.25f;
        device->SetTransform(D3DTS_WORLD, &world);
        device->SetTexture(0, bench().textures[i & 1]);
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
        ++i;
    }
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
    vb->Release();
    ib->Release();
    state.SetItemsProcessed(state.iterations());
    state.counters["draws/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawIndexedPrimitiveWithStateChanges);

// The same sprites with every state set again to the value it has: should cost what the
// draws alone cost.
void BM_DrawPrimitiveUPRedundantStates(benchmark::State& state) {
    IDirect3DDevice9* device = bench().device;
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    SpriteVertex quad[6] = {{0, 0, 0.5f, 1, 0xFFFFFFFF, 0, 0}, {4, 0, 0.5f, 1, 0xFFFFFFFF, 1, 0},
                            {0, 4, 0.5f, 1, 0xFFFFFFFF, 0, 1}, {0, 4, 0.5f, 1, 0xFFFFFFFF, 0, 1},
                            {4, 0, 0.5f, 1, 0xFFFFFFFF, 1, 0}, {4, 4, 0.5f, 1, 0xFFFFFFFF, 1, 1}};
    bool redundant = state.range(0) != 0;
    for (auto _ : state) {
        if (redundant) {
            for (int k = 0; k < 10; ++k) {
                device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
                device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
                device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
                device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
                device->SetTexture(0, bench().textures[0]);
            }
        }
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(SpriteVertex));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawPrimitiveUPRedundantStates)->Arg(0)->Arg(1);

tarnelix::d3d9::FixedPixelKey lightPassKey(int variant) {
    tarnelix::d3d9::FixedPixelKey key;
    key.stageCount = 3;
    key.inputs = tarnelix::d3d9::fullSignature();
    key.stages[0] = {D3DTOP_DOTPRODUCT3,
                     {D3DTA_CURRENT, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                     D3DTOP_DISABLE,
                     {1, 2, 1},
                     D3DTA_CURRENT,
                     2,
                     0,
                     0};
    key.stages[1] = {D3DTOP_MODULATE,
                     {D3DTA_CURRENT, D3DTA_TEXTURE, D3DTA_CURRENT},
                     D3DTOP_DISABLE,
                     {1, 2, 1},
                     D3DTA_CURRENT,
                     3,
                     1,
                     0};
    key.stages[2] = {D3DTOP_MODULATE,
                     {D3DTA_CURRENT, D3DTA_CURRENT, D3DTA_SPECULAR},
                     D3DTOP_DISABLE,
                     {1, 2, 1},
                     D3DTA_CURRENT,
                     0,
                     2,
                     0};
    key.reserved = static_cast<uint8_t>(variant); // distinct keys for the generating case
    return key;
}

// Writing the GLSL of a three-stage fixed-function program (before the driver compiles it).
void BM_FixedFunctionGenerateGlsl(benchmark::State& state) {
    tarnelix::d3d9::FixedPixelKey key = lightPassKey(0);
    for (auto _ : state) {
        std::string glsl = tarnelix::d3d9::generatePixelShader(key);
        benchmark::DoNotOptimize(glsl.data());
    }
}
BENCHMARK(BM_FixedFunctionGenerateGlsl);

// Generating and compiling it with the GL driver, as a first use does.
void BM_FixedFunctionGenerateAndCompile(benchmark::State& state) {
    bench();
    int variant = 0;
    for (auto _ : state) {
        tarnelix::d3d9::ProgramCache cache(false);
        benchmark::DoNotOptimize(cache.fixedPixelShader(lightPassKey(variant++ & 0xFF)));
    }
}
BENCHMARK(BM_FixedFunctionGenerateAndCompile)->Unit(benchmark::kMicrosecond);

// Finding it cached: building the key from state and looking it up.
void BM_FixedFunctionReuse(benchmark::State& state) {
    bench();
    tarnelix::d3d9::ProgramCache cache(false);
    tarnelix::d3d9::DeviceState deviceState;
    deviceState.setDefaults();
    uint8_t kinds[tarnelix::d3d9::kStageCount] = {2, 3, 0};
    tarnelix::d3d9::FixedPixelKey key;
    tarnelix::d3d9::buildPixelKey(deviceState, kinds, tarnelix::d3d9::fullSignature(), key);
    cache.fixedPixelShader(key);
    for (auto _ : state) {
        tarnelix::d3d9::buildPixelKey(deviceState, kinds, tarnelix::d3d9::fullSignature(), key);
        benchmark::DoNotOptimize(cache.fixedPixelShader(key));
    }
}
BENCHMARK(BM_FixedFunctionReuse);

} // namespace

BENCHMARK_MAIN();
