// GLSL for the fixed-function pipeline: transform (or pre-transformed screen positions),
// colours (lit or the vertex's), vertex fog, point size and clip distances, the texture stages
// and the fog that ends them.

#include "FixedFunction.h"

#include <cstdarg>
#include <cstdio>

namespace tarnelix::d3d9 {

const char* const kAlphaTestGlsl = R"(uniform ivec2 tx_AlphaTest;
void tx_alphaTest(float alpha)
{
    int a = int(floor(clamp(alpha, 0.0, 1.0) * 255.0 + 0.5));
    int r = tx_AlphaTest.y;
    bool pass = true;
    switch (tx_AlphaTest.x) {
    case 1: pass = false; break;
    case 2: pass = a < r; break;
    case 3: pass = a == r; break;
    case 4: pass = a <= r; break;
    case 5: pass = a > r; break;
    case 6: pass = a != r; break;
    case 7: pass = a >= r; break;
    default: break;
    }
    if (!pass) discard;
}
)";

namespace {

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

std::string format(const char* pattern, ...) {
    char buffer[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof(buffer), pattern, args);
    va_end(args);
    return buffer;
}

// vec4 value -> a varying of `components` components.
const char* narrow(int components) {
    static const char* const kSwizzles[5] = {"", ".x", ".xy", ".xyz", ""};
    return kSwizzles[components];
}

// A varying of `components` components -> vec4, filled as Direct3D fills missing ones.
std::string widen(const char* name, int components) {
    switch (components) {
    case 1:
        return format("vec4(%s, 0.0, 0.0, 1.0)", name);
    case 2:
        return format("vec4(%s, 0.0, 1.0)", name);
    case 3:
        return format("vec4(%s, 1.0)", name);
    default:
        return name;
    }
}

void writeVaryingOutputs(const VaryingSignature& outputs, std::string& out) {
    for (int i = 0; i < kVaryingCount; ++i) {
        if (outputs.components[i]) {
            out += format("out %s %s;\n", glslType(outputs.components[i]), varyingName(i));
        }
    }
}

void writeVaryingAssignments(const FixedVertexKey& key, std::string& out) {
    const VaryingSignature& outputs = key.outputs;
    for (int i = 0; i < kVaryingCount; ++i) {
        int n = outputs.components[i];
        if (!n) {
            continue;
        }
        const char* value = i == kColor0 ? "diffuse" : i == kColor1 ? "specular" : nullptr;
        int set = i - kTexCoord0;
        if (value) {
            out += format("    %s = %s%s;\n", varyingName(i), value, narrow(n));
        } else if (key.texGen[set]) {
            out += format("    %s = tx_texGen%d%s;\n", varyingName(i), set, narrow(n));
        } else {
            out += format("    %s = tx_a_TEXCOORD%d%s;\n", varyingName(i), set, narrow(n));
        }
    }
}

} // namespace

namespace {

bool needsCameraPosition(const FixedVertexKey& key) {
    return key.lightCount || key.fog >= kVertexFogLinear || key.pointScale;
}

void writeVertexDeclarations(const FixedVertexKey& key, std::string& out) {
    out += "#version 330\n"
           "layout(location = 0) in vec4 tx_a_POSITION;\n"
           "layout(location = 5) in vec4 tx_a_COLOR0;\n"
           "layout(location = 6) in vec4 tx_a_COLOR1;\n";
    for (int i = 0; i < 8; ++i) {
        out += format("layout(location = %d) in vec4 tx_a_TEXCOORD%d;\n", 7 + i, i);
    }
    if (key.lightCount || generatesTexCoords(key)) {
        out += "layout(location = 3) in vec3 tx_a_NORMAL;\n"
               "uniform mat3 tx_NormalMatrix;\n";
    }
    if (key.lightCount) {
        out += format("uniform vec4 tx_Lights[%d];\n", key.lightCount * kLightVectors);
        out += "uniform vec4 tx_MaterialSpecular;\n"
               "uniform float tx_MaterialPower;\n";
    }
    if (key.pointSize == kPointSizeVertex) {
        out += "layout(location = 1) in float tx_a_PSIZE;\n";
    }
    out += "uniform mat4 tx_WorldViewProj;\n"
           "uniform vec4 tx_PosFixup;\n"
           "uniform vec4 tx_ScreenToNdc;\n"
           "uniform vec4 tx_MaterialDiffuse;\n"
           "uniform vec4 tx_MaterialAmbient;\n"
           "uniform vec4 tx_MaterialEmissive;\n"
           "uniform vec4 tx_AmbientLight;\n";
    if (needsCameraPosition(key) || generatesTexCoords(key)) {
        out += "uniform mat4 tx_WorldView;\n";
    }
    if (key.fog >= kVertexFogLinear) {
        out += "uniform vec4 tx_Fog;\n";
    }
    if (key.fog) {
        out += format("out float %s;\n", kFogVarying);
    }
    if (key.pointSize) {
        out += "uniform vec4 tx_Point;\n";
    }
    if (key.pointScale) {
        out += "uniform vec4 tx_PointScale;\n";
    }
    if (key.clipPlanes) {
        out += format("uniform vec4 tx_ClipPlanes[%d];\n", kClipPlaneCount);
    }
    writeVaryingOutputs(key.outputs, out);
}

const char* sourceOf(uint8_t source, const char* material) {
    switch (source) {
    case D3DMCS_COLOR1:
        return "tx_a_COLOR0";
    case D3DMCS_COLOR2:
        return "tx_a_COLOR1";
    default:
        return material;
    }
}

void writeColours(const FixedVertexKey& key, std::string& out) {
    if (!key.lighting) {
        out += "    vec4 diffuse = tx_a_COLOR0;\n"
               "    vec4 specular = tx_a_COLOR1;\n";
        return;
    }
    out +=
        format("    vec4 diffuseSource = %s;\n", sourceOf(key.diffuseSource, "tx_MaterialDiffuse"));
    out +=
        format("    vec4 ambientSource = %s;\n", sourceOf(key.ambientSource, "tx_MaterialAmbient"));
    out += format("    vec4 emissiveSource = %s;\n",
                  sourceOf(key.emissiveSource, "tx_MaterialEmissive"));
    if (!key.lightCount) {
        out += "    vec4 diffuse = vec4(emissiveSource.rgb + ambientSource.rgb * "
               "tx_AmbientLight.rgb, diffuseSource.a);\n"
               "    vec4 specular = vec4(0.0);\n";
        return;
    }
    out += format("    vec4 specularSource = %s;\n",
                  sourceOf(key.specularSource, "tx_MaterialSpecular"));
    writeLighting(key, out);
    out +=
        "    vec4 diffuse = vec4(emissiveSource.rgb + ambientSource.rgb * (tx_AmbientLight.rgb + "
        "lightAmbient) + diffuseSource.rgb * lightDiffuse, diffuseSource.a);\n"
        "    vec4 specular = vec4(specularSource.rgb * lightSpecular, tx_a_COLOR1.a);\n";
}

// Vertex fog: the factor at the vertex, from the camera-space depth (or distance).
void writeVertexFog(const FixedVertexKey& key, std::string& out) {
    if (key.fog == kVertexFogSpecularAlpha) {
        out += format("    %s = specular.a;\n", kFogVarying);
        return;
    }
    if (key.fog < kVertexFogLinear) {
        return;
    }
    out += key.rangeFog ? "    float fogDistance = length(cameraPosition);\n"
                        : "    float fogDistance = cameraPosition.z;\n";
    const char* factor = key.fog == kVertexFogLinear ? "(tx_Fog.y - fogDistance) * tx_Fog.w"
                         : key.fog == kVertexFogExp
                             ? "exp(-fogDistance * tx_Fog.z)"
                             : "exp(-(fogDistance * tx_Fog.z) * (fogDistance * tx_Fog.z))";
    out += format("    %s = clamp(%s, 0.0, 1.0);\n", kFogVarying, factor);
}

// Points: the state's size or the vertex's, scaled by distance where asked (the viewport's
// height times the size over the square root of A + B d + C d^2), then held between the
// smallest and the largest size.
void writePointSize(const FixedVertexKey& key, std::string& out) {
    if (!key.pointSize) {
        return;
    }
    out += key.pointSize == kPointSizeVertex ? "    float pointSize = tx_a_PSIZE;\n"
                                             : "    float pointSize = tx_Point.x;\n";
    if (key.pointScale) {
        out += "    float eyeDistance = length(cameraPosition);\n"
               "    pointSize *= tx_Point.w * sqrt(1.0 / (tx_PointScale.x + tx_PointScale.y * "
               "eyeDistance + tx_PointScale.z * eyeDistance * eyeDistance));\n";
    }
    out += "    gl_PointSize = min(max(pointSize, tx_Point.y), tx_Point.z);\n";
}

} // namespace

std::string generateVertexShader(const FixedVertexKey& key) {
    std::string out;
    writeVertexDeclarations(key, out);
    out += "void main()\n{\n";
    if (key.pretransformed) {
        // Screen pixels to clip space: centres at integer coordinates, rows from the top, 1/rhw
        // as w for perspective-correct interpolation.
        out += "    float w = tx_a_POSITION.w != 0.0 ? 1.0 / tx_a_POSITION.w : 1.0;\n"
               "    vec2 ndc = tx_a_POSITION.xy * tx_ScreenToNdc.xy + tx_ScreenToNdc.zw;\n"
               "    gl_Position = vec4(ndc * w, tx_a_POSITION.z * w, w);\n";
    } else {
        out += "    gl_Position = tx_WorldViewProj * tx_a_POSITION;\n"
               "    gl_Position.xy = gl_Position.xy * tx_PosFixup.xy + tx_PosFixup.zw * "
               "gl_Position.w;\n";
    }
    if (needsCameraPosition(key)) {
        out += "    vec3 cameraPosition = (tx_WorldView * tx_a_POSITION).xyz;\n";
    }
    if (key.clipPlanes) {
        // The planes arrive in the vertex's own space (the device moves them from the world's).
        for (int i = 0; i < kClipPlaneCount; ++i) {
            out +=
                format("    gl_ClipDistance[%d] = dot(tx_a_POSITION, tx_ClipPlanes[%d]);\n", i, i);
        }
    }
    writeColours(key, out);
    out += "    diffuse = clamp(diffuse, 0.0, 1.0);\n"
           "    specular = clamp(specular, 0.0, 1.0);\n";
    writeTexGen(key, out);
    writeVertexFog(key, out);
    writePointSize(key, out);
    writeVaryingAssignments(key, out);
    out += "}\n";
    return out;
}

namespace {

std::string argument(uint8_t arg, int stage) {
    std::string value;
    switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE:
        value = "diffuse";
        break;
    case D3DTA_TEXTURE:
        value = format("tex%d", stage);
        break;
    case D3DTA_TFACTOR:
        value = "tx_TextureFactor";
        break;
    case D3DTA_SPECULAR:
        value = "specular";
        break;
    case D3DTA_TEMP:
        value = "temp";
        break;
    default:
        value = "current";
        break;
    }
    if (arg & D3DTA_COMPLEMENT) {
        value = "(vec4(1.0) - " + value + ")";
    }
    if (arg & D3DTA_ALPHAREPLICATE) {
        value = "vec4(" + value + ".a)";
    }
    return value;
}

const char* samplerType(int kind) {
    return kind == kStageVolume ? "sampler3D" : kind == kStageCube ? "samplerCube" : "sampler2D";
}

bool readsTexture(const FixedStageKey& k) {
    auto isTexture = [](uint8_t arg) { return (arg & D3DTA_SELECTMASK) == D3DTA_TEXTURE; };
    bool colour = isTexture(k.colorArg[1]) || isTexture(k.colorArg[2]) ||
                  isTexture(k.colorArg[0]) || k.colorOp == D3DTOP_BLENDTEXTUREALPHA ||
                  k.colorOp == D3DTOP_BLENDTEXTUREALPHAPM;
    bool alpha =
        k.alphaOp != D3DTOP_DISABLE &&
        (isTexture(k.alphaArg[1]) || isTexture(k.alphaArg[2]) || isTexture(k.alphaArg[0]) ||
         k.alphaOp == D3DTOP_BLENDTEXTUREALPHA || k.alphaOp == D3DTOP_BLENDTEXTUREALPHAPM);
    return colour || alpha;
}

// One operation on arguments a0, a1, a2 (vec4 expressions), keeping components `c` (".rgb"
// or ".a").
std::string operation(uint8_t op, const std::string& a0, const std::string& a1,
                      const std::string& a2, const char* c, int stage) {
    std::string x0 = "(" + a0 + ")" + c;
    std::string x1 = "(" + a1 + ")" + c;
    std::string x2 = "(" + a2 + ")" + c;
    auto blend = [&](const std::string& factor) {
        return x1 + " * " + factor + " + " + x2 + " * (1.0 - " + factor + ")";
    };
    switch (op) {
    case D3DTOP_SELECTARG1:
        return x1;
    case D3DTOP_SELECTARG2:
        return x2;
    case D3DTOP_MODULATE:
        return x1 + " * " + x2;
    case D3DTOP_MODULATE2X:
        return x1 + " * " + x2 + " * 2.0";
    case D3DTOP_MODULATE4X:
        return x1 + " * " + x2 + " * 4.0";
    case D3DTOP_ADD:
        return x1 + " + " + x2;
    case D3DTOP_ADDSIGNED:
        return x1 + " + " + x2 + " - 0.5";
    case D3DTOP_ADDSIGNED2X:
        return "(" + x1 + " + " + x2 + " - 0.5) * 2.0";
    case D3DTOP_SUBTRACT:
        return x1 + " - " + x2;
    case D3DTOP_ADDSMOOTH:
        return x1 + " + " + x2 + " - " + x1 + " * " + x2;
    case D3DTOP_BLENDDIFFUSEALPHA:
        return blend("diffuse.a");
    case D3DTOP_BLENDTEXTUREALPHA:
        return blend(format("tex%d.a", stage));
    case D3DTOP_BLENDFACTORALPHA:
        return blend("tx_TextureFactor.a");
    case D3DTOP_BLENDCURRENTALPHA:
        return blend("current.a");
    case D3DTOP_BLENDTEXTUREALPHAPM:
        return x1 + " + " + x2 + format(" * (1.0 - tex%d.a)", stage);
    case D3DTOP_MODULATEALPHA_ADDCOLOR:
        return x1 + " + (" + a1 + ").a * " + x2;
    case D3DTOP_MODULATECOLOR_ADDALPHA:
        return x1 + " * " + x2 + " + (" + a1 + ").a";
    case D3DTOP_MODULATEINVALPHA_ADDCOLOR:
        return "(1.0 - (" + a1 + ").a) * " + x2 + " + " + x1;
    case D3DTOP_MODULATEINVCOLOR_ADDALPHA:
        return "(1.0 - " + x1 + ") * " + x2 + " + (" + a1 + ").a";
    case D3DTOP_DOTPRODUCT3:
        return std::string(c) == ".a" ? "tx_dot3(" + a1 + ", " + a2 + ")"
                                      : "vec3(tx_dot3(" + a1 + ", " + a2 + "))";
    case D3DTOP_MULTIPLYADD:
        return x0 + " + " + x1 + " * " + x2;
    case D3DTOP_LERP:
        return x0 + " * " + x1 + " + (1.0 - " + x0 + ") * " + x2;
    default:
        return x1;
    }
}

void writeStage(const FixedStageKey& k, int s, std::string& out) {
    if (readsTexture(k)) {
        bool direction = k.textureKind == kStageVolume || k.textureKind == kStageCube;
        const char* coordinates = direction ? ".xyz" : ".xy";
        if (k.textureKind == kStageConstant) {
            out += format("    vec4 tex%d = tx_TextureConstant%d;\n", s, s);
        } else if (k.textureKind) {
            out += format("    vec4 tex%d = texture(tx_Sampler%d, tc%d%s);\n", s, s, k.texCoord,
                          coordinates);
        } else {
            out += format("    vec4 tex%d = vec4(1.0);\n", s); // no texture reads white
        }
    }
    const char* target = k.resultArg == D3DTA_TEMP ? "temp" : "current";
    std::string colour =
        operation(k.colorOp, argument(k.colorArg[0], s), argument(k.colorArg[1], s),
                  argument(k.colorArg[2], s), ".rgb", s);
    std::string alpha =
        k.alphaOp == D3DTOP_DISABLE
            ? "current.a"
            : operation(k.alphaOp, argument(k.alphaArg[0], s), argument(k.alphaArg[1], s),
                        argument(k.alphaArg[2], s), ".a", s);
    if (k.colorOp == D3DTOP_DOTPRODUCT3) {
        // The dot product goes to every channel, alpha included.
        alpha = "tx_dot3(" + argument(k.colorArg[1], s) + ", " + argument(k.colorArg[2], s) + ")";
    }
    out += format("    %s = clamp(vec4(", target) + colour + ", " + alpha + "), 0.0, 1.0);\n";
}

} // namespace

std::string generatePixelShader(const FixedPixelKey& key) {
    std::string out = "#version 330\n";
    for (int i = 0; i < kVaryingCount; ++i) {
        if (key.inputs.components[i]) {
            out += format("in %s %s;\n", glslType(key.inputs.components[i]), varyingName(i));
        }
    }
    for (int s = 0; s < key.stageCount; ++s) {
        int kind = key.stages[s].textureKind;
        if (kind == kStageConstant) {
            out += format("uniform vec4 tx_TextureConstant%d;\n", s);
        } else if (kind) {
            out += format("uniform %s tx_Sampler%d;\n", samplerType(kind), s);
        }
    }
    out += "uniform vec4 tx_TextureFactor;\n"
           "layout(location = 0) out vec4 tx_FragColor;\n";
    if (key.alphaTest) {
        out += kAlphaTestGlsl;
    }
    out += fogGlsl(key.fog, key.fogFromW != 0);
    out += "float tx_dot3(vec4 a, vec4 b)\n"
           "{\n"
           "    return clamp(4.0 * dot(a.rgb - 0.5, b.rgb - 0.5), 0.0, 1.0);\n"
           "}\n"
           "void main()\n{\n";
    auto input = [&](int i, const char* fallback) {
        int n = key.inputs.components[i];
        return n ? widen(varyingName(i), n) : std::string(fallback);
    };
    out += "    vec4 diffuse = clamp(" + input(kColor0, "vec4(1.0)") + ", 0.0, 1.0);\n";
    out += "    vec4 specular = clamp(" + input(kColor1, "vec4(0.0)") + ", 0.0, 1.0);\n";
    uint8_t coordinatesUsed = 0;
    for (int s = 0; s < key.stageCount; ++s) {
        uint8_t kind = key.stages[s].textureKind;
        if (kind != kStageNoTexture && kind != kStageConstant) {
            coordinatesUsed |= static_cast<uint8_t>(1u << key.stages[s].texCoord);
        }
    }
    for (int t = 0; t < 8; ++t) {
        if (coordinatesUsed & (1u << t)) {
            // A point sprite spans its texture from (0, 0) at the top left to (1, 1).
            std::string coordinates = key.pointSprite
                                          ? std::string("vec4(gl_PointCoord, 0.0, 1.0)")
                                          : input(kTexCoord0 + t, "vec4(0.0, 0.0, 0.0, 1.0)");
            out += format("    vec4 tc%d = ", t) + coordinates + ";\n";
        }
    }
    out += "    vec4 current = diffuse;\n"
           "    vec4 temp = vec4(0.0);\n";
    for (int s = 0; s < key.stageCount; ++s) {
        writeStage(key.stages[s], s, out);
    }
    out += "    vec4 colour = current;\n";
    if (key.specularEnable) {
        out += "    colour.rgb = clamp(colour.rgb + specular.rgb, 0.0, 1.0);\n";
    }
    if (key.fog) {
        out += "    colour.rgb = mix(tx_FogColor.rgb, colour.rgb, tx_fogFactor());\n";
    }
    if (key.alphaTest) {
        out += "    tx_alphaTest(colour.a);\n";
    }
    out += "    tx_FragColor = colour;\n"
           "}\n";
    return out;
}

} // namespace tarnelix::d3d9
