#include "ProgramCache.h"

#include "Shader.h"
#include "VertexDeclaration.h"

#include <cstdio>
#include <string>

namespace tarnelix::d3d9 {

namespace {

uint64_t pairKey(GLuint vertexShader, GLuint pixelShader) {
    return (static_cast<uint64_t>(vertexShader) << 32) | pixelShader;
}

} // namespace

ProgramCache::~ProgramCache() {
    releaseGl();
}

void ProgramCache::releaseGl() {
    for (auto& entry : programs_) {
        glDeleteProgram(entry.second->id);
    }
    programs_.clear();
    for (auto& entry : fixedVertex_) {
        glDeleteShader(entry.second);
    }
    fixedVertex_.clear();
    for (auto& entry : fixedPixel_) {
        glDeleteShader(entry.second);
    }
    fixedPixel_.clear();
}

GLuint ProgramCache::fixedVertexShader(const FixedVertexKey& key) {
    auto found = fixedVertex_.find(key);
    if (found != fixedVertex_.end()) {
        return found->second;
    }
    std::string glsl = generateVertexShader(key);
    GLuint shader = compileGlsl(GL_VERTEX_SHADER, glClipDepth_ ? withGlClipDepth(glsl) : glsl);
    fixedVertex_.emplace(key, shader);
    return shader;
}

GLuint ProgramCache::fixedPixelShader(const FixedPixelKey& key) {
    auto found = fixedPixel_.find(key);
    if (found != fixedPixel_.end()) {
        return found->second;
    }
    GLuint shader = compileGlsl(GL_FRAGMENT_SHADER, generatePixelShader(key));
    fixedPixel_.emplace(key, shader);
    return shader;
}

Program* ProgramCache::program(GLuint vertexShader, const ShaderCode* vertexCode,
                               GLuint pixelShader, const ShaderCode* pixelCode) {
    auto found = programs_.find(pairKey(vertexShader, pixelShader));
    if (found != programs_.end()) {
        return found->second->id ? found->second.get() : nullptr;
    }
    return link(vertexShader, vertexCode, pixelShader, pixelCode);
}

Program* ProgramCache::link(GLuint vertexShader, const ShaderCode* vertexCode, GLuint pixelShader,
                            const ShaderCode* pixelCode) {
    auto program = std::make_unique<Program>();
    GLuint id = glCreateProgram();
    glAttachShader(id, vertexShader);
    glAttachShader(id, pixelShader);
    if (vertexCode) {
        for (const ShaderVarying& input : vertexCode->blob().inputs) {
            GLint location = attributeLocation(static_cast<BYTE>(input.usage),
                                               static_cast<BYTE>(input.usageIndex));
            if (location >= 0) {
                glBindAttribLocation(id, static_cast<GLuint>(location), input.glslName.c_str());
            }
        }
    }
    if (pixelCode) {
        for (const ShaderVarying& output : pixelCode->blob().outputs) {
            if (output.usage == 10 /* COLOR */ && output.usageIndex < 4) {
                glBindFragDataLocation(id, output.usageIndex, output.glslName.c_str());
            }
        }
    }
    glLinkProgram(id);
    GLint ok = GL_FALSE;
    glGetProgramiv(id, GL_LINK_STATUS, &ok);
    uint64_t key = pairKey(vertexShader, pixelShader);
    if (!ok) {
        char log[2048] = {};
        glGetProgramInfoLog(id, sizeof(log), nullptr, log);
        std::fprintf(stderr,
                     "tarnelix d3d9: the vertex and pixel programs do not link together:\n%s\n",
                     log);
        glDeleteProgram(id);
        programs_.emplace(key, std::move(program)); // remembered as failed (id 0)
        return nullptr;
    }
    Program& p = *program;
    p.id = id;
    p.posFixup = glGetUniformLocation(id, "tx_PosFixup");
    p.screenToNdc = glGetUniformLocation(id, "tx_ScreenToNdc");
    p.worldViewProj = glGetUniformLocation(id, "tx_WorldViewProj");
    p.worldView = glGetUniformLocation(id, "tx_WorldView");
    p.alphaTest = glGetUniformLocation(id, "tx_AlphaTest");
    p.textureFactor = glGetUniformLocation(id, "tx_TextureFactor");
    p.materialDiffuse = glGetUniformLocation(id, "tx_MaterialDiffuse");
    p.materialAmbient = glGetUniformLocation(id, "tx_MaterialAmbient");
    p.materialEmissive = glGetUniformLocation(id, "tx_MaterialEmissive");
    p.ambientLight = glGetUniformLocation(id, "tx_AmbientLight");
    p.normalMatrix = glGetUniformLocation(id, "tx_NormalMatrix");
    p.lights = glGetUniformLocation(id, "tx_Lights");
    p.materialSpecular = glGetUniformLocation(id, "tx_MaterialSpecular");
    p.materialPower = glGetUniformLocation(id, "tx_MaterialPower");
    p.fog = glGetUniformLocation(id, "tx_Fog");
    p.fogColor = glGetUniformLocation(id, "tx_FogColor");
    p.point = glGetUniformLocation(id, "tx_Point");
    p.pointScale = glGetUniformLocation(id, "tx_PointScale");
    p.clipPlanes = glGetUniformLocation(id, "tx_ClipPlanes");
    p.generatedVertex = vertexCode == nullptr;
    glUseProgram(id);
    for (int s = 0; s < kStageCount; ++s) {
        std::string name = "tx_Sampler" + std::to_string(s);
        GLint location = glGetUniformLocation(id, name.c_str());
        if (location >= 0) {
            glUniform1i(location, s);
        }
        name = "tx_TextureConstant" + std::to_string(s);
        p.textureConstant[s] = glGetUniformLocation(id, name.c_str());
    }
    const ShaderCode* codes[2] = {vertexCode, pixelCode};
    for (int stage = 0; stage < 2; ++stage) {
        if (!codes[stage]) {
            continue;
        }
        const ShaderBlob& blob = codes[stage]->blob();
        for (const ShaderConstant& constant : blob.constants) {
            if (constant.set == RegisterSet::Sampler) {
                GLint location = glGetUniformLocation(id, constant.glslName.c_str());
                if (location >= 0) {
                    glUniform1i(location, static_cast<GLint>(constant.registerIndex));
                }
            }
        }
        if (!blob.uniformBlock.empty()) {
            GLuint index = glGetUniformBlockIndex(id, blob.uniformBlock.c_str());
            if (index != GL_INVALID_INDEX) {
                glUniformBlockBinding(id, index, static_cast<GLuint>(stage));
                (stage == 0 ? p.vertexBlock : p.pixelBlock) = true;
            }
        }
    }
    Program* result = program.get();
    programs_.emplace(key, std::move(program));
    return result;
}

void ProgramCache::forgetShader(GLuint shader) {
    for (auto it = programs_.begin(); it != programs_.end();) {
        uint64_t key = it->first;
        if (static_cast<GLuint>(key >> 32) == shader || static_cast<GLuint>(key) == shader) {
            if (it->second->id) {
                glDeleteProgram(it->second->id);
            }
            it = programs_.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace tarnelix::d3d9
