#pragma once

// X events sent to an SDL window from outside, as the X server and the window manager would
// deliver them. Kept apart because Xlib's names clash with the program's.

struct SDL_Window;

namespace tarnelix::test {

// A press and release of the Escape key.
bool sendEscape(SDL_Window* window);
// The window manager's close request (WM_DELETE_WINDOW), as the close button sends it.
bool sendCloseRequest(SDL_Window* window);
// The same for another program's window, named by its X window id.
bool sendCloseRequest(unsigned long xWindow);

} // namespace tarnelix::test
