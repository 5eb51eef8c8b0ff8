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
};

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

} // namespace tarnelix::win32
