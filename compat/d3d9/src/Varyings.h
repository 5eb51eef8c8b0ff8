#pragma once

// The varyings that connect vertex and pixel stages: COLOR0, COLOR1 and TEXCOORD0 to 7, named
// "tx_v_" + semantic + index on both sides. Their component counts differ between programs
// (a texture coordinate may be a vec2), so each side records what it declares.

#include <cstdint>
#include <string>

namespace tarnelix::d3d9 {

constexpr int kVaryingCount = 10;
constexpr int kColor0 = 0;
constexpr int kColor1 = 1;
constexpr int kTexCoord0 = 2;

const char* varyingName(int index);

// Component count (1 to 4) of each varying a program declares, 0 where it declares none.
struct VaryingSignature {
    uint8_t components[kVaryingCount] = {};
};

// Reads the declarations `<qualifier> <type> tx_v_<NAME>;` of GLSL source.
VaryingSignature readSignature(const std::string& glsl, const char* qualifier);

// GLSL type of a component count: float, vec2, vec3, vec4.
const char* glslType(int components);

} // namespace tarnelix::d3d9
