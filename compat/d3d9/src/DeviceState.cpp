#include "DeviceState.h"

#include <cstring>

namespace tarnelix::d3d9 {

namespace {

constexpr DWORD kKnownRenderStates[] = {
    7,   8,   9,   14,  15,  16,  19,  20,  22,  23,  24,  25,  26,  27,  28,  29,  34,  35,
    36,  37,  38,  48,  52,  53,  54,  55,  56,  57,  58,  59,  60,  128, 129, 130, 131, 132,
    133, 134, 135, 136, 137, 139, 140, 141, 142, 143, 145, 146, 147, 148, 151, 152, 154, 155,
    156, 157, 158, 159, 160, 161, 162, 163, 165, 166, 167, 168, 170, 171, 172, 173, 174, 175,
    176, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191, 192, 193, 194,
    195, 198, 199, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209};

} // namespace

bool isKnownRenderState(DWORD state) {
    for (DWORD known : kKnownRenderStates) {
        if (known == state) {
            return true;
        }
    }
    return false;
}

bool isKnownStageState(DWORD state) {
    return (state >= 1 && state <= 11) || state == 22 || state == 23 || state == 24 ||
           state == 26 || state == 27 || state == 28 || state == 32;
}

DWORD defaultRenderState(DWORD state) {
    switch (state) {
    case D3DRS_ZENABLE:
        return D3DZB_TRUE; // a device made with an automatic depth buffer; the device adjusts
    case D3DRS_FILLMODE:
        return D3DFILL_SOLID;
    case D3DRS_SHADEMODE:
        return D3DSHADE_GOURAUD;
    case D3DRS_ZWRITEENABLE:
        return TRUE;
    case D3DRS_LASTPIXEL:
        return TRUE;
    case D3DRS_SRCBLEND:
        return D3DBLEND_ONE;
    case D3DRS_DESTBLEND:
        return D3DBLEND_ZERO;
    case D3DRS_CULLMODE:
        return D3DCULL_CCW;
    case D3DRS_ZFUNC:
        return D3DCMP_LESSEQUAL;
    case D3DRS_ALPHAFUNC:
        return D3DCMP_ALWAYS;
    case D3DRS_FOGDENSITY:
    case D3DRS_FOGEND:
    case D3DRS_POINTSIZE:
    case D3DRS_POINTSIZE_MIN:
    case D3DRS_POINTSCALE_A:
        return bitsOf(1.0f);
    case D3DRS_POINTSIZE_MAX:
        return bitsOf(64.0f);
    case D3DRS_STENCILFAIL:
    case D3DRS_STENCILZFAIL:
    case D3DRS_STENCILPASS:
    case D3DRS_CCW_STENCILFAIL:
    case D3DRS_CCW_STENCILZFAIL:
    case D3DRS_CCW_STENCILPASS:
        return D3DSTENCILOP_KEEP;
    case D3DRS_STENCILFUNC:
    case D3DRS_CCW_STENCILFUNC:
        return D3DCMP_ALWAYS;
    case D3DRS_STENCILMASK:
    case D3DRS_STENCILWRITEMASK:
    case D3DRS_TEXTUREFACTOR:
    case D3DRS_MULTISAMPLEMASK:
    case D3DRS_BLENDFACTOR:
        return 0xFFFFFFFF;
    case D3DRS_CLIPPING:
    case D3DRS_LIGHTING:
    case D3DRS_COLORVERTEX:
    case D3DRS_LOCALVIEWER:
    case D3DRS_MULTISAMPLEANTIALIAS:
        return TRUE;
    case D3DRS_DIFFUSEMATERIALSOURCE:
        return D3DMCS_COLOR1;
    case D3DRS_SPECULARMATERIALSOURCE:
        return D3DMCS_COLOR2;
    case D3DRS_COLORWRITEENABLE:
    case D3DRS_COLORWRITEENABLE1:
    case D3DRS_COLORWRITEENABLE2:
    case D3DRS_COLORWRITEENABLE3:
        return 0x0000000F;
    case D3DRS_BLENDOP:
    case D3DRS_BLENDOPALPHA:
        return D3DBLENDOP_ADD;
    case D3DRS_POSITIONDEGREE:
        return D3DDEGREE_CUBIC;
    case D3DRS_NORMALDEGREE:
        return D3DDEGREE_LINEAR;
    case D3DRS_MINTESSELLATIONLEVEL:
    case D3DRS_MAXTESSELLATIONLEVEL:
    case D3DRS_ADAPTIVETESS_W:
        return bitsOf(1.0f);
    case D3DRS_SRCBLENDALPHA:
        return D3DBLEND_ONE;
    case D3DRS_DESTBLENDALPHA:
        return D3DBLEND_ZERO;
    default:
        return 0; // FALSE, 0.0f, D3DFOG_NONE, D3DMCS_MATERIAL (ambient, emissive), ...
    }
}

DWORD defaultStageState(DWORD stage, DWORD state) {
    switch (state) {
    case D3DTSS_COLOROP:
        return stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    case D3DTSS_ALPHAOP:
        return stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    case D3DTSS_COLORARG1:
    case D3DTSS_ALPHAARG1:
        return D3DTA_TEXTURE;
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG2:
        return D3DTA_CURRENT;
    case D3DTSS_COLORARG0:
    case D3DTSS_ALPHAARG0:
    case D3DTSS_RESULTARG:
        return D3DTA_CURRENT;
    case D3DTSS_TEXCOORDINDEX:
        return stage;
    default:
        return 0;
    }
}

DWORD defaultSamplerState(DWORD state) {
    switch (state) {
    case D3DSAMP_ADDRESSU:
    case D3DSAMP_ADDRESSV:
    case D3DSAMP_ADDRESSW:
        return D3DTADDRESS_WRAP;
    case D3DSAMP_MAGFILTER:
    case D3DSAMP_MINFILTER:
        return D3DTEXF_POINT;
    case D3DSAMP_MIPFILTER:
        return D3DTEXF_NONE;
    case D3DSAMP_MAXANISOTROPY:
        return 1;
    default:
        return 0;
    }
}

void DeviceState::setDefaults() {
    for (int i = 0; i < kRenderStateCount; ++i) {
        render[i] = defaultRenderState(static_cast<DWORD>(i));
    }
    for (int s = 0; s < kStageCount; ++s) {
        for (int i = 0; i < kStageStateCount; ++i) {
            stage[s][i] = defaultStageState(static_cast<DWORD>(s), static_cast<DWORD>(i));
        }
    }
    for (int s = 0; s < kSamplerCount; ++s) {
        for (int i = 0; i < kSamplerStateCount; ++i) {
            sampler[s][i] = defaultSamplerState(static_cast<DWORD>(i));
        }
    }
    std::memset(&material, 0, sizeof(material));
}

} // namespace tarnelix::d3d9
