// The desktop's services that have nothing behind them here, each answering as Windows does
// when the service is off: no composition, no game controller, no input context.

#include <dwmapi.h>
#include <imm.h>
#include <xinput.h>

HRESULT WINAPI DwmIsCompositionEnabled(BOOL* enabled) {
    if (!enabled) {
        return E_INVALIDARG;
    }
    *enabled = FALSE;
    return S_OK;
}

HRESULT WINAPI DwmGetColorizationColor(DWORD*, BOOL*) {
    return DWM_E_COMPOSITIONDISABLED;
}

HRESULT WINAPI DwmEnableBlurBehindWindow(HWND, const DWM_BLURBEHIND*) {
    return DWM_E_COMPOSITIONDISABLED;
}

HRESULT WINAPI DwmFlush(void) {
    return DWM_E_COMPOSITIONDISABLED;
}

DWORD WINAPI XInputGetState(DWORD user, XINPUT_STATE*) {
    return user < XUSER_MAX_COUNT ? ERROR_DEVICE_NOT_CONNECTED : ERROR_INVALID_PARAMETER;
}

DWORD WINAPI XInputSetState(DWORD user, XINPUT_VIBRATION*) {
    return user < XUSER_MAX_COUNT ? ERROR_DEVICE_NOT_CONNECTED : ERROR_INVALID_PARAMETER;
}

DWORD WINAPI XInputGetCapabilities(DWORD user, DWORD, XINPUT_CAPABILITIES*) {
    return user < XUSER_MAX_COUNT ? ERROR_DEVICE_NOT_CONNECTED : ERROR_INVALID_PARAMETER;
}

HIMC WINAPI ImmGetContext(HWND) {
    return nullptr;
}

BOOL WINAPI ImmReleaseContext(HWND, HIMC) {
    return TRUE;
}

BOOL WINAPI ImmSetCompositionWindow(HIMC context, LPCOMPOSITIONFORM) {
    return context ? TRUE : FALSE;
}

BOOL WINAPI ImmSetCandidateWindow(HIMC context, LPCANDIDATEFORM) {
    return context ? TRUE : FALSE;
}

HIMC WINAPI ImmAssociateContext(HWND, HIMC) {
    return nullptr;
}
