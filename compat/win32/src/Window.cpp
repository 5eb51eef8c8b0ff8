#include "Window.h"

#include <tarnelix/Win32Window.h>

#include <SDL.h>

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace tarnelix::win32 {

namespace {

std::map<std::string, WindowClass>& classes() {
    // Never destroyed: static objects of the program may still use it while the process ends.
    static auto* registered = new std::map<std::string, WindowClass>();
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

std::size_t windowCount() {
    return windows().size();
}

HWND windowAt(std::size_t index) {
    return index < windows().size() ? handleOf(windows()[index].get()) : nullptr;
}

void requestWindowVisual() {
    // Whoever draws asks for its own context later; these settings decide the window's visual.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

ATOM registerClass(const std::string& name, const WNDCLASSA& info, bool unicode) {
    if (classes().count(name)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClass& entry = classes()[name];
    entry.info = info;
    entry.info.lpszClassName = nullptr; // the caller's string need not outlive the call
    entry.info.lpszMenuName = nullptr;
    entry.unicode = unicode;
    return nextAtom++;
}

HWND createWindow(const WindowRequest& request) {
    auto found = classes().find(request.className);
    if (found == classes().end()) {
        std::fprintf(stderr, "tarnelix win32: window class \"%s\" is not registered\n",
                     request.className.c_str());
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (!ensureSdlVideo()) {
        return nullptr;
    }
    requestWindowVisual();

    int x = request.x == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : request.x;
    int y = request.y == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : request.y;
    int width = (request.width == CW_USEDEFAULT || request.width <= 0) ? 640 : request.width;
    int height = (request.height == CW_USEDEFAULT || request.height <= 0) ? 480 : request.height;
    Uint32 flags = SDL_WINDOW_OPENGL;
    flags |= (request.style & WS_VISIBLE) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (request.style & WS_THICKFRAME) {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    if (!(request.style & WS_CAPTION)) {
        flags |= SDL_WINDOW_BORDERLESS;
    }
    SDL_Window* sdl = SDL_CreateWindow(request.title.c_str(), x, y, width, height, flags);
    if (!sdl) {
        std::fprintf(stderr, "tarnelix win32: cannot open a window: %s\n", SDL_GetError());
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto window = std::make_unique<Window>();
    window->sdl = sdl;
    window->procedure = found->second.info.lpfnWndProc;
    window->className = request.className;
    window->style = request.style;
    window->parent = request.parent;
    window->classStyle = found->second.info.style;
    window->classCursor = found->second.info.hCursor;
    window->unicode = found->second.unicode;
    return adoptWindow(std::move(window));
}

HWND announceWindow(HWND handle, LPARAM createStruct) {
    SendMessageA(handle, WM_NCCREATE, 0, createStruct);
    if (SendMessageA(handle, WM_CREATE, 0, createStruct) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
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
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return tarnelix::win32::registerClass(windowClass->lpszClassName, *windowClass, false);
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSA plain{windowClass->style,        windowClass->lpfnWndProc,
                    windowClass->cbClsExtra,   windowClass->cbWndExtra,
                    windowClass->hInstance,    windowClass->hIcon,
                    windowClass->hCursor,      windowClass->hbrBackground,
                    windowClass->lpszMenuName, windowClass->lpszClassName};
    return RegisterClassA(&plain);
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    if (!className) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (auto& window : tarnelix::win32::windows()) {
        if (window->className == className) {
            SetLastError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
    }
    if (!tarnelix::win32::classes().erase(className)) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    if (!className) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HWND handle = tarnelix::win32::createWindow(
        {className, windowName ? windowName : "", style, x, y, width, height, parent});
    if (!handle) {
        return nullptr;
    }
    CREATESTRUCTA create{
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    return tarnelix::win32::announceWindow(handle, reinterpret_cast<LPARAM>(&create));
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* window = findWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
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
    HWND previous = GetFocus();
    Window* window = findWindow(handle);
    if (!window) {
        if (handle) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        return previous;
    }
    if (window->sdl) {
        SDL_RaiseWindow(window->sdl);
    }
    return previous;
}

HWND WINAPI GetFocus(void) {
    SDL_Window* focused = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyboardFocus() : nullptr;
    return focused ? tarnelix::win32::windowFromSdlId(SDL_GetWindowID(focused)) : nullptr;
}

HWND WINAPI GetForegroundWindow(void) {
    return GetFocus();
}

HWND WINAPI GetActiveWindow(void) {
    return GetFocus();
}

HWND WINAPI GetParent(HWND handle) {
    Window* window = findWindow(handle);
    return window ? window->parent : nullptr;
}

BOOL WINAPI IsChild(HWND parent, HWND handle) {
    // A child is a WS_CHILD window somewhere below the parent; an owned top-level window is not.
    for (Window* window = findWindow(handle); window && (window->style & WS_CHILD);
         window = findWindow(window->parent)) {
        if (window->parent == parent) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL WINAPI IsIconic(HWND handle) {
    Window* window = findWindow(handle);
    return window && window->sdl && (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MINIMIZED);
}

BOOL WINAPI IsZoomed(HWND handle) {
    Window* window = findWindow(handle);
    return window && window->sdl && (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MAXIMIZED);
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
    if (name) {
        SetLastError(ERROR_MOD_NOT_FOUND); // no Windows library is ever loaded here
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(&program);
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) {
    static tarnelix::win32::HICON__ icon;
    return reinterpret_cast<HICON>(&icon);
}

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "Message", text ? text : "");
    return (type & MB_OKCANCEL) ? IDCANCEL : IDOK;
}
