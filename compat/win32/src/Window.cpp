#include "Window.h"

#include <tarnelix/Win32Window.h>

#include <SDL.h>

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace tarnelix::win32 {

namespace {

std::map<std::string, WNDCLASSA>& classes() {
    // Never destroyed: static objects of the program may still use it while the process ends.
    static auto* registered = new std::map<std::string, WNDCLASSA>();
    return *registered;
}

std::vector<std::unique_ptr<Window>>& windows() {
    // Never destroyed: static objects of the program may still use it while the process ends.
    static auto* live = new std::vector<std::unique_ptr<Window>>();
    return *live;
}

// Atoms only need to be distinct and non-zero.
ATOM nextAtom = 0xC000;

struct HMODULE__ {};
struct HICON__ {};

} // namespace

Window* findWindow(HWND handle) {
    for (auto& window : windows()) {
        if (reinterpret_cast<HWND>(window.get()) == handle) {
            return window.get();
        }
    }
    return nullptr;
}

HWND adoptWindow(std::unique_ptr<Window> window) {
    HWND handle = handleOf(window.get());
    windows().push_back(std::move(window));
    return handle;
}

HWND handleOf(const Window* window) {
    return reinterpret_cast<HWND>(const_cast<Window*>(window));
}

HWND windowFromSdlId(uint32_t id) {
    for (auto& window : windows()) {
        if (window->sdl && SDL_GetWindowID(window->sdl) == id) {
            return handleOf(window.get());
        }
    }
    return nullptr;
}

HWND firstWindow() {
    return windows().empty() ? nullptr : handleOf(windows().front().get());
}

} // namespace tarnelix::win32

using tarnelix::win32::findWindow;
using tarnelix::win32::Window;

namespace tarnelix {

SDL_Window* sdlWindowOf(HWND handle) {
    Window* window = findWindow(handle);
    return window ? window->sdl : nullptr;
}

bool ensureSdlVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "tarnelix win32: cannot start the video system: %s\n", SDL_GetError());
        return false;
    }
    // Keep the GL library loaded for the whole run: SDL would otherwise unload and reload the
    // driver with every window, which is slow and loses its symbols for leak reports.
    SDL_GL_LoadLibrary(nullptr);
    return true;
}

} // namespace tarnelix

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) {
        return 0;
    }
    auto& classes = tarnelix::win32::classes();
    if (classes.count(windowClass->lpszClassName)) {
        return 0; // already registered, as Windows refuses it
    }
    classes[windowClass->lpszClassName] = *windowClass;
    return tarnelix::win32::nextAtom++;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    if (!className) {
        return FALSE;
    }
    for (auto& window : tarnelix::win32::windows()) {
        if (window->className == className) {
            return FALSE; // a window of the class still exists
        }
    }
    return tarnelix::win32::classes().erase(className) ? TRUE : FALSE;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND, HMENU, HINSTANCE instance, LPVOID param) {
    if (!className) {
        return nullptr;
    }
    auto found = tarnelix::win32::classes().find(className);
    if (found == tarnelix::win32::classes().end()) {
        std::fprintf(stderr, "tarnelix win32: window class \"%s\" is not registered\n", className);
        return nullptr;
    }
    if (!tarnelix::ensureSdlVideo()) {
        return nullptr;
    }
    // The device asks for its own context later; these settings decide the window's visual.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

    if (x == CW_USEDEFAULT) {
        x = SDL_WINDOWPOS_UNDEFINED;
    }
    if (y == CW_USEDEFAULT) {
        y = SDL_WINDOWPOS_UNDEFINED;
    }
    if (width == CW_USEDEFAULT || width <= 0) {
        width = 640;
    }
    if (height == CW_USEDEFAULT || height <= 0) {
        height = 480;
    }
    Uint32 flags = SDL_WINDOW_OPENGL;
    flags |= (style & WS_VISIBLE) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (style & WS_THICKFRAME) {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    if (!(style & WS_CAPTION)) {
        flags |= SDL_WINDOW_BORDERLESS;
    }
    SDL_Window* sdl = SDL_CreateWindow(windowName ? windowName : "", x, y, width, height, flags);
    if (!sdl) {
        std::fprintf(stderr, "tarnelix win32: cannot open a window: %s\n", SDL_GetError());
        return nullptr;
    }
    auto window = std::make_unique<Window>();
    window->sdl = sdl;
    window->procedure = found->second.lpfnWndProc;
    window->className = className;
    window->style = style;
    HWND handle = tarnelix::win32::handleOf(window.get());
    tarnelix::win32::windows().push_back(std::move(window));

    CREATESTRUCTA create{};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.cy = height;
    create.cx = width;
    create.y = y;
    create.x = x;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    SendMessageA(handle, WM_NCCREATE, 0, createParam);
    if (SendMessageA(handle, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* window = findWindow(handle);
    if (!window) {
        return FALSE;
    }
    SendMessageA(handle, WM_DESTROY, 0, 0);
    SendMessageA(handle, WM_NCDESTROY, 0, 0);
    auto& live = tarnelix::win32::windows();
    for (auto it = live.begin(); it != live.end(); ++it) {
        if (it->get() == window) {
            SDL_DestroyWindow(window->sdl);
            live.erase(it);
            break;
        }
    }
    return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) {
    return findWindow(handle) ? TRUE : FALSE;
}

BOOL WINAPI ShowWindow(HWND handle, int command) {
    Window* window = findWindow(handle);
    if (!window) {
        return FALSE;
    }
    BOOL wasVisible = (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
    switch (command) {
    case SW_HIDE:
        SDL_HideWindow(window->sdl);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        SDL_MinimizeWindow(window->sdl);
        break;
    case SW_MAXIMIZE:
        SDL_MaximizeWindow(window->sdl);
        break;
    case SW_RESTORE:
        SDL_RestoreWindow(window->sdl);
        break;
    default:
        SDL_ShowWindow(window->sdl);
        break;
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND handle) {
    return findWindow(handle) ? TRUE : FALSE;
}

BOOL WINAPI SetWindowPos(HWND handle, HWND, int x, int y, int cx, int cy, UINT flags) {
    Window* window = findWindow(handle);
    if (!window) {
        return FALSE;
    }
    if (!(flags & SWP_NOMOVE)) {
        SDL_SetWindowPosition(window->sdl, x, y);
    }
    if (!(flags & SWP_NOSIZE) && cx > 0 && cy > 0) {
        SDL_SetWindowSize(window->sdl, cx, cy);
    }
    if (flags & SWP_SHOWWINDOW) {
        SDL_ShowWindow(window->sdl);
    }
    if (flags & SWP_HIDEWINDOW) {
        SDL_HideWindow(window->sdl);
    }
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
    Window* window = findWindow(handle);
    if (!window || !rect) {
        return FALSE;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window->sdl, &width, &height);
    *rect = RECT{0, 0, width, height};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
    Window* window = findWindow(handle);
    if (!window || !rect) {
        return FALSE;
    }
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(window->sdl, &x, &y);
    SDL_GetWindowSize(window->sdl, &width, &height);
    *rect = RECT{x, y, x + width, y + height};
    return TRUE;
}

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
    Window* window = findWindow(handle);
    if (!window) {
        return FALSE;
    }
    SDL_SetWindowTitle(window->sdl, text ? text : "");
    return TRUE;
}

HWND WINAPI SetFocus(HWND handle) {
    Window* window = findWindow(handle);
    if (window) {
        SDL_RaiseWindow(window->sdl);
    }
    return nullptr;
}

HWND WINAPI GetFocus(void) {
    SDL_Window* focused = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyboardFocus() : nullptr;
    return focused ? tarnelix::win32::windowFromSdlId(SDL_GetWindowID(focused)) : nullptr;
}

BOOL WINAPI SetForegroundWindow(HWND handle) {
    Window* window = findWindow(handle);
    if (!window) {
        return FALSE;
    }
    SDL_RaiseWindow(window->sdl);
    return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
    SDL_DisplayMode mode{};
    if (!tarnelix::ensureSdlVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return 0;
    }
    switch (index) {
    case SM_CXSCREEN:
        return mode.w;
    case SM_CYSCREEN:
        return mode.h;
    default:
        return 0;
    }
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    static tarnelix::win32::HMODULE__ program;
    return name ? nullptr : reinterpret_cast<HMODULE>(&program);
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) {
    static tarnelix::win32::HICON__ icon;
    return reinterpret_cast<HICON>(&icon);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) {
    static tarnelix::win32::HICON__ cursor;
    return reinterpret_cast<HCURSOR>(&cursor);
}

int WINAPI ShowCursor(BOOL show) {
    static int displayCount = 0;
    displayCount += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_ShowCursor(displayCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    }
    return displayCount;
}

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "Message", text ? text : "");
    return (type & MB_OKCANCEL) ? IDCANCEL : IDOK;
}
