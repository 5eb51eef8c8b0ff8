#pragma once

// The shader "function" that the HLSL compiler stand-in produces and that CreateVertexShader and
// CreatePixelShader take. Real Direct3D 9 passes shader-model bytecode here; on OpenGL the
// compiler emits GLSL 330 plus the facts the device needs to bind it, packed into DWORDs so the
// usual D3DXCompileShader -> GetBufferPointer -> CreateVertexShader path works unchanged.
//
// Conventions shared by the compiler and the device:
// - Varyings are named "tx_v_" + semantic + index ("tx_v_COLOR0", "tx_v_TEXCOORD3") on both
//   stages, so a vertex program links with the device's fixed-function fragment shaders too.
// - A vertex program declares `uniform vec4 tx_PosFixup;` and ends with
//   `gl_Position.xy = gl_Position.xy * tx_PosFixup.xy + tx_PosFixup.zw * gl_Position.w;`.
//   The device sets it per render target (pixel-centre offset and row order); depth is left in
//   Direct3D's 0..w range for the device to handle.
// - A vertex program saturates its COLOR outputs to [0, 1], as Direct3D 9 does.
// - Float and bool constants live in one std140 uniform block per stage (`uniformBlock`,
//   binding point 0 for vertex, 1 for pixel programs). Before a draw, the device copies register
//   k of each constant (k < registerCount) to uniformOffset + 16 * k in the block: for the Float4
//   set `bytesPerRegister` bytes of the float register, for the Bool set one uint32 holding 0 or
//   1. Matrices arrive in the registers already transposed by the constant table, which is what
//   the block's layout expects.
// - Sampler constants name a GLSL sampler uniform (`glslName`) bound to texture unit
//   registerIndex.
// What the device does with the GLSL beyond that (for the compiler's side to keep working):
// - Varyings are matched by name; their types may differ from vec4 (a vec2 TEXCOORD0): the
//   device reads each declaration `out <type> tx_v_...;` / `in <type> tx_v_...;` and declares
//   its own generated stages to match. Varyings carry no layout(location) qualifiers.
// - Vertex inputs get fixed attribute locations by (usage, usageIndex) through
//   glBindAttribLocation, so inputs need no location qualifiers either.
// - A pixel program's `void main()` is renamed and wrapped so that the device's alpha test
//   (D3DRS_ALPHATESTENABLE/ALPHAFUNC/ALPHAREF) runs on the COLOR0 output named in `outputs`;
//   the source must contain that exact text once.
// - With pre-transformed vertices (POSITIONT, D3DFVF_XYZRHW) the device skips the vertex
//   program and feeds the pixel program from its own stage, as Direct3D 9 does.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnelix {

constexpr uint32_t kShaderBlobMagic = 0x48535854; // "TXSH"
constexpr uint32_t kShaderBlobEnd = 0x0000FFFF;   // Direct3D's end token, kept for looks

enum class ShaderStage : uint32_t { Vertex = 0, Pixel = 1 };

// Same order as D3DXREGISTER_SET.
enum class RegisterSet : uint32_t { Bool = 0, Int4 = 1, Float4 = 2, Sampler = 3 };

// One vertex attribute (vertex programs' inputs) or varying, with its Direct3D semantic as a
// D3DDECLUSAGE value and index.
struct ShaderVarying {
    std::string glslName;
    uint32_t usage = 0;
    uint32_t usageIndex = 0;
};

struct ShaderConstant {
    std::string name;     // the HLSL name, as the constant table looks it up
    std::string glslName; // the GLSL uniform (samplers) or block member
    RegisterSet set = RegisterSet::Float4;
    uint32_t registerIndex = 0;
    uint32_t registerCount = 1;
    uint32_t uniformOffset = 0;     // byte offset in the uniform block
    uint32_t bytesPerRegister = 16; // 4 * columns for vectors and scalars, 16 for matrix rows
    uint32_t rows = 1;
    uint32_t columns = 4;
    uint32_t elements = 1;
    uint32_t parameterClass = 0; // D3DXPARAMETER_CLASS
    uint32_t parameterType = 0;  // D3DXPARAMETER_TYPE
};

struct ShaderBlob {
    ShaderStage stage = ShaderStage::Vertex;
    uint32_t versionMajor = 2; // the profile: vs_1_1 is 1.1
    uint32_t versionMinor = 0;
    std::string glsl;
    std::string uniformBlock; // empty when the program has no float or bool constants
    uint32_t uniformBlockSize = 0;
    std::vector<ShaderVarying> inputs;
    std::vector<ShaderVarying> outputs;
    std::vector<ShaderConstant> constants;
};

// Packs a blob into DWORDs: magic, total length in DWORDs, the fields, then the end token.
std::vector<uint32_t> serializeShaderBlob(const ShaderBlob& blob);

// Unpacks a blob. The length comes from the blob itself (the API passes no size); a blob whose
// magic, length or fields do not hold together is refused.
bool parseShaderBlob(const uint32_t* words, ShaderBlob& out);

// The number of DWORDs of a serialized blob (0 when it has no valid header).
size_t shaderBlobSize(const uint32_t* words);

} // namespace tarnelix
