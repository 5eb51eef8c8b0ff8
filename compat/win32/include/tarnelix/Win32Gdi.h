#pragma once

// The GDI and monitor part of windows.h: device contexts for the screen's measures, rectangular
// regions, monitors. Nothing is drawn through GDI here. Included by windows.h.

struct HRGN__;
typedef HRGN__* HRGN;
typedef void* HGDIOBJ;

// GetDC(NULL) names the screen; a window's DC names its client area.
HDC WINAPI GetDC(HWND hWnd);
int WINAPI ReleaseDC(HWND hWnd, HDC hDC);

#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define VREFRESH 116
int WINAPI GetDeviceCaps(HDC hdc, int index);

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2);
BOOL WINAPI DeleteObject(HGDIOBJ ho);

#define MONITOR_DEFAULTTONULL 0x00000000
#define MONITOR_DEFAULTTOPRIMARY 0x00000001
#define MONITOR_DEFAULTTONEAREST 0x00000002
#define MONITORINFOF_PRIMARY 0x00000001
typedef struct tagMONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
} MONITORINFO, *LPMONITORINFO;
HMONITOR WINAPI MonitorFromWindow(HWND hwnd, DWORD dwFlags);
HMONITOR WINAPI MonitorFromPoint(POINT pt, DWORD dwFlags);
BOOL WINAPI GetMonitorInfoA(HMONITOR hMonitor, LPMONITORINFO lpmi);
BOOL WINAPI GetMonitorInfoW(HMONITOR hMonitor, LPMONITORINFO lpmi);
