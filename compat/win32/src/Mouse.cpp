// Mouse capture and tracking, and the cursor's position on the screen.

#include "Mouse.h"

#include "Keys.h"
#include "Window.h"

#include <SDL.h>

namespace tarnelix::win32 {

namespace {

HWND g_capture = nullptr;

// Windows' default hover time.
constexpr DWORD kDefaultHoverMs = 400;

void postToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageA(window, message, wParam, lParam);
}

bool mouseIsIn(const Window& window) {
    return window.sdl && SDL_GetMouseFocus() == window.sdl;
}

} // namespace

void mouseMovedIn(HWND handle) {
    if (Window* window = findWindow(handle)) {
        window->lastMoveTime = GetTickCount();
    }
}

void mouseLeft(HWND handle) {
    Window* window = findWindow(handle);
    if (window && (window->tracking & TME_LEAVE)) {
        window->tracking = 0; // tracking ends with the message it asked for
        postToWindow(handle, WM_MOUSELEAVE, 0, 0);
    }
}

void postDueHovers() {
    DWORD now = GetTickCount();
    forEachWindow([now](HWND handle) {
        Window* window = findWindow(handle);
        if (!(window->tracking & TME_HOVER) || !mouseIsIn(*window)) {
            return;
        }
        if (now - window->lastMoveTime >= window->hoverTime) {
            window->tracking &= ~static_cast<DWORD>(TME_HOVER);
            int x = 0;
            int y = 0;
            Uint32 buttons = SDL_GetMouseState(&x, &y);
            postToWindow(handle, WM_MOUSEHOVER, mouseKeyFlags(buttons),
                         MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
        }
    });
}

HWND captureWindow() {
    if (g_capture && !findWindow(g_capture)) {
        g_capture = nullptr; // destroyed while it held the mouse
    }
    return g_capture;
}

POINT clientOrigin(HWND handle) {
    POINT origin{0, 0};
    Window* window = findWindow(handle);
    if (window && window->sdl) {
        int x = 0;
        int y = 0;
        SDL_GetWindowPosition(window->sdl, &x, &y);
        origin = {x, y};
    }
    return origin;
}

} // namespace tarnelix::win32

using namespace tarnelix::win32;

HWND WINAPI SetCapture(HWND handle) {
    HWND previous = captureWindow();
    Window* window = findWindow(handle);
    if (!window) {
        return previous;
    }
    if (previous && previous != handle) {
        SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(handle));
    }
    g_capture = handle;
    // Where the driver cannot capture (the off-screen one), the window still gets what arrives
    // inside it; there is nothing outside to miss.
    if (window->sdl) {
        SDL_CaptureMouse(SDL_TRUE);
    }
    return previous;
}

BOOL WINAPI ReleaseCapture(void) {
    HWND previous = captureWindow();
    if (previous) {
        g_capture = nullptr;
        SDL_CaptureMouse(SDL_FALSE);
        SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND WINAPI GetCapture(void) {
    return captureWindow();
}

BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT request) {
    if (!request || request->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (request->dwFlags & TME_QUERY) {
        Window* tracked = nullptr;
        forEachWindow([&tracked](HWND handle) {
            Window* window = findWindow(handle);
            if (!tracked && window->tracking) {
                tracked = window;
            }
        });
        request->dwFlags = tracked ? tracked->tracking : 0;
        request->hwndTrack = tracked ? handleOf(tracked) : nullptr;
        request->dwHoverTime = tracked ? tracked->hoverTime : 0;
        return TRUE;
    }
    Window* window = findWindow(request->hwndTrack);
    if (!window || (request->dwFlags & TME_NONCLIENT)) {
        // There is no non-client area here to track.
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    DWORD wanted = request->dwFlags & (TME_LEAVE | TME_HOVER);
    if (request->dwFlags & TME_CANCEL) {
        window->tracking &= ~wanted;
        return TRUE;
    }
    if (!mouseIsIn(*window)) {
        // The mouse is elsewhere already: Windows answers with the leave message at once.
        if (wanted & TME_LEAVE) {
            postToWindow(request->hwndTrack, WM_MOUSELEAVE, 0, 0);
        }
        return TRUE;
    }
    window->tracking |= wanted;
    if (wanted & TME_HOVER) {
        DWORD time = request->dwHoverTime;
        window->hoverTime = time == HOVER_DEFAULT ? kDefaultHoverMs : time;
        window->lastMoveTime = GetTickCount();
    }
    return TRUE;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (!point) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int x = 0;
    int y = 0;
    SDL_Window* focus = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetMouseFocus() : nullptr;
    if (focus) {
        // Inside one of the program's windows (or captured by it) the window's own report is the
        // freshest; the desktop's may lag it by an event.
        int left = 0;
        int top = 0;
        SDL_GetMouseState(&x, &y);
        SDL_GetWindowPosition(focus, &left, &top);
        x += left;
        y += top;
    } else if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_GetGlobalMouseState(&x, &y);
    }
    *point = {x, y};
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_WarpMouseGlobal(x, y) != 0) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND handle, LPPOINT point) {
    if (!findWindow(handle) || !point) {
        return FALSE;
    }
    POINT origin = clientOrigin(handle);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND handle, LPPOINT point) {
    if (!findWindow(handle) || !point) {
        return FALSE;
    }
    POINT origin = clientOrigin(handle);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

HWND WINAPI WindowFromPoint(POINT point) {
    // The window under the mouse is the topmost one there; elsewhere the first visible window
    // that covers the point stands in, as SDL knows nothing of stacking.
    SDL_Window* focus = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetMouseFocus() : nullptr;
    HWND found = nullptr;
    forEachWindow([&](HWND handle) {
        Window* window = findWindow(handle);
        if (!window->sdl || !(SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN)) {
            return;
        }
        RECT rect{};
        GetWindowRect(handle, &rect);
        bool inside = point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
                      point.y < rect.bottom;
        if (inside && (!found || window->sdl == focus)) {
            found = handle;
        }
    });
    return found;
}
