#pragma once

// The mouse's side of the message queue: what tracking and capture need to hear of its moves.

#include <windows.h>

namespace tarnelix::win32 {

// The mouse moved in a window, or left it: tracking may owe it WM_MOUSELEAVE or a fresh hover.
void mouseMovedIn(HWND window);
void mouseLeft(HWND window);
// Posts WM_MOUSEHOVER to a tracking window whose mouse has rested long enough.
void postDueHovers();
// The window that has the mouse captured, or null.
HWND captureWindow();
// The screen position of a window's client area.
POINT clientOrigin(HWND window);

} // namespace tarnelix::win32
