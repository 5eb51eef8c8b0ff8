#pragma once

// The keyboard as Windows describes it: each SDL scan code's virtual key and PC scan code, and
// the thread's key state as of the last input message taken from the queue.

#include <windows.h>

#include <SDL.h>

#include <string>

namespace tarnelix::win32 {

struct KeyInfo {
    BYTE virtualKey = 0; // the side-specific code for Shift, Ctrl and Alt (VK_LSHIFT, ...)
    BYTE scanCode = 0;   // PC keyboard, set 1
    bool extended = false;
};

// What SDL's key is on Windows; a virtual key of 0 for keys Windows has no code for. Letters and
// digits follow the layout (SDL's key code), the other keys their place on the keyboard.
KeyInfo keyInfo(const SDL_Keysym& key);
// VK_SHIFT, VK_CONTROL and VK_MENU for either side, as key messages carry them.
BYTE genericKey(BYTE virtualKey);
// The side-specific key a message's scan code and extended flag name.
BYTE keyFromScanCode(UINT scanCode, bool extended);
// The scan code of a key (the left one for VK_SHIFT, VK_CONTROL, VK_MENU), 0 for none.
UINT scanCodeOfKey(UINT virtualKey, bool* extended);
// Whether a key that the virtual key names (either side for the generic ones) is held now.
bool scanCodeIsDown(UINT virtualKey);

// The key state that GetKeyState reports, updated as input messages leave the queue.
void noteInputMessage(const MSG& msg);
// MK_ flags for a mouse message's wParam: SDL's buttons now and the modifier keys.
WPARAM mouseKeyFlags(Uint32 sdlButtons);

// Text that SDL delivered for a key press, for TranslateMessage to turn into WM_CHAR: each
// press of a key is noted, its text added to the last press, and taken press by press.
void notePress(LPARAM keyParam);
void rememberKeyText(LPARAM keyParam, const std::u16string& text);
bool takeKeyText(LPARAM keyParam, std::u16string& text);

} // namespace tarnelix::win32
