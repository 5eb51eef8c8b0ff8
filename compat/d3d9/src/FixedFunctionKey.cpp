#include "FixedFunction.h"

#include "Gl.h"
#include "Refusal.h"

namespace tarnelix::d3d9 {

namespace {

bool supportedOp(DWORD op) {
    return op >= D3DTOP_DISABLE && op <= D3DTOP_LERP && op != D3DTOP_PREMODULATE &&
           op != D3DTOP_BUMPENVMAP && op != D3DTOP_BUMPENVMAPLUMINANCE;
}

bool colourOnlyOp(DWORD op) {
    return op >= D3DTOP_MODULATEALPHA_ADDCOLOR && op <= D3DTOP_MODULATEINVCOLOR_ADDALPHA;
}

uint8_t checkedArg(DWORD arg) {
    DWORD source = arg & D3DTA_SELECTMASK;
    if (source == D3DTA_CONSTANT || source > D3DTA_CONSTANT ||
        (arg & ~(D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE))) {
        refuseOnce("texture stage argument", arg);
        return D3DTA_CURRENT;
    }
    return static_cast<uint8_t>(arg);
}

uint8_t checkedOp(DWORD op, bool alpha) {
    if (!supportedOp(op) || (alpha && colourOnlyOp(op))) {
        refuseOnce(alpha ? "texture stage alpha operation" : "texture stage colour operation", op);
        return D3DTOP_SELECTARG1;
    }
    return static_cast<uint8_t>(op);
}

} // namespace

VaryingSignature fullSignature() {
    VaryingSignature signature;
    for (uint8_t& c : signature.components) {
        c = 4;
    }
    return signature;
}

void buildPixelKey(const DeviceState& state, const uint8_t textureKinds[kStageCount],
                   const VaryingSignature& inputs, FixedPixelKey& key) {
    key = FixedPixelKey{};
    key.inputs = inputs;
    key.specularEnable = state.render[D3DRS_SPECULARENABLE] ? 1 : 0;
    key.alphaTest = alphaTestActive(state) ? 1 : 0;
    for (int s = 0; s < kStageCount; ++s) {
        const DWORD* stage = state.stage[s];
        if (stage[D3DTSS_COLOROP] == D3DTOP_DISABLE) {
            break;
        }
        FixedStageKey& k = key.stages[s];
        k.colorOp = checkedOp(stage[D3DTSS_COLOROP], false);
        k.colorArg[0] = checkedArg(stage[D3DTSS_COLORARG0]);
        k.colorArg[1] = checkedArg(stage[D3DTSS_COLORARG1]);
        k.colorArg[2] = checkedArg(stage[D3DTSS_COLORARG2]);
        DWORD alphaOp = stage[D3DTSS_ALPHAOP];
        k.alphaOp = alphaOp == D3DTOP_DISABLE ? static_cast<uint8_t>(D3DTOP_DISABLE)
                                              : checkedOp(alphaOp, true);
        k.alphaArg[0] = checkedArg(stage[D3DTSS_ALPHAARG0]);
        k.alphaArg[1] = checkedArg(stage[D3DTSS_ALPHAARG1]);
        k.alphaArg[2] = checkedArg(stage[D3DTSS_ALPHAARG2]);
        DWORD result = stage[D3DTSS_RESULTARG];
        if (result != D3DTA_CURRENT && result != D3DTA_TEMP) {
            refuseOnce("texture stage result argument", result);
            result = D3DTA_CURRENT;
        }
        k.resultArg = static_cast<uint8_t>(result);
        k.textureKind = textureKinds[s];
        k.texCoord = stageCoordinateSet(stage[D3DTSS_TEXCOORDINDEX], s);
        if (stage[D3DTSS_TEXTURETRANSFORMFLAGS] != D3DTTFF_DISABLE) {
            refuseOnce("texture transform flags", stage[D3DTSS_TEXTURETRANSFORMFLAGS]);
        }
        key.stageCount = static_cast<uint8_t>(s + 1);
    }
}

namespace {

constexpr GLint kColour0Location = 5;
constexpr GLint kColour1Location = 6;
constexpr GLint kPointSizeLocation = 1;

// A material source names a vertex colour only where the vertex has one; elsewhere Direct3D
// takes the material's own colour.
uint8_t materialSource(DWORD source, bool colorVertex, uint32_t attributes) {
    if (!colorVertex) {
        return D3DMCS_MATERIAL;
    }
    if (source == D3DMCS_COLOR1 && (attributes & (1u << kColour0Location))) {
        return D3DMCS_COLOR1;
    }
    if (source == D3DMCS_COLOR2 && (attributes & (1u << kColour1Location))) {
        return D3DMCS_COLOR2;
    }
    return D3DMCS_MATERIAL;
}

uint8_t vertexFog(const DeviceState& state, bool pretransformed) {
    const DWORD* rs = state.render;
    if (!rs[D3DRS_FOGENABLE] || rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE) {
        return kVertexFogNone;
    }
    // Pre-transformed vertices skip vertex processing: their fog factor is what the program
    // put in the specular alpha, as it is for any vertex while the vertex mode is NONE.
    if (pretransformed) {
        return kVertexFogSpecularAlpha;
    }
    switch (rs[D3DRS_FOGVERTEXMODE]) {
    case D3DFOG_LINEAR:
        return kVertexFogLinear;
    case D3DFOG_EXP:
        return kVertexFogExp;
    case D3DFOG_EXP2:
        return kVertexFogExp2;
    default:
        return kVertexFogSpecularAlpha;
    }
}

} // namespace

void buildVertexKey(const DeviceState& state, const VertexKeyInputs& inputs,
                    const VaryingSignature& outputs, FixedVertexKey& key) {
    key = FixedVertexKey{};
    const DWORD* rs = state.render;
    key.outputs = outputs;
    key.pretransformed = inputs.pretransformed ? 1 : 0;
    if (!inputs.pretransformed && rs[D3DRS_LIGHTING]) {
        key.lighting = 1;
        bool cv = rs[D3DRS_COLORVERTEX] != 0;
        key.diffuseSource = materialSource(rs[D3DRS_DIFFUSEMATERIALSOURCE], cv, inputs.attributes);
        key.ambientSource = materialSource(rs[D3DRS_AMBIENTMATERIALSOURCE], cv, inputs.attributes);
        key.emissiveSource =
            materialSource(rs[D3DRS_EMISSIVEMATERIALSOURCE], cv, inputs.attributes);
        key.specularSource =
            materialSource(rs[D3DRS_SPECULARMATERIALSOURCE], cv, inputs.attributes);
        int count = inputs.lightCount < kMaxLights ? inputs.lightCount : kMaxLights;
        key.lightCount = static_cast<uint8_t>(count);
        for (int i = 0; i < count; ++i) {
            key.lightTypes[i] = inputs.lightTypes[i];
        }
        if (count) {
            key.normalizeNormals = rs[D3DRS_NORMALIZENORMALS] ? 1 : 0;
            key.localViewer = rs[D3DRS_LOCALVIEWER] ? 1 : 0;
        }
    }
    key.fog = vertexFog(state, inputs.pretransformed);
    if (key.fog >= kVertexFogLinear) {
        key.rangeFog = rs[D3DRS_RANGEFOGENABLE] ? 1 : 0;
    }
    if (inputs.points) {
        key.pointSize =
            (inputs.attributes & (1u << kPointSizeLocation)) ? kPointSizeVertex : kPointSizeState;
        key.pointScale = !inputs.pretransformed && rs[D3DRS_POINTSCALEENABLE] ? 1 : 0;
    }
    if (!inputs.pretransformed && (rs[D3DRS_CLIPPLANEENABLE] & ((1u << kClipPlaneCount) - 1))) {
        key.clipPlanes = 1;
    }
    if (!inputs.pretransformed) {
        buildTexGenKey(state, key);
    }
}

void fogOfPixel(const DeviceState& state, bool vertexFog, bool perspective, uint8_t& fog,
                uint8_t& fogFromW) {
    const DWORD* rs = state.render;
    fog = kPixelFogNone;
    fogFromW = 0;
    if (!rs[D3DRS_FOGENABLE]) {
        return;
    }
    switch (rs[D3DRS_FOGTABLEMODE]) {
    case D3DFOG_LINEAR:
        fog = kPixelFogLinear;
        break;
    case D3DFOG_EXP:
        fog = kPixelFogExp;
        break;
    case D3DFOG_EXP2:
        fog = kPixelFogExp2;
        break;
    default:
        fog = vertexFog ? kPixelFogVertex : kPixelFogNone;
        return;
    }
    // Table fog reads the eye distance w where the projection gives one, and depth z under an
    // orthographic projection, whose w is 1 everywhere.
    fogFromW = perspective ? 1 : 0;
}

} // namespace tarnelix::d3d9
