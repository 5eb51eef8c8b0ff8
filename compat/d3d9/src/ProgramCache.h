#pragma once

// Linked GL programs, one per pair of vertex and pixel shader objects, and the generated
// fixed-function shader objects, one per key. Lookups of existing entries do not allocate.

#include "FixedFunction.h"
#include "Gl.h"

#include <cstdint>
#include <memory>
#include <unordered_map>

namespace tarnelix::d3d9 {

class ShaderCode;

struct Program {
    GLuint id = 0;
    GLint posFixup = -1;
    GLint screenToNdc = -1;
    GLint worldViewProj = -1;
    GLint worldView = -1;
    GLint alphaTest = -1;
    GLint textureFactor = -1;
    GLint materialDiffuse = -1;
    GLint materialAmbient = -1;
    GLint materialEmissive = -1;
    GLint ambientLight = -1;
    GLint normalMatrix = -1;
    GLint lights = -1;
    GLint materialSpecular = -1;
    GLint materialPower = -1;
    GLint fog = -1;
    GLint fogColor = -1;
    GLint point = -1;
    GLint pointScale = -1;
    GLint clipPlanes = -1;
    bool generatedVertex = false; // clip planes in the vertex's space rather than clip space
    GLint textureConstant[kStageCount] = {-1, -1, -1, -1, -1, -1, -1, -1};
    bool vertexBlock = false;
    bool pixelBlock = false;
    // The versions of the device's inputs this program last received.
    uint32_t viewportVersion = 0;
    uint32_t transformVersion = 0;
    uint32_t fixedVersion = 0;
    uint32_t lightVersion = 0;
    uint32_t clipVersion = 0;
};

class ProgramCache {
public:
    // glClipDepth: generated vertex programs end with withGlClipDepth's step.
    explicit ProgramCache(bool glClipDepth) : glClipDepth_(glClipDepth) {}
    ~ProgramCache();
    ProgramCache(const ProgramCache&) = delete;
    ProgramCache& operator=(const ProgramCache&) = delete;

    // The generated shader object for a key, compiled at first use (0 when it fails).
    GLuint fixedVertexShader(const FixedVertexKey& key);
    GLuint fixedPixelShader(const FixedPixelKey& key);

    // The program of a pair; the ShaderCode pointers (null for generated ones) say how to bind
    // attributes, outputs, samplers and constant blocks. Null when linking fails.
    Program* program(GLuint vertexShader, const ShaderCode* vertexCode, GLuint pixelShader,
                     const ShaderCode* pixelCode);

    // Drops the programs that use a shader object about to be deleted.
    void forgetShader(GLuint shader);
    void releaseGl();

    size_t fixedShaderCount() const { return fixedVertex_.size() + fixedPixel_.size(); }

private:
    bool glClipDepth_;
    Program* link(GLuint vertexShader, const ShaderCode* vertexCode, GLuint pixelShader,
                  const ShaderCode* pixelCode);

    std::unordered_map<FixedVertexKey, GLuint, KeyHash<FixedVertexKey>, KeyEqual<FixedVertexKey>>
        fixedVertex_;
    std::unordered_map<FixedPixelKey, GLuint, KeyHash<FixedPixelKey>, KeyEqual<FixedPixelKey>>
        fixedPixel_;
    std::unordered_map<uint64_t, std::unique_ptr<Program>> programs_;
};

} // namespace tarnelix::d3d9
