#pragma once

// State blocks: which device states a block holds, and their values. Capture reads the held
// states back through the device's Get* calls and Apply sets them through its Set* calls, so
// that the GL state and the device's caches follow exactly as if the program had set them.

#include "ComObject.h"
#include "DeviceState.h"

#include <array>
#include <bitset>
#include <cstring>
#include <map>

namespace tarnelix::d3d9 {

// A counted reference to a device object (texture, buffer, shader, declaration).
template <class T> class Ref {
public:
    Ref() = default;
    Ref(const Ref& other) { reset(other.object_); }
    Ref& operator=(const Ref& other) {
        reset(other.object_);
        return *this;
    }
    ~Ref() { adopt(nullptr); }

    // Holds a reference of its own.
    void reset(T* object) {
        if (object) {
            object->AddRef();
        }
        adopt(object);
    }
    // Takes over the reference a Get* call handed out.
    void adopt(T* object) {
        if (object_) {
            object_->Release();
        }
        object_ = object;
    }
    T* get() const { return object_; }

private:
    T* object_ = nullptr;
};

template <class T> struct Held {
    bool held = false;
    T value{};
    void record(const T& v) {
        held = true;
        value = v;
    }
};

template <class T> void recordObject(Held<Ref<T>>& slot, T* object) {
    slot.held = true;
    slot.value.reset(object);
}

// N numbered states of one kind (render states, registers, streams...).
template <class T, size_t N> struct HeldSlots {
    std::bitset<N> held;
    std::array<T, N> values{};

    static constexpr size_t size() { return N; }
    void record(size_t index, const T& value) {
        held.set(index);
        values[index] = value;
    }
    // Shader constant registers: `count` elements from `start`, refused past the end as the
    // device refuses them.
    template <class E> HRESULT recordRange(UINT start, const E* data, UINT count) {
        static_assert(sizeof(T) % sizeof(E) == 0);
        if (!data || start > N || count > N - start) {
            return D3DERR_INVALIDCALL;
        }
        for (UINT i = 0; i < count; ++i) {
            held.set(start + i);
            std::memcpy(&values[start + i], data + i * (sizeof(T) / sizeof(E)), sizeof(T));
        }
        return D3D_OK;
    }
};

struct StreamSource {
    Ref<IDirect3DVertexBuffer9> buffer;
    UINT offset = 0;
    UINT stride = 0;
};

// The declaration and the FVF are one state: setting either replaces the other.
struct VertexInput {
    Ref<IDirect3DVertexDeclaration9> declaration;
    DWORD fvf = 0;
};

struct LightSlot {
    Held<D3DLIGHT9> light;
    Held<BOOL> enabled;
};

using Vector4 = std::array<float, 4>;
using IntVector4 = std::array<int, 4>;

struct StateSet {
    HeldSlots<DWORD, kRenderStateCount> render;
    HeldSlots<DWORD, kStageCount * kStageStateCount> stage; // stage * kStageStateCount + type
    HeldSlots<DWORD, kSamplerCount * kSamplerStateCount> sampler;
    HeldSlots<Ref<IDirect3DBaseTexture9>, kSamplerCount> textures;
    HeldSlots<StreamSource, kStreamCount> streams;
    HeldSlots<UINT, kStreamCount> frequencies;
    Held<Ref<IDirect3DIndexBuffer9>> indices;
    Held<VertexInput> vertexInput;
    Held<Ref<IDirect3DVertexShader9>> vertexShader;
    Held<Ref<IDirect3DPixelShader9>> pixelShader;
    HeldSlots<Vector4, kVertexFloatRegisters> vsFloat;
    HeldSlots<IntVector4, kIntRegisters> vsInt;
    HeldSlots<BOOL, kBoolRegisters> vsBool;
    HeldSlots<Vector4, kPixelFloatRegisters> psFloat;
    HeldSlots<IntVector4, kIntRegisters> psInt;
    HeldSlots<BOOL, kBoolRegisters> psBool;
    HeldSlots<D3DMATRIX, kTransformCount> transforms;
    Held<D3DVIEWPORT9> viewport;
    Held<RECT> scissor;
    HeldSlots<Vector4, D3DMAXUSERCLIPPLANES> clipPlanes;
    Held<D3DMATERIAL9> material;
    std::map<DWORD, LightSlot> lights;

    static size_t stageIndex(DWORD stage, DWORD type) { return stage * kStageStateCount + type; }
    static size_t samplerIndex(DWORD sampler, DWORD type) {
        return sampler * kSamplerStateCount + type;
    }
};

class StateBlock final : public ComObject<IDirect3DStateBlock9>, public DeviceChild {
public:
    explicit StateBlock(Device* device) : DeviceChild(device) {}

    // Marks the states of a type as held (D3DSBT_ALL, _PIXELSTATE, _VERTEXSTATE); Capture then
    // reads their values. False for other types.
    bool holdType(D3DSTATEBLOCKTYPE type);
    // What the device records into between BeginStateBlock and EndStateBlock.
    StateSet& held() { return held_; }

    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
    HRESULT STDMETHODCALLTYPE Capture() override;
    HRESULT STDMETHODCALLTYPE Apply() override;
    void releaseGl() override {}

private:
    bool usable() const;
    void holdPixelStates();
    void holdVertexStates();
    void holdEverything();
    void holdLights();

    void captureStates(IDirect3DDevice9* device);
    void captureObjects(IDirect3DDevice9* device);
    void captureConstants(IDirect3DDevice9* device);
    void captureFixedFunction(IDirect3DDevice9* device);
    void applyStates(IDirect3DDevice9* device);
    void applyObjects(IDirect3DDevice9* device);
    void applyConstants(IDirect3DDevice9* device);
    void applyFixedFunction(IDirect3DDevice9* device);

    StateSet held_;
};

} // namespace tarnelix::d3d9
