#pragma once

// The desktop window manager's interface. There is no composition for a program to control
// here: DwmIsCompositionEnabled reports it off, and what needs it answers
// DWM_E_COMPOSITIONDISABLED, as Windows does with composition turned off.

#include <windows.h>

#define DWM_E_COMPOSITIONDISABLED ((HRESULT)0x80263001L)

#define DWM_BB_ENABLE 0x00000001
#define DWM_BB_BLURREGION 0x00000002
#define DWM_BB_TRANSITIONONMAXIMIZED 0x00000004
typedef struct _DWM_BLURBEHIND {
    DWORD dwFlags;
    BOOL fEnable;
    HRGN hRgnBlur;
    BOOL fTransitionOnMaximized;
} DWM_BLURBEHIND, *PDWM_BLURBEHIND;

HRESULT WINAPI DwmIsCompositionEnabled(BOOL* pfEnabled);
HRESULT WINAPI DwmGetColorizationColor(DWORD* pcrColorization, BOOL* pfOpaqueBlend);
HRESULT WINAPI DwmEnableBlurBehindWindow(HWND hWnd, const DWM_BLURBEHIND* pBlurBehind);
HRESULT WINAPI DwmFlush(void);
