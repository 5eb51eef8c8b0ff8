// Texture coordinates the fixed-function vertex program makes itself (D3DTSS_TCI_* in a stage's
// D3DTSS_TEXCOORDINDEX): the camera-space normal, position or reflection vector.
//
// As on Direct3D, a stage's generated coordinates are the vertex program's output coordinate
// set of the stage's own number, which a pixel program reads as that TEXCOORDn and the
// fixed-function stage samples with.

#include "FixedFunction.h"

#include "Refusal.h"

#include <cstdio>

namespace tarnelix::d3d9 {

namespace {

constexpr uint8_t kTexGenLocalViewer = 1;
constexpr uint8_t kTexGenNormalize = 2;

// The generation a TEXCOORDINDEX value asks for (D3DTSS_TCI_* >> 16), 0 for none or one the
// device does not make (refused once).
uint8_t generationOf(DWORD index) {
    DWORD mode = index & 0xFFFF0000u;
    switch (mode) {
    case D3DTSS_TCI_PASSTHRU:
        return 0;
    case D3DTSS_TCI_CAMERASPACENORMAL:
    case D3DTSS_TCI_CAMERASPACEPOSITION:
    case D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR:
        return static_cast<uint8_t>(mode >> 16);
    default:
        refuseOnce("texture coordinate generation", mode);
        return 0;
    }
}

} // namespace

uint8_t stageCoordinateSet(DWORD index, int stage) {
    if (generationOf(index)) {
        return static_cast<uint8_t>(stage);
    }
    DWORD set = index & 0xFFFFu;
    if (set > 7) {
        refuseOnce("texture coordinate index", set);
        set &= 7;
    }
    return static_cast<uint8_t>(set);
}

void buildTexGenKey(const DeviceState& state, FixedVertexKey& key) {
    bool any = false;
    for (int s = 0; s < kStageCount && state.stage[s][D3DTSS_COLOROP] != D3DTOP_DISABLE; ++s) {
        key.texGen[s] = generationOf(state.stage[s][D3DTSS_TEXCOORDINDEX]);
        any = any || key.texGen[s];
    }
    if (!any) {
        return;
    }
    // A set written with generated coordinates cannot also carry the vertices' own.
    for (int s = 0; s < kStageCount && state.stage[s][D3DTSS_COLOROP] != D3DTOP_DISABLE; ++s) {
        DWORD index = state.stage[s][D3DTSS_TEXCOORDINDEX];
        if (!key.texGen[s] && (index & 7) != static_cast<DWORD>(s) && key.texGen[index & 7]) {
            refuseOnce("passed-through texture coordinates in a generated set, set", index & 7);
        }
    }
    key.texGenFlags =
        static_cast<uint8_t>((state.render[D3DRS_LOCALVIEWER] ? kTexGenLocalViewer : 0) |
                             (state.render[D3DRS_NORMALIZENORMALS] ? kTexGenNormalize : 0));
}

bool generatesTexCoords(const FixedVertexKey& key) {
    for (uint8_t mode : key.texGen) {
        if (mode) {
            return true;
        }
    }
    return false;
}

// Camera space is where the world and view matrices take the vertex; normals go by the inverse
// transpose (tx_NormalMatrix, made once per transform change, not per vertex), normalised where
// D3DRS_NORMALIZENORMALS asks. The reflection is of the eye's ray: from the eye to the vertex with
// a local viewer, along +z (the view direction) without one.
void writeTexGen(const FixedVertexKey& key, std::string& out) {
    if (!generatesTexCoords(key)) {
        return;
    }
    out += "    vec4 tx_eyePosition = tx_WorldView * tx_a_POSITION;\n"
           "    vec3 tx_eyeNormal = tx_NormalMatrix * tx_a_NORMAL;\n";
    if (key.texGenFlags & kTexGenNormalize) {
        out += "    tx_eyeNormal = normalize(tx_eyeNormal);\n";
    }
    const char* ray = (key.texGenFlags & kTexGenLocalViewer) ? "normalize(tx_eyePosition.xyz)"
                                                             : "vec3(0.0, 0.0, 1.0)";
    char line[160];
    for (int s = 0; s < kStageCount; ++s) {
        uint8_t mode = key.texGen[s];
        if (!mode) {
            continue;
        }
        if (mode == D3DTSS_TCI_CAMERASPACENORMAL >> 16) {
            std::snprintf(line, sizeof(line), "    vec4 tx_texGen%d = vec4(tx_eyeNormal, 1.0);\n",
                          s);
        } else if (mode == D3DTSS_TCI_CAMERASPACEPOSITION >> 16) {
            std::snprintf(line, sizeof(line),
                          "    vec4 tx_texGen%d = vec4(tx_eyePosition.xyz, 1.0);\n", s);
        } else {
            std::snprintf(line, sizeof(line),
                          "    vec4 tx_texGen%d = vec4(reflect(%s, tx_eyeNormal), 1.0);\n", s, ray);
        }
        out += line;
    }
}

} // namespace tarnelix::d3d9
