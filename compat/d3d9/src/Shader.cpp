#include "Shader.h"

#include "Device.h"
#include "FixedFunction.h"

#include <cstdio>
#include <cstring>

namespace tarnelix::d3d9 {

GLuint compileGlsl(GLenum stage, const std::string& source) {
    GLuint shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        std::fprintf(stderr, "tarnelix d3d9: a %s program does not compile:\n%s\n",
                     stage == GL_VERTEX_SHADER ? "vertex" : "pixel", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

std::string withStepAfterMain(const std::string& glsl, const char* declarations,
                              const std::string& step) {
    size_t main = glsl.find("void main()");
    if (main == std::string::npos) {
        return glsl;
    }
    std::string source = glsl.substr(0, main) + "void tx_programMain()" +
                         glsl.substr(main + std::strlen("void main()"));
    source += "\n";
    source += declarations;
    source += "void main()\n{\n    tx_programMain();\n    " + step + "\n}\n";
    return source;
}

const char* const kGlClipDepthStep = "gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;";

std::string withGlClipDepth(const std::string& vertexGlsl) {
    return withStepAfterMain(vertexGlsl, "", kGlClipDepthStep);
}

// A pixel program gets the device's fog and alpha test appended: its main becomes a function
// that the new main calls before fogging and testing the colour it wrote.
std::string withPixelSteps(const ShaderBlob& blob, uint32_t variant) {
    std::string colour;
    for (const ShaderVarying& output : blob.outputs) {
        if (output.usage == 10 /* COLOR */ && output.usageIndex == 0) {
            colour = output.glslName;
        }
    }
    if (colour.empty()) {
        return blob.glsl;
    }
    auto fog = static_cast<uint8_t>((variant & kVariantFogMask) >> kVariantFogShift);
    std::string declarations = fogGlsl(fog, (variant & kVariantFogFromW) != 0);
    std::string step;
    if (fog) {
        step += colour + ".rgb = mix(tx_FogColor.rgb, " + colour + ".rgb, tx_fogFactor());\n    ";
    }
    if (variant & kVariantAlphaTest) {
        declarations += kAlphaTestGlsl;
        step += "tx_alphaTest(" + colour + ".a);";
    }
    return withStepAfterMain(blob.glsl, declarations.c_str(), step);
}

// With shaders Direct3D takes the clip planes in clip space, which the program's position is in
// before the device's own fix-up; the device hands the planes over in the fixed-up space.
std::string withClipDistances(const std::string& glsl, bool glClipDepth) {
    std::string declarations =
        "uniform vec4 tx_ClipPlanes[" + std::to_string(kClipPlaneCount) + "];\n";
    std::string step;
    for (int i = 0; i < kClipPlaneCount; ++i) {
        step += "gl_ClipDistance[" + std::to_string(i) + "] = dot(gl_Position, tx_ClipPlanes[" +
                std::to_string(i) + "]);\n    ";
    }
    if (glClipDepth) {
        step += kGlClipDepthStep;
    }
    return withStepAfterMain(glsl, declarations.c_str(), step);
}

ShaderCode::~ShaderCode() {
    releaseGl();
}

void ShaderCode::forgetShaders(Device* device) const {
    if (!device) {
        return;
    }
    device->forgetShader(shader_);
    for (const auto& variant : variants_) {
        if (variant.second) {
            device->forgetShader(variant.second);
        }
    }
}

void ShaderCode::releaseGl() {
    if (shader_) {
        glDeleteShader(shader_);
        shader_ = 0;
    }
    for (const auto& variant : variants_) {
        if (variant.second) {
            glDeleteShader(variant.second);
        }
    }
    variants_.clear();
    if (uniformBuffer_) {
        glDeleteBuffers(1, &uniformBuffer_);
        uniformBuffer_ = 0;
    }
}

bool ShaderCode::create(const DWORD* function, ShaderStage stage, bool glClipDepth) {
    if (!function || !parseShaderBlob(function, blob_)) {
        std::fprintf(stderr, "tarnelix d3d9: the shader function is not a compiled program of "
                             "this system's HLSL compiler\n");
        return false;
    }
    if (blob_.stage != stage) {
        std::fprintf(stderr, "tarnelix d3d9: a %s program was given where a %s program belongs\n",
                     blob_.stage == ShaderStage::Vertex ? "vertex" : "pixel",
                     stage == ShaderStage::Vertex ? "vertex" : "pixel");
        return false;
    }
    function_.assign(function, function + shaderBlobSize(function));
    glClipDepth_ = glClipDepth;
    bool vertex = stage == ShaderStage::Vertex;
    shader_ = vertex ? compileGlsl(GL_VERTEX_SHADER,
                                   glClipDepth ? withGlClipDepth(blob_.glsl) : blob_.glsl)
                     : compileGlsl(GL_FRAGMENT_SHADER, blob_.glsl);
    if (!shader_) {
        return false;
    }
    signature_ = readSignature(blob_.glsl, vertex ? "out" : "in");
    if (!blob_.uniformBlock.empty() && blob_.uniformBlockSize > 0) {
        staging_.assign(blob_.uniformBlockSize, 0);
        glGenBuffers(1, &uniformBuffer_);
        glBindBuffer(GL_COPY_WRITE_BUFFER, uniformBuffer_);
        glBufferData(GL_COPY_WRITE_BUFFER, static_cast<GLsizeiptr>(staging_.size()),
                     staging_.data(), GL_DYNAMIC_DRAW);
    }
    return true;
}

GLuint ShaderCode::glShaderVariant(uint32_t variant) {
    // Only beside a live plain program: after releaseGl all are gone alike.
    if (!variant || !shader_) {
        return shader_;
    }
    for (const auto& compiled : variants_) {
        if (compiled.first == variant) {
            return compiled.second;
        }
    }
    GLuint shader =
        blob_.stage == ShaderStage::Pixel
            ? compileGlsl(GL_FRAGMENT_SHADER, withPixelSteps(blob_, variant))
            : compileGlsl(GL_VERTEX_SHADER, withClipDistances(blob_.glsl, glClipDepth_));
    variants_.emplace_back(variant, shader);
    return shader;
}

HRESULT ShaderCode::getFunction(void* data, UINT* size) const {
    if (!size) {
        return D3DERR_INVALIDCALL;
    }
    UINT bytes = static_cast<UINT>(function_.size() * sizeof(DWORD));
    if (data) {
        if (*size < bytes) {
            return D3DERR_INVALIDCALL;
        }
        std::memcpy(data, function_.data(), bytes);
    }
    *size = bytes;
    return D3D_OK;
}

void ShaderCode::updateConstants(uint32_t version, const float (*floats)[4], int floatCount,
                                 const BOOL* bools, int boolCount, const int (*ints)[4],
                                 int intCount) {
    if (!uniformBuffer_ || version == uploadedVersion_) {
        return;
    }
    uploadedVersion_ = version;
    for (const ShaderConstant& constant : blob_.constants) {
        for (uint32_t k = 0; k < constant.registerCount; ++k) {
            size_t offset = constant.uniformOffset + 16u * k;
            int reg = static_cast<int>(constant.registerIndex + k);
            switch (constant.set) {
            case RegisterSet::Float4: {
                size_t bytes = constant.bytesPerRegister > 16 ? 16 : constant.bytesPerRegister;
                if (reg < floatCount && offset + bytes <= staging_.size()) {
                    std::memcpy(&staging_[offset], floats[reg], bytes);
                }
                break;
            }
            case RegisterSet::Bool: {
                uint32_t value = (reg < boolCount && bools[reg]) ? 1u : 0u;
                if (offset + 4 <= staging_.size()) {
                    std::memcpy(&staging_[offset], &value, 4);
                }
                break;
            }
            case RegisterSet::Int4: {
                size_t bytes = constant.bytesPerRegister > 16 ? 16 : constant.bytesPerRegister;
                if (reg < intCount && offset + bytes <= staging_.size()) {
                    std::memcpy(&staging_[offset], ints[reg], bytes);
                }
                break;
            }
            case RegisterSet::Sampler:
                break;
            }
        }
    }
    glBindBuffer(GL_COPY_WRITE_BUFFER, uniformBuffer_);
    glBufferSubData(GL_COPY_WRITE_BUFFER, 0, static_cast<GLsizeiptr>(staging_.size()),
                    staging_.data());
}

} // namespace tarnelix::d3d9
