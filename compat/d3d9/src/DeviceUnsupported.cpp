// Calls outside what the device offers: each is refused with a message the first time.

#include "Device.h"

#include "Refusal.h"

namespace tarnelix::d3d9 {

namespace {

HRESULT refuse(const char* call) {
    refuseOnce(call, 0);
    return D3DERR_NOTAVAILABLE;
}

} // namespace

HRESULT Device::SetCursorProperties(UINT, UINT, IDirect3DSurface9*) {
    return refuse("SetCursorProperties");
}

void Device::SetCursorPosition(int, int, DWORD) {}

BOOL Device::ShowCursor(BOOL) {
    return FALSE;
}

HRESULT Device::CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS*, IDirect3DSwapChain9** chain) {
    if (chain) {
        *chain = nullptr;
    }
    return refuse("CreateAdditionalSwapChain");
}

HRESULT Device::GetSwapChain(UINT, IDirect3DSwapChain9** chain) {
    if (chain) {
        *chain = nullptr;
    }
    return refuse("GetSwapChain");
}

UINT Device::GetNumberOfSwapChains() {
    return 1;
}

HRESULT Device::SetDialogBoxMode(BOOL) {
    return D3D_OK;
}

void Device::SetGammaRamp(UINT, DWORD, const D3DGAMMARAMP*) {
    refuseOnce("SetGammaRamp", 0);
}

void Device::GetGammaRamp(UINT, D3DGAMMARAMP* ramp) {
    if (ramp) {
        for (int i = 0; i < 256; ++i) {
            ramp->red[i] = ramp->green[i] = ramp->blue[i] = static_cast<WORD>(i * 257);
        }
    }
}

HRESULT Device::SetClipStatus(const D3DCLIPSTATUS9*) {
    return refuse("SetClipStatus");
}

HRESULT Device::GetClipStatus(D3DCLIPSTATUS9*) {
    return refuse("GetClipStatus");
}

HRESULT Device::ValidateDevice(DWORD* passes) {
    if (passes) {
        *passes = 1;
    }
    return D3D_OK;
}

HRESULT Device::SetPaletteEntries(UINT, const PALETTEENTRY*) {
    return refuse("palettes (SetPaletteEntries)");
}

HRESULT Device::GetPaletteEntries(UINT, PALETTEENTRY*) {
    return refuse("palettes (GetPaletteEntries)");
}

HRESULT Device::SetCurrentTexturePalette(UINT) {
    return refuse("palettes (SetCurrentTexturePalette)");
}

HRESULT Device::GetCurrentTexturePalette(UINT*) {
    return refuse("palettes (GetCurrentTexturePalette)");
}

HRESULT Device::SetSoftwareVertexProcessing(BOOL) {
    return D3D_OK;
}

BOOL Device::GetSoftwareVertexProcessing() {
    return FALSE;
}

HRESULT Device::SetNPatchMode(float segments) {
    return segments == 0.0f ? D3D_OK : refuse("N-patches (SetNPatchMode)");
}

float Device::GetNPatchMode() {
    return 0.0f;
}

HRESULT Device::ProcessVertices(UINT, UINT, UINT, IDirect3DVertexBuffer9*,
                                IDirect3DVertexDeclaration9*, DWORD) {
    return refuse("ProcessVertices");
}

HRESULT Device::DrawRectPatch(UINT, const float*, const D3DRECTPATCH_INFO*) {
    return refuse("DrawRectPatch");
}

HRESULT Device::DrawTriPatch(UINT, const float*, const D3DTRIPATCH_INFO*) {
    return refuse("DrawTriPatch");
}

HRESULT Device::DeletePatch(UINT) {
    return refuse("DeletePatch");
}

} // namespace tarnelix::d3d9
