#pragma once

// The device's Direct3D state as the program set it: render, texture-stage and sampler states,
// transforms, viewport, material. Each value starts at Direct3D 9's documented default.

#include <d3d9.h>

#include <cstdint>

namespace tarnelix::d3d9 {

constexpr int kRenderStateCount = 256;
constexpr int kStageCount = 8;
constexpr int kStageStateCount = 33;
constexpr int kSamplerCount = 16;
constexpr int kSamplerStateCount = 14;
constexpr int kStreamCount = 16;
constexpr int kVertexFloatRegisters = 256;
constexpr int kPixelFloatRegisters = 224;
constexpr int kIntRegisters = 16;
constexpr int kBoolRegisters = 16;
// The largest draw the caps report: larger ones are refused before any count can overflow.
constexpr UINT kMaxPrimitiveCount = 0xFFFFF;
constexpr UINT kMaxVertexIndex = 0xFFFFF;
constexpr int kTransformCount = 512; // 0..23 plus the world matrices from 256

struct DeviceState {
    DWORD render[kRenderStateCount];
    DWORD stage[kStageCount][kStageStateCount];
    DWORD sampler[kSamplerCount][kSamplerStateCount];
    D3DMATERIAL9 material;

    // Resets everything to the defaults.
    void setDefaults();
};

// The default of one render state, texture-stage state or sampler state.
DWORD defaultRenderState(DWORD state);
DWORD defaultStageState(DWORD stage, DWORD state);
DWORD defaultSamplerState(DWORD state);

// Whether the device knows the state at all (values between the enumerated ones are refused).
bool isKnownRenderState(DWORD state);
bool isKnownStageState(DWORD state);

inline float floatOf(DWORD bits) {
    float value;
    static_assert(sizeof(value) == sizeof(bits));
    __builtin_memcpy(&value, &bits, sizeof(value));
    return value;
}

inline DWORD bitsOf(float value) {
    DWORD bits;
    __builtin_memcpy(&bits, &value, sizeof(bits));
    return bits;
}

} // namespace tarnelix::d3d9
