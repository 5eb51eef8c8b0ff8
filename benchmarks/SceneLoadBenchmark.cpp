// Loading a scene of about one million triangles: the whole load, and the parsing alone (a load
// without a device steps over the mesh data instead of building meshes).
#include "engine/resources/TextureCache.h"
#include "engine/scene/Scene.h"
#include "tools/common/HeadlessDevice.h"
#include "tools/scenewriter/SceneWriter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// A grid of `side` x `side` quads as one object.
scenefile::Object gridObject(int side, float offset) {
    scenefile::Object o;
    o.material = 0;
    for (int y = 0; y <= side; ++y) {
        for (int x = 0; x <= side; ++x) {
            scenefile::Vertex v;
            v.position = {offset + static_cast<float>(x), std::sin(x * 0.1f),
                          static_cast<float>(y)};
            v.normal = {0, 1, 0};
            v.u = static_cast<float>(x) / side;
            v.v = static_cast<float>(y) / side;
            o.vertices.push_back(v);
        }
    }
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const uint32_t i = static_cast<uint32_t>(y * (side + 1) + x);
            const uint32_t row = static_cast<uint32_t>(side + 1);
            o.indices.insert(o.indices.end(), {i, i + row, i + 1, i + 1, i + row, i + row + 1});
        }
    }
    return o;
}

class SceneFile {
public:
    SceneFile() {
        char pattern[] = "/tmp/tarnelix-bench-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd >= 0) {
            close(fd);
        }
        m_path = pattern;
        scenefile::Scene s;
        s.frameCount = 601;
        s.materials.resize(1);
        // 16 objects of 180 x 180 quads: 1,036,800 triangles, all within 16-bit indices.
        for (int i = 0; i < 16; ++i) {
            s.objects.push_back(gridObject(180, 200.0f * i));
        }
        scenefile::saveScene(s, m_path);
        FILE* f = std::fopen(m_path.c_str(), "rb");
        std::fseek(f, 0, SEEK_END);
        m_bytes = std::ftell(f);
        std::fclose(f);
    }
    ~SceneFile() { std::remove(m_path.c_str()); }
    const std::string& path() const { return m_path; }
    long bytes() const { return m_bytes; }

private:
    std::string m_path;
    long m_bytes = 0;
};

SceneFile& sceneFile() {
    static SceneFile file;
    return file;
}

void loadScene(benchmark::State& state, IDirect3DDevice9* device) {
    TextureCache textures;
    Scene scene;
    for (auto _ : state) {
        if (!scene.load(sceneFile().path().c_str(), device, textures)) {
            state.SkipWithError("load failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * sceneFile().bytes());
    state.counters["MB"] = static_cast<double>(sceneFile().bytes()) / 1e6;
}

void BM_ParseOnly(benchmark::State& state) {
    loadScene(state, nullptr);
}

void BM_LoadWithMeshes(benchmark::State& state) {
    static HeadlessDevice device;
    if (device.device() == nullptr) {
        state.SkipWithError("no headless device");
        return;
    }
    loadScene(state, device.device());
}

} // namespace

BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWithMeshes)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
