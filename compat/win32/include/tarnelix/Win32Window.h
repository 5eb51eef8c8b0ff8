#pragma once

// What the other stand-ins need to know about a window made by the windows.h stand-in.

#include <windows.h>

struct SDL_Window;

namespace tarnelix {

// The SDL window behind a window handle, or null for a handle that names no live window.
SDL_Window* sdlWindowOf(HWND window);

// Starts SDL's video subsystem once (the offscreen driver in tests, X11 otherwise); false, with
// the reason on stderr, when it cannot start.
bool ensureSdlVideo();

} // namespace tarnelix
