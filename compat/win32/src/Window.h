#pragma once

// The stand-in's record of one window and its class.

#include <windows.h>

#include <memory>
#include <string>

struct SDL_Window;

namespace tarnelix::win32 {

struct Window {
    SDL_Window* sdl = nullptr;
    WNDPROC procedure = nullptr;
    std::string className;
    DWORD style = 0;
    HWND parent = nullptr;
    UINT classStyle = 0;
    HCURSOR classCursor = nullptr;
    // Made through the wide functions: its procedure gets UTF-16 characters.
    bool unicode = false;
    // What TrackMouseEvent asked for (TME_LEAVE, TME_HOVER) and when the mouse last moved.
    DWORD tracking = 0;
    DWORD hoverTime = 0;
    DWORD lastMoveTime = 0;
};

// A registered window class.
struct WindowClass {
    WNDCLASSA info{};
    bool unicode = false;
};

// Sets SDL's GL attributes for the next window: GL 3.3 core, double-buffered, no depth.
void requestWindowVisual();

// Registers a class under its name (UTF-8); 0 and ERROR_CLASS_ALREADY_EXISTS when taken.
ATOM registerClass(const std::string& name, const WNDCLASSA& info, bool unicode);

// What CreateWindowExA and CreateWindowExW need to make a window.
struct WindowRequest {
    std::string className;
    std::string title;
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
};
// Makes the window without telling its procedure; null, with the reason as the last error and
// on stderr, when it cannot.
HWND createWindow(const WindowRequest& request);
// Sends WM_NCCREATE and WM_CREATE with the program's create structure; destroys the window and
// answers null when the procedure refuses.
HWND announceWindow(HWND window, LPARAM createStruct);

// Enters a window made outside CreateWindowExA (dialogs and their controls; a control has no
// SDL window of its own) into the list of live windows and returns its handle.
HWND adoptWindow(std::unique_ptr<Window> window);

// The live window behind a handle, or null.
Window* findWindow(HWND handle);
HWND handleOf(const Window* window);
// The window that SDL's window id names, or null.
HWND windowFromSdlId(uint32_t id);
// The first live window (for events that name none).
HWND firstWindow();
// Calls a function for every live window, in creation order.
template <typename Visit> void forEachWindow(Visit visit);
std::size_t windowCount();
HWND windowAt(std::size_t index);

template <typename Visit> void forEachWindow(Visit visit) {
    for (std::size_t i = 0; i < windowCount(); ++i) {
        visit(windowAt(i));
    }
}

} // namespace tarnelix::win32
