#pragma once

// What the device last gave GL, and which parts of the Direct3D state changed since. A state set
// to the value it already has marks nothing, so redundant calls cost nothing at draw time.

#include "DeviceState.h"
#include "Gl.h"

#include <cstdint>

namespace tarnelix::d3d9 {

class VertexDeclaration;
struct Program;

enum DirtyBits : uint32_t {
    kDirtyProgram = 1u << 0,     // shaders, vertex format or fixed-function keys
    kDirtyVertexInput = 1u << 1, // declaration or stream sources
    kDirtyBlend = 1u << 2,
    kDirtyDepth = 1u << 3,
    kDirtyRaster = 1u << 4, // cull, fill mode, colour mask, scissor, depth bias
    kDirtyStencil = 1u << 5,
    kDirtyViewport = 1u << 6,
    kDirtyRenderTarget = 1u << 7,
    kDirtyAll = 0xFFFFFFFFu,
};

struct DrawState {
    uint32_t dirty = kDirtyAll;
    uint32_t texturesDirty = 0xFFFF; // texture or sampler state of each sampler
    uint32_t samplersDirty = 0xFFFF;

    // Versions of the uniform inputs; a program remembers which it last received.
    uint32_t vsConstantVersion = 1;
    uint32_t psConstantVersion = 1;
    uint32_t transformVersion = 1;
    uint32_t viewportVersion = 1;
    uint32_t fixedVersion = 1; // texture factor, alpha test, ambient, material, fog, points
    uint32_t lightVersion = 1; // the enabled lights and the view they are seen from
    uint32_t clipVersion = 1;  // clip planes and what moves them: world matrix, viewport

    Program* program = nullptr;
    GLuint vertexArray = 0;
    GLuint samplerObjects[kSamplerCount] = {};
    GLuint boundTexture[kSamplerCount] = {};
    GLenum boundTarget[kSamplerCount] = {};
    GLuint boundUniformBuffer[2] = {};
    GLuint boundIndexBuffer = 0;

    // Vertex input last given to GL.
    VertexDeclaration* inputDeclaration = nullptr;
    GLuint inputBuffer[kStreamCount] = {};
    UINT inputOffset[kStreamCount] = {};
    UINT inputStride[kStreamCount] = {};
    UINT inputDivisor[kStreamCount] = {};
    UINT attributeDivisor[32] = {}; // per attribute location, as glVertexAttribDivisor has it
    uint32_t enabledAttributes = 0;

    // The kinds of texture on the fixed-function stages (StageTextureKind), part of the
    // fixed-function pixel key; and the value of each texture of one value throughout.
    uint8_t stageTextureKind[kStageCount] = {};
    float stageConstant[kStageCount][4] = {};

    // Optional parts of GL, each with a fallback where the driver lacks it.
    bool anisotropySupported = false;
    bool clipControl = false;
    bool mirrorOnceSupported = false;
    float worldViewProjection[16] = {};
    float worldView[16] = {}; // camera space: lights, fog, points, generated coordinates
    float posFixup[4] = {1.0f, -1.0f, 0.0f, 0.0f}; // the viewport's, as tx_PosFixup has it
    float normalMatrix[9] = {};
    bool perspective = false; // the projection has a w that varies (table fog reads it)

    // The enabled lights, at most kMaxLights, by index order.
    int lightCount = 0;
    DWORD lightIndex[8] = {};
    uint8_t lightTypes[8] = {};

    // Points and clip planes as GL has them.
    bool points = false;           // the draw being prepared is of points
    bool programPointSize = false; // GL_PROGRAM_POINT_SIZE
    float glPointSize = 1.0f;
    float maxPointSize = 1.0f;  // what the driver draws
    uint32_t clipDistances = 0; // enabled GL_CLIP_DISTANCEi
    int depthBits = 24;         // of the depth buffer: depth bias comes in its steps
};

} // namespace tarnelix::d3d9
