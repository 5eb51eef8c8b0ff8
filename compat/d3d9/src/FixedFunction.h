#pragma once

// The fixed-function pipeline as generated GLSL: a key holds every state that changes the
// program, and the generator writes the program for a key. Keys are plain bytes so that
// they hash and compare without allocating.

#include "DeviceState.h"
#include "Varyings.h"

#include <cstring>
#include <string>

namespace tarnelix::d3d9 {

// The kind of texture a fixed-function stage reads (FixedStageKey::textureKind).
enum StageTextureKind : uint8_t {
    kStageNoTexture = 0,
    kStage2D = 2,
    kStageVolume = 3,
    kStageConstant = 4, // one value throughout: a uniform, no sampler
    kStageCube = 5,     // sampled by a direction
};

struct FixedVertexKey {
    uint8_t pretransformed = 0;
    uint8_t lighting = 0;
    uint8_t colorVertex = 0;
    uint8_t diffuseSource = 0;
    uint8_t ambientSource = 0;
    uint8_t emissiveSource = 0;
    uint8_t specularSource = 0;
    uint8_t reserved = 0;
    uint8_t texGen[kStageCount] = {}; // each stage's generated coordinates: D3DTSS_TCI_* >> 16
    uint8_t texGenFlags = 0;          // local viewer, normalised normals (where any is made)
    VaryingSignature outputs;         // what the pixel stage declares
};

struct FixedStageKey {
    uint8_t colorOp = 0;
    uint8_t colorArg[3] = {}; // arg0, arg1, arg2
    uint8_t alphaOp = 0;
    uint8_t alphaArg[3] = {};
    uint8_t resultArg = 0;
    uint8_t textureKind = 0; // a StageTextureKind
    uint8_t texCoord = 0;
    uint8_t reserved = 0;
};

struct FixedPixelKey {
    FixedStageKey stages[kStageCount];
    uint8_t stageCount = 0;
    uint8_t specularEnable = 0;
    uint8_t alphaTest = 0; // the program ends with the alpha test
    uint8_t reserved = 0;
    VaryingSignature inputs; // what the vertex stage provides
};

template <class Key> bool sameKey(const Key& a, const Key& b) {
    return std::memcmp(&a, &b, sizeof(Key)) == 0;
}

template <class Key> size_t hashKey(const Key& key) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&key);
    uint64_t hash = 1469598103934665603ull;
    for (size_t i = 0; i < sizeof(Key); ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

template <class Key> struct KeyHash {
    size_t operator()(const Key& key) const { return hashKey(key); }
};
template <class Key> struct KeyEqual {
    bool operator()(const Key& a, const Key& b) const { return sameKey(a, b); }
};

// Fills the pixel key from the texture-stage states and the kinds of the bound textures;
// refuses (once) what the generator cannot express.
void buildPixelKey(const DeviceState& state, const uint8_t textureKinds[kStageCount],
                   const VaryingSignature& inputs, FixedPixelKey& key);
void buildVertexKey(const DeviceState& state, bool pretransformed, const VaryingSignature& outputs,
                    FixedVertexKey& key);

std::string generateVertexShader(const FixedVertexKey& key);

// Texture coordinate generation (FixedFunctionTexGen.cpp). The coordinate set a stage reads:
// its TEXCOORDINDEX, or its own number where it generates coordinates.
uint8_t stageCoordinateSet(DWORD index, int stage);
void buildTexGenKey(const DeviceState& state, FixedVertexKey& key);
bool generatesTexCoords(const FixedVertexKey& key);
// Declares tx_texGen<stage> for each stage that generates coordinates.
void writeTexGen(const FixedVertexKey& key, std::string& out);
std::string generatePixelShader(const FixedPixelKey& key);

// The alpha test that pixel programs end with while it is on: `tx_alphaTest(colour.a)` discards
// as D3DRS_ALPHAFUNC and D3DRS_ALPHAREF say (the uniform holds function and reference).
extern const char* const kAlphaTestGlsl;

// Whether draws need the alpha test. Programs without it carry no discard, so the rasteriser
// can test and write depth before shading; an ALWAYS test is the same as none.
inline bool alphaTestActive(const DeviceState& state) {
    return state.render[D3DRS_ALPHATESTENABLE] && state.render[D3DRS_ALPHAFUNC] != D3DCMP_ALWAYS;
}

// The signature of the generated pixel programs' inputs (every varying, four components).
VaryingSignature fullSignature();

} // namespace tarnelix::d3d9
