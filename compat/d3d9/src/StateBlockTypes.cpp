// Which states D3DSBT_ALL, D3DSBT_PIXELSTATE and D3DSBT_VERTEXSTATE hold: Direct3D 9 splits
// them by the half of the pipeline that reads them, and some (fog, shading) lie in both.

#include "StateBlock.h"

#include "Device.h"

namespace tarnelix::d3d9 {

namespace {

constexpr D3DRENDERSTATETYPE kPixelRenderStates[] = {
    D3DRS_ZENABLE,
    D3DRS_FILLMODE,
    D3DRS_SHADEMODE,
    D3DRS_ZWRITEENABLE,
    D3DRS_ALPHATESTENABLE,
    D3DRS_LASTPIXEL,
    D3DRS_SRCBLEND,
    D3DRS_DESTBLEND,
    D3DRS_ZFUNC,
    D3DRS_ALPHAREF,
    D3DRS_ALPHAFUNC,
    D3DRS_DITHERENABLE,
    D3DRS_FOGSTART,
    D3DRS_FOGEND,
    D3DRS_FOGDENSITY,
    D3DRS_ALPHABLENDENABLE,
    D3DRS_DEPTHBIAS,
    D3DRS_STENCILENABLE,
    D3DRS_STENCILFAIL,
    D3DRS_STENCILZFAIL,
    D3DRS_STENCILPASS,
    D3DRS_STENCILFUNC,
    D3DRS_STENCILREF,
    D3DRS_STENCILMASK,
    D3DRS_STENCILWRITEMASK,
    D3DRS_TEXTUREFACTOR,
    D3DRS_WRAP0,
    D3DRS_WRAP1,
    D3DRS_WRAP2,
    D3DRS_WRAP3,
    D3DRS_WRAP4,
    D3DRS_WRAP5,
    D3DRS_WRAP6,
    D3DRS_WRAP7,
    D3DRS_WRAP8,
    D3DRS_WRAP9,
    D3DRS_WRAP10,
    D3DRS_WRAP11,
    D3DRS_WRAP12,
    D3DRS_WRAP13,
    D3DRS_WRAP14,
    D3DRS_WRAP15,
    D3DRS_COLORWRITEENABLE,
    D3DRS_COLORWRITEENABLE1,
    D3DRS_COLORWRITEENABLE2,
    D3DRS_COLORWRITEENABLE3,
    D3DRS_BLENDOP,
    D3DRS_SCISSORTESTENABLE,
    D3DRS_SLOPESCALEDEPTHBIAS,
    D3DRS_ANTIALIASEDLINEENABLE,
    D3DRS_TWOSIDEDSTENCILMODE,
    D3DRS_CCW_STENCILFAIL,
    D3DRS_CCW_STENCILZFAIL,
    D3DRS_CCW_STENCILPASS,
    D3DRS_CCW_STENCILFUNC,
    D3DRS_BLENDFACTOR,
    D3DRS_SRGBWRITEENABLE,
    D3DRS_SEPARATEALPHABLENDENABLE,
    D3DRS_SRCBLENDALPHA,
    D3DRS_DESTBLENDALPHA,
    D3DRS_BLENDOPALPHA,
};

constexpr D3DRENDERSTATETYPE kVertexRenderStates[] = {
    D3DRS_CULLMODE,
    D3DRS_SHADEMODE,
    D3DRS_FOGENABLE,
    D3DRS_SPECULARENABLE,
    D3DRS_FOGCOLOR,
    D3DRS_FOGTABLEMODE,
    D3DRS_FOGSTART,
    D3DRS_FOGEND,
    D3DRS_FOGDENSITY,
    D3DRS_RANGEFOGENABLE,
    D3DRS_AMBIENT,
    D3DRS_COLORVERTEX,
    D3DRS_FOGVERTEXMODE,
    D3DRS_CLIPPING,
    D3DRS_LIGHTING,
    D3DRS_NORMALIZENORMALS,
    D3DRS_LOCALVIEWER,
    D3DRS_DIFFUSEMATERIALSOURCE,
    D3DRS_SPECULARMATERIALSOURCE,
    D3DRS_AMBIENTMATERIALSOURCE,
    D3DRS_EMISSIVEMATERIALSOURCE,
    D3DRS_VERTEXBLEND,
    D3DRS_CLIPPLANEENABLE,
    D3DRS_POINTSIZE,
    D3DRS_POINTSIZE_MIN,
    D3DRS_POINTSPRITEENABLE,
    D3DRS_POINTSCALEENABLE,
    D3DRS_POINTSCALE_A,
    D3DRS_POINTSCALE_B,
    D3DRS_POINTSCALE_C,
    D3DRS_MULTISAMPLEANTIALIAS,
    D3DRS_MULTISAMPLEMASK,
    D3DRS_PATCHEDGESTYLE,
    D3DRS_POINTSIZE_MAX,
    D3DRS_INDEXEDVERTEXBLENDENABLE,
    D3DRS_TWEENFACTOR,
    D3DRS_POSITIONDEGREE,
    D3DRS_NORMALDEGREE,
    D3DRS_MINTESSELLATIONLEVEL,
    D3DRS_MAXTESSELLATIONLEVEL,
    D3DRS_ADAPTIVETESS_X,
    D3DRS_ADAPTIVETESS_Y,
    D3DRS_ADAPTIVETESS_Z,
    D3DRS_ADAPTIVETESS_W,
    D3DRS_ENABLEADAPTIVETESSELLATION,
};

// Texture coordinates are produced by the vertex half; everything else a stage does is pixel
// work.
bool isVertexStageState(DWORD type) {
    return type == D3DTSS_TEXCOORDINDEX || type == D3DTSS_TEXTURETRANSFORMFLAGS;
}

template <size_t N> void holdRenderStates(StateSet& set, const D3DRENDERSTATETYPE (&states)[N]) {
    for (D3DRENDERSTATETYPE state : states) {
        if (isKnownRenderState(state)) {
            set.render.held.set(state);
        }
    }
}

void holdStageStates(StateSet& set, bool vertex) {
    for (DWORD stage = 0; stage < kStageCount; ++stage) {
        for (DWORD type = 0; type < kStageStateCount; ++type) {
            if (isKnownStageState(type) && isVertexStageState(type) == vertex) {
                set.stage.held.set(StateSet::stageIndex(stage, type));
            }
        }
    }
}

void holdSamplerStates(StateSet& set, bool vertex) {
    for (DWORD sampler = 0; sampler < kSamplerCount; ++sampler) {
        for (DWORD type = D3DSAMP_ADDRESSU; type <= D3DSAMP_DMAPOFFSET; ++type) {
            if ((type == D3DSAMP_DMAPOFFSET) == vertex) {
                set.sampler.held.set(StateSet::samplerIndex(sampler, type));
            }
        }
    }
}

} // namespace

bool StateBlock::holdType(D3DSTATEBLOCKTYPE type) {
    switch (type) {
    case D3DSBT_ALL:
        holdEverything();
        return true;
    case D3DSBT_PIXELSTATE:
        holdPixelStates();
        return true;
    case D3DSBT_VERTEXSTATE:
        holdVertexStates();
        return true;
    default:
        return false;
    }
}

void StateBlock::holdPixelStates() {
    holdRenderStates(held_, kPixelRenderStates);
    holdStageStates(held_, false);
    holdSamplerStates(held_, false);
    held_.pixelShader.held = true;
    held_.psFloat.held.set();
    held_.psInt.held.set();
    held_.psBool.held.set();
}

void StateBlock::holdVertexStates() {
    holdRenderStates(held_, kVertexRenderStates);
    holdStageStates(held_, true);
    holdSamplerStates(held_, true);
    held_.vertexShader.held = true;
    held_.vsFloat.held.set();
    held_.vsInt.held.set();
    held_.vsBool.held.set();
    held_.vertexInput.held = true;
    held_.frequencies.held.set();
    holdLights();
}

void StateBlock::holdEverything() {
    holdPixelStates();
    holdVertexStates();
    for (DWORD state = 0; state < kRenderStateCount; ++state) {
        if (isKnownRenderState(state)) {
            held_.render.held.set(state);
        }
    }
    held_.textures.held.set();
    held_.streams.held.set();
    held_.indices.held = true;
    held_.transforms.held.set();
    held_.viewport.held = true;
    held_.scissor.held = true;
    held_.clipPlanes.held.set();
    held_.material.held = true;
}

// The lights the device has at the time; one set later is not part of the block.
void StateBlock::holdLights() {
    for (DWORD index : device()->lightIndices()) {
        LightSlot& slot = held_.lights[index];
        slot.light.held = true;
        slot.enabled.held = true;
    }
}

} // namespace tarnelix::d3d9
