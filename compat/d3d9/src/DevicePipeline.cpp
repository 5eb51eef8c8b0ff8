// Turning the Direct3D state into GL state before a draw: the program (compiled or generated),
// the fixed-function GL state, textures and samplers, uniforms. Only what changed since the
// last draw is given to GL.

#include "Device.h"

#include "Buffers.h"
#include "FixedUniforms.h"
#include "Formats.h"
#include "ProgramCache.h"
#include "Refusal.h"
#include "Shader.h"
#include "Surface.h"
#include "Texture.h"
#include "VertexDeclaration.h"

#include <cmath>
#include <cstring>

namespace tarnelix::d3d9 {

namespace {

// Direct3D lights a pixel whose centre lies exactly on a left or top edge and not one on a right
// or bottom edge. GL leaves such ties to the driver, and drivers differ (softpipe gives a centre
// on a vertical edge to the triangle on its left, llvmpipe to the one on its right), so the
// stand-in never lets one happen: everything is drawn this fraction of a pixel up and to the
// left of where Direct3D has it, which moves centres on left and top edges inside and those on
// right and bottom edges outside. A 256th of a pixel is the step GPUs (and llvmpipe) snap
// vertices to, so snapping cannot put an edge back on a centre, and it is far above the
// rounding of float positions.
constexpr float kTieBreakShift = 1.0f / 256.0f;

GLenum glCompare(DWORD func) {
    switch (func) {
    case D3DCMP_NEVER:
        return GL_NEVER;
    case D3DCMP_LESS:
        return GL_LESS;
    case D3DCMP_EQUAL:
        return GL_EQUAL;
    case D3DCMP_LESSEQUAL:
        return GL_LEQUAL;
    case D3DCMP_GREATER:
        return GL_GREATER;
    case D3DCMP_NOTEQUAL:
        return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL:
        return GL_GEQUAL;
    default:
        return GL_ALWAYS;
    }
}

GLenum glBlendFactor(DWORD blend) {
    switch (blend) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_ONE:
        return GL_ONE;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
        return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BLENDFACTOR:
        return GL_CONSTANT_COLOR;
    case D3DBLEND_INVBLENDFACTOR:
        return GL_ONE_MINUS_CONSTANT_COLOR;
    default:
        refuseOnce("blend factor", blend);
        return GL_ONE;
    }
}

GLenum glBlendOperation(DWORD op) {
    switch (op) {
    case D3DBLENDOP_SUBTRACT:
        return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT:
        return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN:
        return GL_MIN;
    case D3DBLENDOP_MAX:
        return GL_MAX;
    default:
        return GL_FUNC_ADD;
    }
}

GLenum glStencilOperation(DWORD op) {
    switch (op) {
    case D3DSTENCILOP_ZERO:
        return GL_ZERO;
    case D3DSTENCILOP_REPLACE:
        return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT:
        return GL_INCR;
    case D3DSTENCILOP_DECRSAT:
        return GL_DECR;
    case D3DSTENCILOP_INVERT:
        return GL_INVERT;
    case D3DSTENCILOP_INCR:
        return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR:
        return GL_DECR_WRAP;
    default:
        return GL_KEEP;
    }
}

// Without mirror-clamp support, mirror once becomes mirrored repeat: the same for coordinates
// from -1 to 1, which is where mirror once is used (one mirrored copy), repeating beyond.
GLenum glAddress(DWORD mode, bool mirrorOnceSupported) {
    switch (mode) {
    case D3DTADDRESS_MIRROR:
        return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
        return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER:
        return GL_CLAMP_TO_BORDER;
    case D3DTADDRESS_MIRRORONCE:
        return mirrorOnceSupported ? GL_MIRROR_CLAMP_TO_EDGE : GL_MIRRORED_REPEAT;
    default:
        return GL_REPEAT;
    }
}

} // namespace

// A texture whose every texel holds one value samples to it everywhere, unless border
// addressing brings in the border colour: the stage then reads the value as a constant, which
// costs a software rasteriser far less than a filtered read (a flat normal map is the common
// case). Textures change under locks, so this is looked at before every draw.
void Device::refreshStageTextureKinds() {
    for (int stage = 0; stage < kStageCount; ++stage) {
        uint8_t kind = 0;
        const float* constant = nullptr;
        if (BoundTexture* bound = boundTextures_[stage]) {
            const TextureStorage& storage = bound->storage();
            bool volume = storage.target() == GL_TEXTURE_3D;
            bool cube = storage.target() == GL_TEXTURE_CUBE_MAP;
            kind = volume ? kStageVolume : cube ? kStageCube : kStage2D;
            const DWORD* ss = state_.sampler[stage];
            bool border = ss[D3DSAMP_ADDRESSU] == D3DTADDRESS_BORDER ||
                          ss[D3DSAMP_ADDRESSV] == D3DTADDRESS_BORDER ||
                          ((volume || cube) && ss[D3DSAMP_ADDRESSW] == D3DTADDRESS_BORDER);
            if (storage.constant() && !border && !ss[D3DSAMP_SRGBTEXTURE]) {
                kind = kStageConstant;
                constant = storage.constantTexel();
            }
        }
        if (draw_.stageTextureKind[stage] != kind) {
            draw_.stageTextureKind[stage] = kind;
            draw_.dirty |= kDirtyProgram;
        }
        if (constant && std::memcmp(draw_.stageConstant[stage], constant, 4 * sizeof(float))) {
            std::memcpy(draw_.stageConstant[stage], constant, 4 * sizeof(float));
            ++draw_.fixedVersion;
        }
    }
}

bool Device::prepareDraw(bool points) {
    if (!renderTarget_) {
        return false;
    }
    if (points != draw_.points) {
        draw_.points = points; // generated programs write a point size for points alone
        draw_.dirty |= kDirtyProgram;
    }
    refreshStageTextureKinds();
    if (draw_.dirty & kDirtyRenderTarget) {
        applyRenderTarget();
    }
    if (draw_.dirty & kDirtyProgram) {
        if (!resolveProgram()) {
            return false;
        }
    }
    if (!draw_.program) {
        return false;
    }
    if (draw_.points || draw_.programPointSize) {
        applyPointSize(draw_.program->generatedVertex);
    }
    if (draw_.dirty & (kDirtyBlend | kDirtyDepth | kDirtyRaster | kDirtyStencil | kDirtyViewport)) {
        applyFixedState();
    }
    if (draw_.texturesDirty | draw_.samplersDirty) {
        applyTextures();
    }
    applyUniforms();
    return true;
}

bool Device::resolveProgram() {
    VertexDeclaration* declaration = declaration_;
    bool pretransformed = declaration && declaration->pretransformed();
    const DWORD* rs = state_.render;
    GLuint vertex = 0;
    GLuint pixel = 0;
    const ShaderCode* vertexCode = nullptr;
    const ShaderCode* pixelCode = nullptr;
    VaryingSignature pixelInputs = pixelShader_ ? pixelShader_->code.signature() : fullSignature();
    uint32_t clipPlanes = pretransformed ? 0 : rs[D3DRS_CLIPPLANEENABLE] & 0x3F;
    bool vertexFog = false;
    // Pre-transformed vertices skip the vertex program in force.
    if (vertexShader_ && !pretransformed) {
        vertexCode = &vertexShader_->code;
        vertex = vertexShader_->code.glShaderVariant(clipPlanes ? kVariantClipPlanes : 0);
        if (rs[D3DRS_FOGENABLE] && rs[D3DRS_FOGTABLEMODE] == D3DFOG_NONE) {
            refuseOnce("vertex fog from a vertex program", 0);
        }
    } else {
        VertexKeyInputs inputs;
        inputs.pretransformed = pretransformed;
        inputs.attributes = declaration ? declaration->locationMask() : 0;
        inputs.points = draw_.points;
        inputs.lightCount = draw_.lightCount;
        inputs.lightTypes = draw_.lightTypes;
        FixedVertexKey key;
        buildVertexKey(state_, inputs, pixelInputs, key);
        vertex = programs_->fixedVertexShader(key);
        vertexFog = key.fog != kVertexFogNone;
    }
    uint8_t fog = 0;
    uint8_t fogFromW = 0;
    fogOfPixel(state_, vertexFog, draw_.perspective, fog, fogFromW);
    if (pixelShader_) {
        pixelCode = &pixelShader_->code;
        uint32_t variant = alphaTestActive(state_) ? kVariantAlphaTest : 0;
        // Direct3D fogs after pixel programs below 3.0; a 3.0 program does its own.
        if (pixelCode->blob().versionMajor < 3) {
            variant |= uint32_t{fog} << kVariantFogShift | (fogFromW ? kVariantFogFromW : 0);
        }
        if (draw_.points && rs[D3DRS_POINTSPRITEENABLE]) {
            refuseOnce("point sprites with a pixel program", 0);
        }
        pixel = pixelShader_->code.glShaderVariant(variant);
    } else {
        VaryingSignature vertexOutputs = vertexCode ? vertexCode->signature() : fullSignature();
        FixedPixelKey key;
        buildPixelKey(state_, draw_.stageTextureKind, vertexOutputs, key);
        key.fog = fog;
        key.fogFromW = fogFromW;
        key.pointSprite = draw_.points && rs[D3DRS_POINTSPRITEENABLE] ? 1 : 0;
        pixel = programs_->fixedPixelShader(key);
    }
    applyClipDistances(clipPlanes);
    Program* program =
        vertex && pixel ? programs_->program(vertex, vertexCode, pixel, pixelCode) : nullptr;
    if (program != draw_.program) {
        glUseProgram(program ? program->id : 0);
        draw_.program = program;
    }
    if (program) {
        GLuint vertexBlock = vertexCode && program->vertexBlock ? vertexCode->uniformBuffer() : 0;
        GLuint pixelBlock = pixelCode && program->pixelBlock ? pixelCode->uniformBuffer() : 0;
        // Each program's constants have a buffer of their own, bound whole: at offset 0, no
        // binding has to meet GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT (256 on many cards). Packing
        // several into one buffer would have to round each start up to it.
        if (vertexBlock && vertexBlock != draw_.boundUniformBuffer[0]) {
            glBindBufferBase(GL_UNIFORM_BUFFER, 0, vertexBlock);
            draw_.boundUniformBuffer[0] = vertexBlock;
        }
        if (pixelBlock && pixelBlock != draw_.boundUniformBuffer[1]) {
            glBindBufferBase(GL_UNIFORM_BUFFER, 1, pixelBlock);
            draw_.boundUniformBuffer[1] = pixelBlock;
        }
    }
    draw_.dirty &= ~kDirtyProgram;
    return program != nullptr;
}

void Device::applyFixedState() {
    const DWORD* rs = state_.render;
    if (draw_.dirty & kDirtyBlend) {
        if (rs[D3DRS_ALPHABLENDENABLE]) {
            glEnable(GL_BLEND);
            auto factors = [](DWORD source, DWORD dest, GLenum& s, GLenum& d) {
                if (source == D3DBLEND_BOTHSRCALPHA) {
                    s = GL_SRC_ALPHA;
                    d = GL_ONE_MINUS_SRC_ALPHA;
                } else if (source == D3DBLEND_BOTHINVSRCALPHA) {
                    s = GL_ONE_MINUS_SRC_ALPHA;
                    d = GL_SRC_ALPHA;
                } else {
                    s = glBlendFactor(source);
                    d = glBlendFactor(dest);
                }
            };
            GLenum src = GL_ONE;
            GLenum dst = GL_ZERO;
            factors(rs[D3DRS_SRCBLEND], rs[D3DRS_DESTBLEND], src, dst);
            GLenum srcAlpha = src;
            GLenum dstAlpha = dst;
            GLenum op = glBlendOperation(rs[D3DRS_BLENDOP]);
            GLenum opAlpha = op;
            if (rs[D3DRS_SEPARATEALPHABLENDENABLE]) {
                factors(rs[D3DRS_SRCBLENDALPHA], rs[D3DRS_DESTBLENDALPHA], srcAlpha, dstAlpha);
                opAlpha = glBlendOperation(rs[D3DRS_BLENDOPALPHA]);
            }
            glBlendFuncSeparate(src, dst, srcAlpha, dstAlpha);
            glBlendEquationSeparate(op, opAlpha);
            float factor[4];
            colourOf(rs[D3DRS_BLENDFACTOR], factor);
            glBlendColor(factor[0], factor[1], factor[2], factor[3]);
        } else {
            glDisable(GL_BLEND);
        }
    }
    if (draw_.dirty & kDirtyDepth) {
        if (rs[D3DRS_ZENABLE] != D3DZB_FALSE) {
            glEnable(GL_DEPTH_TEST);
            glDepthFunc(glCompare(rs[D3DRS_ZFUNC]));
            glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
        } else {
            glDisable(GL_DEPTH_TEST);
            glDepthMask(GL_FALSE);
        }
    }
    if (draw_.dirty & kDirtyRaster) {
        // Rows run top first, which turns Direct3D's clockwise into GL's counter-clockwise.
        glFrontFace(GL_CCW);
        switch (rs[D3DRS_CULLMODE]) {
        case D3DCULL_CW:
            glEnable(GL_CULL_FACE);
            glCullFace(GL_FRONT);
            break;
        case D3DCULL_CCW:
            glEnable(GL_CULL_FACE);
            glCullFace(GL_BACK);
            break;
        default:
            glDisable(GL_CULL_FACE);
            break;
        }
        DWORD fill = rs[D3DRS_FILLMODE];
        glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT       ? GL_POINT
                                         : fill == D3DFILL_WIREFRAME ? GL_LINE
                                                                     : GL_FILL);
        DWORD mask = rs[D3DRS_COLORWRITEENABLE];
        bool alpha = (mask & 8) != 0 && !hasUnusedAlpha(renderTarget_->desc().Format);
        glColorMask((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, alpha);
        if (rs[D3DRS_SCISSORTESTENABLE]) {
            glEnable(GL_SCISSOR_TEST);
            glScissor(scissor_.left, scissor_.top, scissor_.right - scissor_.left,
                      scissor_.bottom - scissor_.top);
        } else {
            glDisable(GL_SCISSOR_TEST);
        }
        // Direct3D's constant bias is a fraction of the depth range; GL's is in steps of the
        // depth buffer, 2^-bits for the fixed-point formats.
        float bias = floatOf(rs[D3DRS_DEPTHBIAS]);
        float slope = floatOf(rs[D3DRS_SLOPESCALEDEPTHBIAS]);
        bool offset = bias != 0.0f || slope != 0.0f;
        for (GLenum mode :
             {GL_POLYGON_OFFSET_FILL, GL_POLYGON_OFFSET_LINE, GL_POLYGON_OFFSET_POINT}) {
            if (offset) {
                glEnable(mode);
            } else {
                glDisable(mode);
            }
        }
        if (offset) {
            glPolygonOffset(slope, std::ldexp(bias, draw_.depthBits));
        }
    }
    if (draw_.dirty & kDirtyStencil) {
        if (rs[D3DRS_STENCILENABLE]) {
            glEnable(GL_STENCIL_TEST);
            GLint ref = static_cast<GLint>(rs[D3DRS_STENCILREF] & 0xFF);
            GLuint readMask = rs[D3DRS_STENCILMASK] & 0xFF;
            // Direct3D's clockwise faces are GL's front faces here.
            glStencilFuncSeparate(GL_FRONT, glCompare(rs[D3DRS_STENCILFUNC]), ref, readMask);
            glStencilOpSeparate(GL_FRONT, glStencilOperation(rs[D3DRS_STENCILFAIL]),
                                glStencilOperation(rs[D3DRS_STENCILZFAIL]),
                                glStencilOperation(rs[D3DRS_STENCILPASS]));
            bool twoSided = rs[D3DRS_TWOSIDEDSTENCILMODE] != 0;
            glStencilFuncSeparate(
                GL_BACK, glCompare(rs[twoSided ? D3DRS_CCW_STENCILFUNC : D3DRS_STENCILFUNC]), ref,
                readMask);
            glStencilOpSeparate(
                GL_BACK,
                glStencilOperation(rs[twoSided ? D3DRS_CCW_STENCILFAIL : D3DRS_STENCILFAIL]),
                glStencilOperation(rs[twoSided ? D3DRS_CCW_STENCILZFAIL : D3DRS_STENCILZFAIL]),
                glStencilOperation(rs[twoSided ? D3DRS_CCW_STENCILPASS : D3DRS_STENCILPASS]));
            glStencilMask(rs[D3DRS_STENCILWRITEMASK] & 0xFF);
        } else {
            glDisable(GL_STENCIL_TEST);
            glStencilMask(0xFF);
        }
    }
    if (draw_.dirty & kDirtyViewport) {
        glViewport(static_cast<GLint>(viewport_.X), static_cast<GLint>(viewport_.Y),
                   static_cast<GLsizei>(viewport_.Width), static_cast<GLsizei>(viewport_.Height));
        glDepthRange(viewport_.MinZ, viewport_.MaxZ);
    }
    draw_.dirty &= ~(kDirtyBlend | kDirtyDepth | kDirtyRaster | kDirtyStencil | kDirtyViewport);
}

void Device::applyTextures() {
    uint32_t textures = draw_.texturesDirty;
    for (int unit = 0; textures; ++unit, textures >>= 1) {
        if (!(textures & 1)) {
            continue;
        }
        BoundTexture* bound = boundTextures_[unit];
        GLenum target = bound ? bound->storage().target() : GL_TEXTURE_2D;
        GLuint texture = bound ? bound->storage().texture() : 0;
        if (draw_.boundTexture[unit] != texture || draw_.boundTarget[unit] != target) {
            glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
            if (draw_.boundTarget[unit] && draw_.boundTarget[unit] != target) {
                glBindTexture(draw_.boundTarget[unit], 0);
            }
            glBindTexture(target, texture);
            draw_.boundTexture[unit] = texture;
            draw_.boundTarget[unit] = target;
        }
    }
    draw_.texturesDirty = 0;
    uint32_t samplers = draw_.samplersDirty;
    for (int unit = 0; samplers; ++unit, samplers >>= 1) {
        if (!(samplers & 1)) {
            continue;
        }
        const DWORD* ss = state_.sampler[unit];
        GLuint sampler = draw_.samplerObjects[unit];
        glSamplerParameteri(
            sampler, GL_TEXTURE_WRAP_S,
            static_cast<GLint>(glAddress(ss[D3DSAMP_ADDRESSU], draw_.mirrorOnceSupported)));
        glSamplerParameteri(
            sampler, GL_TEXTURE_WRAP_T,
            static_cast<GLint>(glAddress(ss[D3DSAMP_ADDRESSV], draw_.mirrorOnceSupported)));
        glSamplerParameteri(
            sampler, GL_TEXTURE_WRAP_R,
            static_cast<GLint>(glAddress(ss[D3DSAMP_ADDRESSW], draw_.mirrorOnceSupported)));
        float border[4];
        colourOf(ss[D3DSAMP_BORDERCOLOR], border);
        glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, border);
        DWORD mag = ss[D3DSAMP_MAGFILTER];
        DWORD min = ss[D3DSAMP_MINFILTER];
        DWORD mip = ss[D3DSAMP_MIPFILTER];
        bool linearMin = min == D3DTEXF_LINEAR || min == D3DTEXF_ANISOTROPIC;
        GLint minFilter = linearMin ? GL_LINEAR : GL_NEAREST;
        if (mip == D3DTEXF_POINT) {
            minFilter = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        } else if (mip == D3DTEXF_LINEAR || mip == D3DTEXF_ANISOTROPIC) {
            minFilter = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
        }
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, minFilter);
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                            mag == D3DTEXF_POINT || mag == D3DTEXF_NONE ? GL_NEAREST : GL_LINEAR);
        if (draw_.anisotropySupported) {
            // Direct3D filters anisotropically only where a filter asks for it.
            bool anisotropic = min == D3DTEXF_ANISOTROPIC || mag == D3DTEXF_ANISOTROPIC;
            DWORD maximum = ss[D3DSAMP_MAXANISOTROPY];
            float amount = anisotropic && maximum > 1 ? static_cast<float>(maximum) : 1.0f;
            glSamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY, amount);
        }
        glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, floatOf(ss[D3DSAMP_MIPMAPLODBIAS]));
        glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD,
                            static_cast<float>(ss[D3DSAMP_MAXMIPLEVEL]));
    }
    draw_.samplersDirty = 0;
}

void Device::applyUniforms() {
    Program& p = *draw_.program;
    if (p.viewportVersion != draw_.viewportVersion) {
        p.viewportVersion = draw_.viewportVersion;
        float width = static_cast<float>(viewport_.Width);
        float height = static_cast<float>(viewport_.Height);
        // The half-pixel shift puts pixel centres at integer coordinates, as Direct3D 9 has
        // them, less the shift that settles ties.
        const float shift = 0.5f - kTieBreakShift;
        // Clip-space y flips too: rows run top first.
        const float fixup[4] = {1.0f, -1.0f, shift * 2.0f / width, shift * 2.0f / height};
        std::memcpy(draw_.posFixup, fixup, sizeof(fixup));
        if (p.posFixup >= 0) {
            glUniform4fv(p.posFixup, 1, fixup);
        }
        if (p.point >= 0) {
            uploadPointSize(p);
        }
        if (p.screenToNdc >= 0) {
            float x = static_cast<float>(viewport_.X);
            float y = static_cast<float>(viewport_.Y);
            glUniform4f(p.screenToNdc, 2.0f / width, 2.0f / height,
                        (shift - x) * 2.0f / width - 1.0f, (shift - y) * 2.0f / height - 1.0f);
        }
    }
    if (p.transformVersion != draw_.transformVersion) {
        p.transformVersion = draw_.transformVersion;
        if (p.worldViewProj >= 0) {
            // Direct3D's rows become GL's columns: M * v in GLSL is v * M here.
            glUniformMatrix4fv(p.worldViewProj, 1, GL_FALSE, draw_.worldViewProjection);
        }
        if (p.worldView >= 0) {
            glUniformMatrix4fv(p.worldView, 1, GL_FALSE, draw_.worldView);
        }
        if (p.normalMatrix >= 0) {
            glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, draw_.normalMatrix);
        }
    }
    if (p.fixedVersion != draw_.fixedVersion) {
        p.fixedVersion = draw_.fixedVersion;
        const DWORD* rs = state_.render;
        if (p.alphaTest >= 0) {
            GLint func = rs[D3DRS_ALPHATESTENABLE] ? static_cast<GLint>(rs[D3DRS_ALPHAFUNC]) : 0;
            glUniform2i(p.alphaTest, func, static_cast<GLint>(rs[D3DRS_ALPHAREF] & 0xFF));
        }
        float colour[4];
        if (p.textureFactor >= 0) {
            colourOf(rs[D3DRS_TEXTUREFACTOR], colour);
            glUniform4fv(p.textureFactor, 1, colour);
        }
        if (p.ambientLight >= 0) {
            colourOf(rs[D3DRS_AMBIENT], colour);
            glUniform4fv(p.ambientLight, 1, colour);
        }
        const D3DMATERIAL9& m = state_.material;
        if (p.materialDiffuse >= 0) {
            glUniform4fv(p.materialDiffuse, 1, &m.Diffuse.r);
        }
        if (p.materialAmbient >= 0) {
            glUniform4fv(p.materialAmbient, 1, &m.Ambient.r);
        }
        if (p.materialEmissive >= 0) {
            glUniform4fv(p.materialEmissive, 1, &m.Emissive.r);
        }
        for (int stage = 0; stage < kStageCount; ++stage) {
            if (p.textureConstant[stage] >= 0) {
                glUniform4fv(p.textureConstant[stage], 1, draw_.stageConstant[stage]);
            }
        }
        uploadFixedValues(p);
    }
    applyFixedFunctionUniforms(p);
    if (vertexShader_ && p.vertexBlock) {
        vertexShader_->code.updateConstants(draw_.vsConstantVersion, vsFloat_,
                                            kVertexFloatRegisters, vsBool_, kBoolRegisters, vsInt_,
                                            kIntRegisters);
    }
    if (pixelShader_ && p.pixelBlock) {
        pixelShader_->code.updateConstants(draw_.psConstantVersion, psFloat_, kPixelFloatRegisters,
                                           psBool_, kBoolRegisters, psInt_, kIntRegisters);
    }
}

} // namespace tarnelix::d3d9
