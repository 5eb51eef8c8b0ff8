#include "FixedFunction.h"

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

void buildVertexKey(const DeviceState& state, bool pretransformed, const VaryingSignature& outputs,
                    FixedVertexKey& key) {
    key = FixedVertexKey{};
    key.outputs = outputs;
    key.pretransformed = pretransformed ? 1 : 0;
    if (!pretransformed && state.render[D3DRS_LIGHTING]) {
        key.lighting = 1;
        key.colorVertex = state.render[D3DRS_COLORVERTEX] ? 1 : 0;
        key.diffuseSource = static_cast<uint8_t>(state.render[D3DRS_DIFFUSEMATERIALSOURCE] & 3);
        key.ambientSource = static_cast<uint8_t>(state.render[D3DRS_AMBIENTMATERIALSOURCE] & 3);
        key.emissiveSource = static_cast<uint8_t>(state.render[D3DRS_EMISSIVEMATERIALSOURCE] & 3);
        key.specularSource = static_cast<uint8_t>(state.render[D3DRS_SPECULARMATERIALSOURCE] & 3);
    }
    if (!pretransformed) {
        buildTexGenKey(state, key);
    }
}

} // namespace tarnelix::d3d9
