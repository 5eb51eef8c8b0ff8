// Device contexts for measuring the screen, rectangular regions, and the monitors.

#include <windows.h>

#include <tarnelix/Win32Window.h>

#include <SDL.h>

struct HDC__ {
    int display;
};

struct HRGN__ {
    RECT rect;
};

struct HMONITOR__ {
    int display;
};

namespace {

// A process that has not declared itself DPI-aware sees 96 dots per inch on Windows whatever
// the screen; this one never scales, so it always does.
constexpr int kLogicalDpi = 96;

HMONITOR__ g_monitors[16] = {{0}, {1}, {2},  {3},  {4},  {5},  {6},  {7},
                             {8}, {9}, {10}, {11}, {12}, {13}, {14}, {15}};

int displayCount() {
    int count = tarnelix::ensureSdlVideo() ? SDL_GetNumVideoDisplays() : 0;
    return count < 1 ? 1 : (count > 16 ? 16 : count);
}

int displayOf(HWND window) {
    SDL_Window* sdl = tarnelix::sdlWindowOf(window);
    int index = sdl ? SDL_GetWindowDisplayIndex(sdl) : 0;
    return index < 0 ? 0 : (index >= displayCount() ? 0 : index);
}

} // namespace

HDC WINAPI GetDC(HWND window) {
    if (window && !IsWindow(window)) {
        return nullptr;
    }
    return new HDC__{window ? displayOf(window) : 0};
}

int WINAPI ReleaseDC(HWND, HDC dc) {
    delete dc;
    return dc ? 1 : 0;
}

int WINAPI GetDeviceCaps(HDC dc, int index) {
    SDL_DisplayMode mode{};
    if (!dc || !tarnelix::ensureSdlVideo() || SDL_GetDesktopDisplayMode(dc->display, &mode) != 0) {
        return 0;
    }
    switch (index) {
    case HORZRES:
        return mode.w;
    case VERTRES:
        return mode.h;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return kLogicalDpi;
    case VREFRESH:
        return mode.refresh_rate > 1 ? mode.refresh_rate : 1; // 0 and 1 mean "the default"
    default:
        return 0;
    }
}

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
    return new HRGN__{RECT{x1, y1, x2, y2}};
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    // Regions are the only GDI objects made here.
    delete static_cast<HRGN__*>(object);
    return object ? TRUE : FALSE;
}

HMONITOR WINAPI MonitorFromWindow(HWND window, DWORD flags) {
    if (!IsWindow(window)) {
        return flags == MONITOR_DEFAULTTONULL ? nullptr : &g_monitors[0];
    }
    return &g_monitors[displayOf(window)];
}

HMONITOR WINAPI MonitorFromPoint(POINT point, DWORD flags) {
    for (int display = 0; display < displayCount(); ++display) {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(display, &bounds) == 0 && point.x >= bounds.x &&
            point.y >= bounds.y && point.x < bounds.x + bounds.w && point.y < bounds.y + bounds.h) {
            return &g_monitors[display];
        }
    }
    return flags == MONITOR_DEFAULTTONULL ? nullptr : &g_monitors[0];
}

BOOL WINAPI GetMonitorInfoA(HMONITOR monitor, LPMONITORINFO info) {
    if (!monitor || !info || info->cbSize < sizeof(MONITORINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SDL_Rect bounds{};
    SDL_Rect usable{};
    if (!tarnelix::ensureSdlVideo() || SDL_GetDisplayBounds(monitor->display, &bounds) != 0) {
        return FALSE;
    }
    if (SDL_GetDisplayUsableBounds(monitor->display, &usable) != 0) {
        usable = bounds;
    }
    info->rcMonitor = {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
    info->rcWork = {usable.x, usable.y, usable.x + usable.w, usable.y + usable.h};
    info->dwFlags = monitor->display == 0 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

BOOL WINAPI GetMonitorInfoW(HMONITOR monitor, LPMONITORINFO info) {
    return GetMonitorInfoA(monitor, info);
}
