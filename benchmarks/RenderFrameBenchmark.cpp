// Renders a synthetic scene headless at 1024 x 768: a grid of normal-mapped boxes in four
// materials (plain, cut-out, glowing textured, glowing flat) under six moving lights, with the
// glow on and a fade. Prints the time renderFrame takes (median and 95th percentile), draw calls
// and state changes per frame, and the heap allocations of a steady frame.
//
// It runs the scene twice: first on a device that draws nothing and counts the calls (the
// engine's own time, and the call counts, which do not depend on the device), then on the
// device stand-in (OpenGL). `--null` stops after the first run.
#include "CallRecordingDevice.h"
#include "CountingAllocator.h"
#include "engine/resources/ProgramDevice.h"

#include "engine/render/RenderEngine.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Light.h"
#include "engine/scene/Material.h"
#include "engine/scene/MeshVertex.h"
#include "engine/scene/SceneObject.h"

#include <d3d9.h>
#include <d3dx9.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kGridSide = 12;
constexpr int kLightCount = 6;
constexpr int kWarmUpFrames = 20;
constexpr int kMeasuredFrames = 300;

// A box for the device that draws nothing: drawing it counts one draw call.
class CountingMesh : public SilentMesh {
public:
    explicit CountingMesh(CallRecordingDevice& device) : m_device(device) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE DrawSubset(DWORD) override {
        ++m_device.drawCalls;
        return S_OK;
    }

private:
    virtual ~CountingMesh() = default;
    CallRecordingDevice& m_device;
    ULONG m_references = 1;
};

IDirect3DDevice9* createStandInDevice() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TarnelixBenchmark";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "TarnelixBenchmark", "Tarnelix", WS_CAPTION, 0, 0, kWidth,
                                  kHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (window == nullptr || direct3d == nullptr) {
        return nullptr;
    }
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.Windowed = TRUE;
    parameters.BackBufferWidth = kWidth;
    parameters.BackBufferHeight = kHeight;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = nullptr;
    direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                           D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device);
    return device;
}

// A unit box with a full 56-byte vertex per corner of each face.
ID3DXMesh* createBox(IDirect3DDevice9* device) {
    ID3DXMesh* mesh = nullptr;
    if (FAILED(D3DXCreateMesh(12, 24, D3DXMESH_MANAGED, kMeshVertexDeclaration, device, &mesh))) {
        return nullptr;
    }
    static const float kFaces[6][3][3] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}};
    MeshVertex* vertices = nullptr;
    mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices));
    WORD* indices = nullptr;
    mesh->LockIndexBuffer(0, reinterpret_cast<void**>(&indices));
    for (int f = 0; f < 6; ++f) {
        const float* n = kFaces[f][0];
        const float* t = kFaces[f][1];
        const float* b = kFaces[f][2];
        for (int c = 0; c < 4; ++c) {
            const float s = (c & 1) ? 1.0f : -1.0f;
            const float r = (c & 2) ? 1.0f : -1.0f;
            MeshVertex& v = vertices[f * 4 + c];
            for (int k = 0; k < 3; ++k) {
                v.position[k] = n[k] + s * t[k] + r * b[k];
                v.normal[k] = n[k];
                v.tangent[k] = t[k];
                v.binormal[k] = b[k];
            }
            v.u = (s + 1) / 2;
            v.v = (r + 1) / 2;
        }
        const WORD base = static_cast<WORD>(f * 4);
        const WORD quad[6] = {base,
                              static_cast<WORD>(base + 1),
                              static_cast<WORD>(base + 2),
                              static_cast<WORD>(base + 2),
                              static_cast<WORD>(base + 1),
                              static_cast<WORD>(base + 3)};
        std::memcpy(indices + f * 6, quad, sizeof quad);
    }
    mesh->UnlockIndexBuffer();
    mesh->UnlockVertexBuffer();
    return mesh;
}

// A 64 x 64 texture of one colour with an alpha ramp, for materials that need one.
IDirect3DTexture9* createTexture(IDirect3DDevice9* device, D3DCOLOR colour) {
    IDirect3DTexture9* texture = nullptr;
    device->CreateTexture(64, 64, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
    if (texture == nullptr) {
        return nullptr;
    }
    D3DLOCKED_RECT rect = {};
    if (SUCCEEDED(texture->LockRect(0, &rect, nullptr, 0)) && rect.pBits != nullptr) {
        for (int y = 0; y < 64; ++y) {
            auto* row =
                reinterpret_cast<D3DCOLOR*>(static_cast<char*>(rect.pBits) + y * rect.Pitch);
            for (int x = 0; x < 64; ++x) {
                row[x] = (colour & 0x00FFFFFFu) | (static_cast<D3DCOLOR>(x * 4) << 24);
            }
        }
        texture->UnlockRect(0);
    }
    return texture;
}

struct SyntheticScene {
    std::deque<Material> materials;
    std::deque<SceneObject> objects;
    std::vector<Matrix4> worlds;
    std::deque<Light> lights;
    std::deque<Texture> textures;

    void build(IDirect3DDevice9* device, CallRecordingDevice* counting) {
        Texture& normalMap = textures.emplace_back();
        normalMap.adopt(createTexture(device, 0xFF8080FFu));
        Texture& colour = textures.emplace_back();
        colour.adopt(createTexture(device, 0xFFC08040u));
        for (int m = 0; m < 4; ++m) {
            Material& material = materials.emplace_back();
            material.diffuseColor = Vec4(0.05f, 0.05f, 0.05f, 1);
            material.glowColor = Vec4(0.9f, 0.8f, 0.7f, 1);
            material.normalMap = &normalMap;
            material.colorTexture = m == 3 ? nullptr : &colour;
            material.alphaTest = m == 1;
            material.selfIllum = m >= 2;
        }
        for (int z = 0; z < kGridSide; ++z) {
            for (int x = 0; x < kGridSide; ++x) {
                SceneObject& object = objects.emplace_back();
                object.mesh = counting != nullptr ? new CountingMesh(*counting) : createBox(device);
                object.boundsMin = Vec4(-1, -1, -1, 1);
                object.boundsMax = Vec4(1, 1, 1, 1);
                object.attachMaterial(&materials[static_cast<size_t>((x + z) % 4)]);
                Matrix4 world;
                world.m[3][0] = (x - kGridSide / 2) * 4.0f;
                world.m[3][2] = z * 4.0f;
                worlds.push_back(world);
            }
        }
        for (int i = 0; i < kLightCount; ++i) {
            Light& light = lights.emplace_back();
            light.radius = 7.0f;
            light.color = Vec4(0.8f, 0.7f, 0.6f, 1);
        }
    }

    void release() {
        objects.clear();
        for (Texture& texture : textures) {
            texture.release();
        }
    }

    void submit(RenderEngine& engine, int frame) {
        const float t = frame * 0.02f;
        for (int i = 0; i < kLightCount; ++i) {
            const float a = t + i * 1.047f;
            lights[static_cast<size_t>(i)].position =
                Vec4(std::cos(a) * 16.0f, 2.0f, 22.0f + std::sin(a) * 16.0f, 1.0f);
            engine.addLight(&lights[static_cast<size_t>(i)]);
        }
        for (size_t i = 0; i < objects.size(); ++i) {
            engine.submitObject(&objects[i], worlds[i]);
        }
        engine.camera.setProjection(1.0f, static_cast<float>(kWidth) / kHeight);
        engine.camera.setView(Vec4(0, 30, -30, 1), Vec4(0, 0, 20, 1), Vec4(0, 1, 0, 1));
    }
};

double threadCpuMs() {
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

struct RunResult {
    double medianMs = 0;
    double p95Ms = 0;
    double threadCpuMedianMs = 0; // this thread's processor time: not the driver's own threads
    size_t allocations = 0;
    int drawCalls = 0;
    int stateChanges = 0;
};

// Draws the scene for warm-up and measured frames; `counting` is the device when it is the one
// that draws nothing.
RunResult run(IDirect3DDevice9* device, CallRecordingDevice* counting) {
    setProgramDevice(device);
    RenderEngine engine;
    engine.init(device, kWidth, kHeight);
    engine.ambientColour = Vec4(0.2f, 0.2f, 0.2f, 1);
    engine.glowEnabled = true;
    engine.blurAmount = 0.012f;
    SyntheticScene scene;
    scene.build(device, counting);

    RunResult result;
    std::vector<double> frameMs;
    std::vector<double> cpuMs;
    for (int frame = 0; frame < kWarmUpFrames + kMeasuredFrames; ++frame) {
        scene.submit(engine, frame);
        const bool measured = frame >= kWarmUpFrames;
        if (counting != nullptr) {
            counting->clearCalls();
        }
        if (measured) {
            counting_allocator::start();
        }
        const double cpuBegin = threadCpuMs();
        const auto begin = std::chrono::steady_clock::now();
        engine.renderFrame(Vec4(0, 0, 0, 1), 0.25f);
        const auto end = std::chrono::steady_clock::now();
        const double cpuEnd = threadCpuMs();
        if (measured) {
            counting_allocator::stop();
            result.allocations += counting_allocator::allocations();
            if (frame + 1 == kWarmUpFrames + kMeasuredFrames && result.allocations > 0) {
                std::printf("allocating functions in the last frame:\n");
                counting_allocator::printCallers(8);
            }
            frameMs.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
            cpuMs.push_back(cpuEnd - cpuBegin);
        }
        if (counting == nullptr) {
            device->Present(nullptr, nullptr, nullptr, nullptr);
        }
    }
    result.medianMs = percentile(frameMs, 0.5);
    result.p95Ms = percentile(frameMs, 0.95);
    result.threadCpuMedianMs = percentile(cpuMs, 0.5);
    if (counting != nullptr) {
        result.drawCalls = counting->drawCalls;
        result.stateChanges = counting->stateChanges;
    }
    engine.release();
    scene.release();
    setProgramDevice(nullptr);
    return result;
}

void print(const char* device, const RunResult& result) {
    std::printf("%-28s renderFrame median %.3f ms, p95 %.3f ms (calling thread's CPU: median "
                "%.3f ms); heap allocations in %d steady frames: %zu\n",
                device, result.medianMs, result.p95Ms, result.threadCpuMedianMs, kMeasuredFrames,
                result.allocations);
}

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0); // headless unless the caller chose a driver
    // The shader programs are compiled from their sources in the working directory.
    if (chdir(TARNELIX_DATA_DIR) != 0) {
        std::fprintf(stderr, "render_frame_benchmark: no shader directory %s\n", TARNELIX_DATA_DIR);
        return 1;
    }
    std::printf("synthetic scene: %d x %d, %d boxes in 4 materials, %d moving lights, glow and "
                "fade on\n",
                kWidth, kHeight, kGridSide * kGridSide, kLightCount);
    CallRecordingDevice nullDevice;
    nullDevice.recording = false;
    const RunResult engineOnly = run(&nullDevice, &nullDevice);
    std::printf("per frame: %d draw calls, %d state changes\n", engineOnly.drawCalls,
                engineOnly.stateChanges);
    print("engine alone (null device):", engineOnly);
    if (argc > 1 && std::strcmp(argv[1], "--null") == 0) {
        return 0;
    }
    IDirect3DDevice9* device = createStandInDevice();
    if (device == nullptr) {
        std::fprintf(stderr, "render_frame_benchmark: the device stand-in could not start\n");
        return 1;
    }
    print("engine + stand-in + GL:", run(device, nullptr));
    device->Release();
    return 0;
}
