// Speed of the extension library's three heavy services, over the tests' memory device (the
// figures leave out what a real device spends on uploading, except where noted):
//   texture creation from a 1024x1024 JPEG with its mip chain, in megapixels per second;
//   HLSL compilation per program once the compiler is warm;
//   mesh building (create, fill, tangents, bounding box, vertex-cache optimisation, 16-bit
//   clone) per 100,000 triangles.

#include "D3d9TestDevice.h"
#include "ImageEncoding.h"
#include "MemoryDevice.h"
#include "SceneVertex.h"

#include <benchmark/benchmark.h>
#include <d3dx9.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> photoLikeJpeg(int side) {
    std::vector<uint8_t> pixels(size_t(side) * side * 3);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            uint8_t* p = &pixels[(size_t(y) * side + x) * 3];
            p[0] = uint8_t(128 + 100 * std::sin(x * 0.05));
            p[1] = uint8_t(128 + 100 * std::cos(y * 0.03));
            p[2] = uint8_t((x * y) >> 6);
        }
    }
    return encodeJpeg(pixels, side, side, 3, false, 90);
}

void TextureFromJpeg1024(benchmark::State& state) {
    const std::vector<uint8_t> jpeg = photoLikeJpeg(1024);
    MemoryDevice* device = new MemoryDevice;
    for (auto _ : state) {
        IDirect3DTexture9* texture = nullptr;
        D3DXCreateTextureFromFileInMemoryEx(device, jpeg.data(), UINT(jpeg.size()), D3DX_DEFAULT,
                                            D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                            D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                            nullptr, &texture);
        benchmark::DoNotOptimize(texture);
        texture->Release();
    }
    state.counters["MP/s"] =
        benchmark::Counter(1024.0 * 1024.0 / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    device->Release();
}
BENCHMARK(TextureFromJpeg1024)->Unit(benchmark::kMillisecond);

// The same on the OpenGL device, uploads included.
void TextureFromJpeg1024OnDevice(benchmark::State& state) {
    const std::vector<uint8_t> jpeg = photoLikeJpeg(1024);
    tarnelix::test::TestDevice device(64, 64);
    if (!device.ok()) {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state) {
        IDirect3DTexture9* texture = nullptr;
        D3DXCreateTextureFromFileInMemoryEx(device.device, jpeg.data(), UINT(jpeg.size()),
                                            D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                            D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                            D3DX_DEFAULT, 0, nullptr, nullptr, &texture);
        benchmark::DoNotOptimize(texture);
        texture->Release();
    }
    state.counters["MP/s"] =
        benchmark::Counter(1024.0 * 1024.0 / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(TextureFromJpeg1024OnDevice)->Unit(benchmark::kMillisecond)->UseRealTime();

void CompileShader(benchmark::State& state, const char* file, const char* profile) {
    const std::string path = std::string(TARNELIX_DATA_DIR) + "/" + file;
    auto compile = [&] {
        ID3DXBuffer* code = nullptr;
        ID3DXConstantTable* table = nullptr;
        D3DXCompileShaderFromFileA(path.c_str(), nullptr, nullptr, "main", profile, 0, &code,
                                   nullptr, &table);
        code->Release();
        table->Release();
    };
    compile(); // the compiler's first use in a process sets up its tables
    for (auto _ : state) {
        compile();
    }
}
BENCHMARK_CAPTURE(CompileShader, null, "nullvertexshader.vsh", "vs_1_1")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CompileShader, normalmap, "normalmapvertexshader.vsh", "vs_1_1")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CompileShader, glowvertex, "glowvertexshader.vsh", "vs_1_1")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CompileShader, glowpixel, "glowpixelshader.psh", "ps_2_0")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CompileShader, alpha, "alphapixelshader.psh", "ps_1_1")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CompileShader, particle, "particlevertexshader.vsh", "vs_1_1")
    ->Unit(benchmark::kMillisecond);

// A wavy grid of side x side quads, as a 3DF mesh block would hold it.
void grid(uint32_t side, std::vector<SceneVertex>& vertices, std::vector<uint32_t>& indices) {
    for (uint32_t y = 0; y <= side; ++y) {
        for (uint32_t x = 0; x <= side; ++x) {
            SceneVertex v{};
            v.position[0] = float(x);
            v.position[1] = float(y);
            v.position[2] = std::sin(x * 0.3f) * std::cos(y * 0.2f);
            v.normal[2] = -1.0f;
            v.uv[0] = x * 0.1f;
            v.uv[1] = y * 0.1f;
            vertices.push_back(v);
        }
    }
    for (uint32_t y = 0; y < side; ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            const uint32_t a = y * (side + 1) + x, b = a + 1, c = a + side + 1, d = c + 1;
            indices.insert(indices.end(), {a, c, b, b, c, d});
        }
    }
}

void BuildMesh(benchmark::State& state) {
    const uint32_t side = uint32_t(state.range(0));
    std::vector<SceneVertex> vertices;
    std::vector<uint32_t> indices;
    grid(side, vertices, indices);
    const DWORD faces = DWORD(indices.size() / 3);
    MemoryDevice* device = new MemoryDevice;
    for (auto _ : state) {
        ID3DXMesh* mesh = nullptr;
        D3DXCreateMesh(faces, DWORD(vertices.size()), D3DXMESH_32BIT | D3DXMESH_SYSTEMMEM,
                       kSceneVertexDeclaration, device, &mesh);
        void* v = nullptr;
        void* i = nullptr;
        mesh->LockVertexBuffer(0, &v);
        std::memcpy(v, vertices.data(), vertices.size() * sizeof(SceneVertex));
        mesh->LockIndexBuffer(0, &i);
        std::memcpy(i, indices.data(), indices.size() * 4);
        D3DXComputeTangentFrameEx(mesh, D3DDECLUSAGE_TEXCOORD, 0, D3DDECLUSAGE_TANGENT, 0,
                                  D3DDECLUSAGE_BINORMAL, 0, D3DX_DEFAULT, 0, 0, nullptr, -1.01f,
                                  -0.01f, -1.01f, nullptr, nullptr);
        mesh->UnlockVertexBuffer();
        mesh->UnlockIndexBuffer();
        mesh->LockVertexBuffer(D3DLOCK_READONLY, &v);
        D3DXVECTOR3 min, max;
        D3DXComputeBoundingBox(static_cast<D3DXVECTOR3*>(v), DWORD(vertices.size()), 56, &min,
                               &max);
        mesh->UnlockVertexBuffer();
        ID3DXMesh* optimised = nullptr;
        if (SUCCEEDED(mesh->Optimize(D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM, nullptr, nullptr,
                                     nullptr, nullptr, &optimised))) {
            mesh->Release();
            mesh = optimised;
        }
        ID3DXMesh* clone = nullptr;
        if (SUCCEEDED(
                mesh->CloneMesh(D3DXMESH_WRITEONLY, kSceneVertexDeclaration, device, &clone))) {
            mesh->Release();
            mesh = clone;
        }
        mesh->Release();
        // The memory device keeps every buffer for inspection; a benchmark does not need them.
        for (auto* b : device->vertexBuffers) {
            b->Release();
        }
        for (auto* b : device->indexBuffers) {
            b->Release();
        }
        device->vertexBuffers.clear();
        device->indexBuffers.clear();
    }
    state.counters["triangles"] = double(faces);
    // Seconds per 100,000 triangles (printed with an SI prefix: "32m" is 32 ms).
    state.counters["s/100k"] =
        benchmark::Counter(double(faces) / 100000.0, benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
    device->Release();
}
// 49,928 triangles (clones to 16 bits) and 100,352 (stays 32-bit).
BENCHMARK(BuildMesh)->Arg(158)->Arg(224)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
