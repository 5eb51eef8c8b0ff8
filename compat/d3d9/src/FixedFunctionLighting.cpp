// GLSL for Direct3D 9's vertex lighting and fog. Lighting happens in camera space: positions by
// the world-view matrix, normals by its inverse transpose; each light's values arrive as
// kLightVectors vec4s (see lightUniforms), so programs differ only by the lights' types.

#include "FixedFunction.h"

#include <cstdio>

namespace tarnelix::d3d9 {

const char* const kFogVarying = "tx_v_FOG";

namespace {

std::string lightVector(int light, int vector) {
    char buffer[48];
    std::snprintf(buffer, sizeof(buffer), "tx_Lights[%d]", light * kLightVectors + vector);
    return buffer;
}

// One light's share: ambient always (scaled by attenuation and spot), diffuse and specular only
// on the side facing it. Choices between values are written as arithmetic (step, clamp, max):
// softpipe's vertex stage picked the wrong side of such conditional expressions.
void writeLight(int i, uint8_t type, std::string& out) {
    std::string position = lightVector(i, 0);
    std::string direction = lightVector(i, 1);
    std::string attenuation = lightVector(i, 5);
    std::string spot = lightVector(i, 6);
    out += "    {\n";
    if (type == D3DLIGHT_DIRECTIONAL) {
        out += "        vec3 toLight = -" + direction +
               ".xyz;\n"
               "        float atten = 1.0;\n";
    } else {
        out += "        vec3 toLight = " + position +
               ".xyz - cameraPosition;\n"
               "        float d = length(toLight);\n"
               "        toLight /= max(d, 1e-30);\n"
               "        float atten = step(d, " +
               attenuation + ".w) / max(" + attenuation + ".x + " + attenuation + ".y * d + " +
               attenuation + ".z * d * d, 1e-30);\n";
    }
    if (type == D3DLIGHT_SPOT) {
        // rho: the cosine between the spot's axis and the ray to the vertex; full inside the
        // inner cone (theta), none outside the outer (phi), Falloff's power of the way between.
        out += "        float rho = dot(-toLight, " + direction +
               ".xyz);\n"
               "        float spotLinear = clamp((rho - " +
               spot + ".y) / (" + spot + ".x - " + spot +
               ".y), 0.0, 1.0);\n"
               "        atten *= (1.0 - step(rho, " +
               spot + ".y)) * pow(max(spotLinear, 1e-30), " + spot + ".z);\n";
    }
    out += "        lightAmbient += atten * " + lightVector(i, 4) +
           ".rgb;\n"
           "        float nDotL = dot(normal, toLight);\n"
           "        if (nDotL > 0.0) {\n"
           "            lightDiffuse += atten * nDotL * " +
           lightVector(i, 2) +
           ".rgb;\n"
           "            vec3 halfway = normalize(toViewer + toLight);\n"
           "            float nDotH = dot(normal, halfway);\n"
           "            if (nDotH > 0.0) {\n"
           "                lightSpecular += atten * pow(nDotH, tx_MaterialPower) * " +
           lightVector(i, 3) +
           ".rgb;\n"
           "            }\n"
           "        }\n"
           "    }\n";
}

} // namespace

void writeLighting(const FixedVertexKey& key, std::string& out) {
    out += "    vec3 normal = tx_NormalMatrix * tx_a_NORMAL;\n";
    if (key.normalizeNormals) {
        out += "    normal /= max(length(normal), 1e-30);\n";
    }
    // The local viewer looks from the camera at the vertex; the distant one along the z axis.
    if (key.localViewer) {
        out += "    vec3 toViewer = -cameraPosition / max(length(cameraPosition), 1e-30);\n";
    } else {
        out += "    vec3 toViewer = vec3(0.0, 0.0, -1.0);\n";
    }
    out += "    vec3 lightAmbient = vec3(0.0);\n"
           "    vec3 lightDiffuse = vec3(0.0);\n"
           "    vec3 lightSpecular = vec3(0.0);\n";
    for (int i = 0; i < key.lightCount; ++i) {
        writeLight(i, key.lightTypes[i], out);
    }
}

// Fog factors: 1 leaves the colour, 0 is all fog. Per pixel the depth is the window's z, or w
// (1 / gl_FragCoord.w). tx_Fog holds start, end, density and 1 / (end - start).
std::string fogGlsl(uint8_t fog, bool fromW) {
    if (fog == kPixelFogNone) {
        return "";
    }
    std::string out = "uniform vec4 tx_FogColor;\n";
    if (fog == kPixelFogVertex) {
        out += std::string("in float ") + kFogVarying +
               ";\n"
               "float tx_fogFactor()\n{\n    return clamp(" +
               kFogVarying + ", 0.0, 1.0);\n}\n";
        return out;
    }
    out += "uniform vec4 tx_Fog;\n"
           "float tx_fogFactor()\n{\n";
    out +=
        fromW ? "    float depth = 1.0 / gl_FragCoord.w;\n" : "    float depth = gl_FragCoord.z;\n";
    const char* factor = fog == kPixelFogLinear ? "(tx_Fog.y - depth) * tx_Fog.w"
                         : fog == kPixelFogExp  ? "exp(-depth * tx_Fog.z)"
                                                : "exp(-(depth * tx_Fog.z) * (depth * tx_Fog.z))";
    out += std::string("    return clamp(") + factor + ", 0.0, 1.0);\n}\n";
    return out;
}

} // namespace tarnelix::d3d9
