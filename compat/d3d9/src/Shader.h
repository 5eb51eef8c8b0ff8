#pragma once

// Vertex and pixel programs made from the shader blobs of the HLSL compiler stand-in
// (tarnelix/ShaderBlob.h): a compiled GL shader object plus the uniform block that carries the
// constant registers.

#include "ComObject.h"
#include "Gl.h"
#include "Varyings.h"

#include <tarnelix/ShaderBlob.h>

#include <vector>

namespace tarnelix::d3d9 {

// What the device appends to a compiled program. Pixel programs: the alpha test, and the fog
// that Direct3D applies after pixel programs below shader model 3.0 (a PixelFog mode in bits 1
// to 3, depth from w in bit 4). Vertex programs: clip distances for the user clip planes.
// (The ShaderVariant bits.)
constexpr uint32_t kVariantAlphaTest = 1u << 0;
constexpr uint32_t kVariantFogShift = 1;
constexpr uint32_t kVariantFogMask = 7u << kVariantFogShift;
constexpr uint32_t kVariantFogFromW = 1u << 4;
constexpr uint32_t kVariantClipPlanes = 1u << 5;

class ShaderCode {
public:
    ShaderCode() = default;
    ~ShaderCode();
    ShaderCode(const ShaderCode&) = delete;
    ShaderCode& operator=(const ShaderCode&) = delete;

    // Parses and compiles; false (with the reason on stderr) when the blob is unusable.
    // glClipDepth: the context has no clip control (see withGlClipDepth).
    bool create(const DWORD* function, ShaderStage stage, bool glClipDepth);
    void releaseGl();

    const ShaderBlob& blob() const { return blob_; }
    GLuint glShader() const { return shader_; }
    // The program followed by steps of the device's own, compiled at first use (0 when it fails
    // to compile): see the ShaderVariant bits. Variant 0 is glShader().
    GLuint glShaderVariant(uint32_t variant);
    // Tells the device to drop the programs linked with this code's shader objects.
    void forgetShaders(Device* device) const;
    const VaryingSignature& signature() const { return signature_; }
    HRESULT getFunction(void* data, UINT* size) const;

    // Copies the registers into the uniform block when they changed since the last time.
    void updateConstants(uint32_t version, const float (*floats)[4], int floatCount,
                         const BOOL* bools, int boolCount, const int (*ints)[4], int intCount);
    GLuint uniformBuffer() const { return uniformBuffer_; }

private:
    ShaderBlob blob_;
    std::vector<DWORD> function_;
    GLuint shader_ = 0;
    bool glClipDepth_ = false;
    // Compiled variants by their bits; 0 for one that failed (said once on stderr).
    std::vector<std::pair<uint32_t, GLuint>> variants_;
    GLuint uniformBuffer_ = 0;
    std::vector<uint8_t> staging_;
    uint32_t uploadedVersion_ = 0;
    VaryingSignature signature_;
};

// A vertex or pixel shader object: the compiled code, owned by its device.
template <class Interface> class ShaderObject : public ComObject<Interface>, public DeviceChild {
public:
    explicit ShaderObject(Device* device) : DeviceChild(device) {}
    ~ShaderObject() override { code.forgetShaders(device()); }
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override {
        return getDevice(device);
    }
    HRESULT STDMETHODCALLTYPE GetFunction(void* data, UINT* size) override {
        return code.getFunction(data, size);
    }
    void releaseGl() override { code.releaseGl(); }

    ShaderCode code;
};

class VertexShader : public ShaderObject<IDirect3DVertexShader9> {
    using ShaderObject::ShaderObject;
};

class PixelShader : public ShaderObject<IDirect3DPixelShader9> {
    using ShaderObject::ShaderObject;
};

// Compiles GLSL of one stage; 0 (with the log on stderr) on failure.
GLuint compileGlsl(GLenum stage, const std::string& source);

// The program with its main renamed and called from a new main that then runs `step`
// (`declarations` go before it).
std::string withStepAfterMain(const std::string& glsl, const char* declarations,
                              const std::string& step);

// Direct3D's clip-space depth runs from 0 to w, GL's from -w to w unless clip control changes
// it. Where the driver lacks clip control a vertex program moves its depth into GL's range as
// its last step; the depth range then maps it back to the same window depth.
std::string withGlClipDepth(const std::string& vertexGlsl);
extern const char* const kGlClipDepthStep;

// A pixel program followed by the ShaderVariant steps (fog, alpha test) of `variant`.
std::string withPixelSteps(const ShaderBlob& blob, uint32_t variant);
// A vertex program followed by the clip distances of the user clip planes (and then by the
// GL clip-space depth where the context lacks clip control).
std::string withClipDistances(const std::string& glsl, bool glClipDepth);

} // namespace tarnelix::d3d9
