// Render, texture-stage and sampler states, transforms, viewport and material. Setting a value
// the device already holds marks nothing dirty.

#include "Device.h"

#include "FixedUniforms.h"
#include "Refusal.h"
#include "StateBlock.h"
#include "Surface.h"

#include <cstring>

namespace tarnelix::d3d9 {

namespace {

// What a render state change invalidates.
uint32_t dirtyBitsOfRenderState(DWORD state) {
    switch (state) {
    case D3DRS_ALPHABLENDENABLE:
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
    case D3DRS_BLENDOP:
    case D3DRS_SEPARATEALPHABLENDENABLE:
    case D3DRS_SRCBLENDALPHA:
    case D3DRS_DESTBLENDALPHA:
    case D3DRS_BLENDOPALPHA:
    case D3DRS_BLENDFACTOR:
        return kDirtyBlend;
    case D3DRS_ZENABLE:
    case D3DRS_ZWRITEENABLE:
    case D3DRS_ZFUNC:
        return kDirtyDepth;
    case D3DRS_CULLMODE:
    case D3DRS_FILLMODE:
    case D3DRS_COLORWRITEENABLE:
    case D3DRS_SCISSORTESTENABLE:
    case D3DRS_DEPTHBIAS:
    case D3DRS_SLOPESCALEDEPTHBIAS:
        return kDirtyRaster;
    case D3DRS_STENCILENABLE:
    case D3DRS_STENCILFAIL:
    case D3DRS_STENCILZFAIL:
    case D3DRS_STENCILPASS:
    case D3DRS_STENCILFUNC:
    case D3DRS_STENCILREF:
    case D3DRS_STENCILMASK:
    case D3DRS_STENCILWRITEMASK:
    case D3DRS_TWOSIDEDSTENCILMODE:
    case D3DRS_CCW_STENCILFAIL:
    case D3DRS_CCW_STENCILZFAIL:
    case D3DRS_CCW_STENCILPASS:
    case D3DRS_CCW_STENCILFUNC:
        return kDirtyStencil;
    case D3DRS_LIGHTING:
    case D3DRS_SPECULARENABLE:
    case D3DRS_COLORVERTEX:
    case D3DRS_DIFFUSEMATERIALSOURCE:
    case D3DRS_SPECULARMATERIALSOURCE:
    case D3DRS_AMBIENTMATERIALSOURCE:
    case D3DRS_EMISSIVEMATERIALSOURCE:
    case D3DRS_ALPHATESTENABLE: // programs come with and without the alpha test
    case D3DRS_ALPHAFUNC:
    case D3DRS_NORMALIZENORMALS: // lighting and generated coordinates
    case D3DRS_LOCALVIEWER:
    case D3DRS_FOGENABLE:
    case D3DRS_FOGTABLEMODE:
    case D3DRS_FOGVERTEXMODE:
    case D3DRS_RANGEFOGENABLE:
    case D3DRS_POINTSCALEENABLE:
    case D3DRS_POINTSPRITEENABLE:
    case D3DRS_CLIPPLANEENABLE:
        return kDirtyProgram;
    default:
        return 0;
    }
}

// States whose non-default values the device cannot draw.
void refuseUnsupportedRenderState(DWORD state, DWORD value) {
    bool unsupported = false;
    switch (state) {
    case D3DRS_SHADEMODE:
        unsupported = value == D3DSHADE_FLAT;
        break;
    case D3DRS_SRGBWRITEENABLE:
    case D3DRS_INDEXEDVERTEXBLENDENABLE:
    case D3DRS_VERTEXBLEND:
    case D3DRS_ENABLEADAPTIVETESSELLATION:
        unsupported = value != 0;
        break;
    case D3DRS_ZENABLE:
        unsupported = value == D3DZB_USEW;
        break;
    case D3DRS_WRAP0:
    case D3DRS_WRAP1:
    case D3DRS_WRAP2:
    case D3DRS_WRAP3:
    case D3DRS_WRAP4:
    case D3DRS_WRAP5:
    case D3DRS_WRAP6:
    case D3DRS_WRAP7:
        unsupported = value != 0;
        break;
    default:
        break;
    }
    if (unsupported) {
        refuseOnce("render state (state * 65536 + value)", state * 65536u + (value & 0xFFFF));
    }
}

} // namespace

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    TARNELIX_D3D9_CALL();
    if (state < 0 || state >= kRenderStateCount || !isKnownRenderState(state)) {
        refuseOnce("render state", static_cast<uint32_t>(state));
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->held().render.record(state, value);
        return D3D_OK;
    }
    if (state_.render[state] == value) {
        return D3D_OK;
    }
    state_.render[state] = value;
    refuseUnsupportedRenderState(state, value);
    draw_.dirty |= dirtyBitsOfRenderState(state);
    switch (state) {
    case D3DRS_ALPHATESTENABLE:
    case D3DRS_ALPHAFUNC:
    case D3DRS_ALPHAREF:
    case D3DRS_TEXTUREFACTOR:
    case D3DRS_AMBIENT:
    case D3DRS_FOGCOLOR:
    case D3DRS_FOGSTART:
    case D3DRS_FOGEND:
    case D3DRS_FOGDENSITY:
    case D3DRS_POINTSIZE:
    case D3DRS_POINTSIZE_MIN:
    case D3DRS_POINTSIZE_MAX:
    case D3DRS_POINTSCALE_A:
    case D3DRS_POINTSCALE_B:
    case D3DRS_POINTSCALE_C:
        ++draw_.fixedVersion;
        break;
    case D3DRS_CLIPPLANEENABLE:
        ++draw_.clipVersion;
        break;
    default:
        break;
    }
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    TARNELIX_D3D9_CALL();
    if (!value || state < 0 || state >= kRenderStateCount) {
        return D3DERR_INVALIDCALL;
    }
    *value = state_.render[state];
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    TARNELIX_D3D9_CALL();
    if (stage >= kStageCount || type < 0 || type >= kStageStateCount || !isKnownStageState(type)) {
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->held().stage.record(StateSet::stageIndex(stage, type), value);
        return D3D_OK;
    }
    if (state_.stage[stage][type] == value) {
        return D3D_OK;
    }
    state_.stage[stage][type] = value;
    switch (type) {
    case D3DTSS_BUMPENVMAT00:
    case D3DTSS_BUMPENVMAT01:
    case D3DTSS_BUMPENVMAT10:
    case D3DTSS_BUMPENVMAT11:
    case D3DTSS_BUMPENVLSCALE:
    case D3DTSS_BUMPENVLOFFSET:
        break; // only read by the bump-mapping operations, which are refused
    case D3DTSS_CONSTANT:
        refuseOnce("texture stage constant, stage", stage);
        break;
    default:
        draw_.dirty |= kDirtyProgram;
        break;
    }
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    TARNELIX_D3D9_CALL();
    if (!value || stage >= kStageCount || type < 0 || type >= kStageStateCount) {
        return D3DERR_INVALIDCALL;
    }
    *value = state_.stage[stage][type];
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    TARNELIX_D3D9_CALL();
    if (sampler >= kSamplerCount || type < D3DSAMP_ADDRESSU || type > D3DSAMP_DMAPOFFSET) {
        if (sampler >= D3DDMAPSAMPLER) {
            refuseOnce("vertex texture sampler", sampler);
        }
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->held().sampler.record(StateSet::samplerIndex(sampler, type), value);
        return D3D_OK;
    }
    if (state_.sampler[sampler][type] == value) {
        return D3D_OK;
    }
    state_.sampler[sampler][type] = value;
    if (type == D3DSAMP_SRGBTEXTURE && value) {
        refuseOnce("sRGB texture reads on sampler", sampler);
    }
    if ((type == D3DSAMP_MINFILTER || type == D3DSAMP_MAGFILTER) && value > D3DTEXF_ANISOTROPIC) {
        refuseOnce("texture filter", value);
    }
    draw_.samplersDirty |= 1u << sampler;
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    TARNELIX_D3D9_CALL();
    if (!value || sampler >= kSamplerCount || type < D3DSAMP_ADDRESSU ||
        type > D3DSAMP_DMAPOFFSET) {
        return D3DERR_INVALIDCALL;
    }
    *value = state_.sampler[sampler][type];
    return D3D_OK;
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    TARNELIX_D3D9_CALL();
    if (!matrix || state < 0 || state >= kTransformCount) {
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->held().transforms.record(state, *matrix);
        return D3D_OK;
    }
    if (std::memcmp(&transforms_[state], matrix, sizeof(D3DMATRIX)) == 0) {
        return D3D_OK;
    }
    transforms_[state] = *matrix;
    if (state == D3DTS_WORLD || state == D3DTS_VIEW || state == D3DTS_PROJECTION) {
        transformsChanged(state);
    }
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    TARNELIX_D3D9_CALL();
    if (!matrix || state < 0 || state >= kTransformCount) {
        return D3DERR_INVALIDCALL;
    }
    *matrix = transforms_[state];
    return D3D_OK;
}

HRESULT Device::MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    TARNELIX_D3D9_CALL();
    if (!matrix || state < 0 || state >= kTransformCount) {
        return D3DERR_INVALIDCALL;
    }
    D3DMATRIX product;
    multiplyMatrices(*matrix, transforms_[state], product);
    return SetTransform(state, &product);
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* viewport) {
    TARNELIX_D3D9_CALL();
    if (!viewport || !renderTarget_ || viewport->Width == 0 || viewport->Height == 0) {
        return D3DERR_INVALIDCALL;
    }
    const D3DSURFACE_DESC& target = renderTarget_->desc();
    if (viewport->X + viewport->Width > target.Width ||
        viewport->Y + viewport->Height > target.Height) {
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->held().viewport.record(*viewport);
        return D3D_OK;
    }
    if (std::memcmp(&viewport_, viewport, sizeof(D3DVIEWPORT9)) == 0) {
        return D3D_OK;
    }
    viewport_ = *viewport;
    draw_.dirty |= kDirtyViewport;
    ++draw_.viewportVersion;
    ++draw_.clipVersion; // shaders' planes are moved with the viewport's fix-up
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* viewport) {
    TARNELIX_D3D9_CALL();
    if (!viewport) {
        return D3DERR_INVALIDCALL;
    }
    *viewport = viewport_;
    return D3D_OK;
}

HRESULT Device::SetScissorRect(const RECT* rect) {
    TARNELIX_D3D9_CALL();
    if (!rect) {
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->held().scissor.record(*rect);
        return D3D_OK;
    }
    scissor_ = *rect;
    draw_.dirty |= kDirtyRaster;
    return D3D_OK;
}

HRESULT Device::GetScissorRect(RECT* rect) {
    TARNELIX_D3D9_CALL();
    if (!rect) {
        return D3DERR_INVALIDCALL;
    }
    *rect = scissor_;
    return D3D_OK;
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* material) {
    TARNELIX_D3D9_CALL();
    if (!material) {
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->held().material.record(*material);
        return D3D_OK;
    }
    state_.material = *material;
    ++draw_.fixedVersion;
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL9* material) {
    TARNELIX_D3D9_CALL();
    if (!material) {
        return D3DERR_INVALIDCALL;
    }
    *material = state_.material;
    return D3D_OK;
}

HRESULT Device::SetLight(DWORD index, const D3DLIGHT9* light) {
    TARNELIX_D3D9_CALL();
    if (!light || light->Type < D3DLIGHT_POINT || light->Type > D3DLIGHT_DIRECTIONAL) {
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->held().lights[index].light.record(*light);
        return D3D_OK;
    }
    Light& slot = lights_[index];
    bool typeChanged = slot.light.Type != light->Type;
    slot.light = *light;
    if (slot.enabled) {
        lightsChanged(typeChanged);
    }
    return D3D_OK;
}

std::vector<DWORD> Device::lightIndices() const {
    std::vector<DWORD> indices;
    for (const auto& entry : lights_) {
        indices.push_back(entry.first);
    }
    return indices;
}

HRESULT Device::GetLight(DWORD index, D3DLIGHT9* light) {
    TARNELIX_D3D9_CALL();
    auto found = lights_.find(index);
    if (!light || found == lights_.end()) {
        return D3DERR_INVALIDCALL;
    }
    *light = found->second.light;
    return D3D_OK;
}

HRESULT Device::LightEnable(DWORD index, BOOL enable) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        recording_->held().lights[index].enabled.record(enable);
        return D3D_OK;
    }
    auto found = lights_.find(index);
    if (found == lights_.end()) {
        // A light enabled before it was set is Direct3D's default: white, pointing along +z.
        Light added;
        added.light.Type = D3DLIGHT_DIRECTIONAL;
        added.light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
        added.light.Direction = D3DVECTOR{0.0f, 0.0f, 1.0f};
        found = lights_.emplace(index, added).first;
    }
    if (found->second.enabled != (enable != FALSE)) {
        found->second.enabled = enable != FALSE;
        lightsChanged(true);
    }
    return D3D_OK;
}

HRESULT Device::GetLightEnable(DWORD index, BOOL* enable) {
    TARNELIX_D3D9_CALL();
    auto found = lights_.find(index);
    if (!enable || found == lights_.end()) {
        return D3DERR_INVALIDCALL;
    }
    *enable = found->second.enabled ? 128 : FALSE; // Direct3D reports TRUE as 128
    return D3D_OK;
}

HRESULT Device::SetClipPlane(DWORD index, const float* plane) {
    TARNELIX_D3D9_CALL();
    if (!plane || index >= D3DMAXUSERCLIPPLANES) {
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->held().clipPlanes.recordRange(index, plane, 1);
        return D3D_OK;
    }
    std::memcpy(clipPlanes_[index], plane, sizeof(clipPlanes_[index]));
    ++draw_.clipVersion;
    return D3D_OK;
}

HRESULT Device::GetClipPlane(DWORD index, float* plane) {
    TARNELIX_D3D9_CALL();
    if (!plane || index >= D3DMAXUSERCLIPPLANES) {
        return D3DERR_INVALIDCALL;
    }
    std::memcpy(plane, clipPlanes_[index], sizeof(clipPlanes_[index]));
    return D3D_OK;
}

} // namespace tarnelix::d3d9
