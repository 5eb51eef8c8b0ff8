// SDL's scan codes on Windows' virtual keys and PC scan codes (set 1, US layout).

#include "Keys.h"

#include <array>

namespace tarnelix::win32 {

namespace {

struct KeyRow {
    SDL_Scancode sdl;
    BYTE virtualKey;
    BYTE scanCode;
    bool extended;
    // The keypad's digits share their scan codes with the cursor keys, which Windows' own table
    // gives when asked for the key behind a scan code.
    bool keypadDigit;
};

constexpr BYTE kLetterScanCodes[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                       0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                       0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

const KeyRow kRows[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, false, false},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, false, false},
    {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, false, false},
    {SDL_SCANCODE_TAB, VK_TAB, 0x0F, false, false},
    {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, false, false},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C, false, false},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D, false, false},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A, false, false},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B, false, false},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B, false, false},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5, 0x2B, false, false},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27, false, false},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28, false, false},
    {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29, false, false},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33, false, false},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34, false, false},
    {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35, false, false},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, 0x56, false, false},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, 0x3A, false, false},
    {SDL_SCANCODE_F11, VK_F11, 0x57, false, false},
    {SDL_SCANCODE_F12, VK_F12, 0x58, false, false},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, 0x37, true, false},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, 0x46, false, false},
    {SDL_SCANCODE_PAUSE, VK_PAUSE, 0x45, false, false},
    {SDL_SCANCODE_INSERT, VK_INSERT, 0x52, true, false},
    {SDL_SCANCODE_HOME, VK_HOME, 0x47, true, false},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, 0x49, true, false},
    {SDL_SCANCODE_DELETE, VK_DELETE, 0x53, true, false},
    {SDL_SCANCODE_END, VK_END, 0x4F, true, false},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, 0x51, true, false},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, 0x4D, true, false},
    {SDL_SCANCODE_LEFT, VK_LEFT, 0x4B, true, false},
    {SDL_SCANCODE_DOWN, VK_DOWN, 0x50, true, false},
    {SDL_SCANCODE_UP, VK_UP, 0x48, true, false},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, 0x45, true, false},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0x35, true, false},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, false, false},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, false, false},
    {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, false, false},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0x1C, true, false},
    {SDL_SCANCODE_KP_1, VK_NUMPAD1, 0x4F, false, true},
    {SDL_SCANCODE_KP_2, VK_NUMPAD2, 0x50, false, true},
    {SDL_SCANCODE_KP_3, VK_NUMPAD3, 0x51, false, true},
    {SDL_SCANCODE_KP_4, VK_NUMPAD4, 0x4B, false, true},
    {SDL_SCANCODE_KP_5, VK_NUMPAD5, 0x4C, false, false},
    {SDL_SCANCODE_KP_6, VK_NUMPAD6, 0x4D, false, true},
    {SDL_SCANCODE_KP_7, VK_NUMPAD7, 0x47, false, true},
    {SDL_SCANCODE_KP_8, VK_NUMPAD8, 0x48, false, true},
    {SDL_SCANCODE_KP_9, VK_NUMPAD9, 0x49, false, true},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, 0x52, false, true},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, 0x53, false, true},
    {SDL_SCANCODE_APPLICATION, VK_APPS, 0x5D, true, false},
    {SDL_SCANCODE_F24, VK_F24, 0x76, false, false},
    {SDL_SCANCODE_MUTE, VK_VOLUME_MUTE, 0x20, true, false},
    {SDL_SCANCODE_VOLUMEUP, VK_VOLUME_UP, 0x30, true, false},
    {SDL_SCANCODE_VOLUMEDOWN, VK_VOLUME_DOWN, 0x2E, true, false},
    {SDL_SCANCODE_LCTRL, VK_LCONTROL, 0x1D, false, false},
    {SDL_SCANCODE_LSHIFT, VK_LSHIFT, 0x2A, false, false},
    {SDL_SCANCODE_LALT, VK_LMENU, 0x38, false, false},
    {SDL_SCANCODE_LGUI, VK_LWIN, 0x5B, true, false},
    {SDL_SCANCODE_RCTRL, VK_RCONTROL, 0x1D, true, false},
    {SDL_SCANCODE_RSHIFT, VK_RSHIFT, 0x36, false, false},
    {SDL_SCANCODE_RALT, VK_RMENU, 0x38, true, false},
    {SDL_SCANCODE_RGUI, VK_RWIN, 0x5C, true, false},
    {SDL_SCANCODE_AUDIONEXT, VK_MEDIA_NEXT_TRACK, 0x19, true, false},
    {SDL_SCANCODE_AUDIOPREV, VK_MEDIA_PREV_TRACK, 0x10, true, false},
    {SDL_SCANCODE_AUDIOSTOP, VK_MEDIA_STOP, 0x24, true, false},
    {SDL_SCANCODE_AUDIOPLAY, VK_MEDIA_PLAY_PAUSE, 0x22, true, false},
    {SDL_SCANCODE_AUDIOMUTE, VK_VOLUME_MUTE, 0x20, true, false},
    {SDL_SCANCODE_MEDIASELECT, VK_LAUNCH_MEDIA_SELECT, 0x6D, true, false},
    {SDL_SCANCODE_MAIL, VK_LAUNCH_MAIL, 0x6C, true, false},
    {SDL_SCANCODE_CALCULATOR, VK_LAUNCH_APP2, 0x21, true, false},
    {SDL_SCANCODE_COMPUTER, VK_LAUNCH_APP1, 0x6B, true, false},
    {SDL_SCANCODE_AC_SEARCH, VK_BROWSER_SEARCH, 0x65, true, false},
    {SDL_SCANCODE_AC_HOME, VK_BROWSER_HOME, 0x32, true, false},
    {SDL_SCANCODE_AC_BACK, VK_BROWSER_BACK, 0x6A, true, false},
    {SDL_SCANCODE_AC_FORWARD, VK_BROWSER_FORWARD, 0x69, true, false},
    {SDL_SCANCODE_AC_STOP, VK_BROWSER_STOP, 0x68, true, false},
    {SDL_SCANCODE_AC_REFRESH, VK_BROWSER_REFRESH, 0x67, true, false},
    {SDL_SCANCODE_AC_BOOKMARKS, VK_BROWSER_FAVORITES, 0x66, true, false},
    {SDL_SCANCODE_SLEEP, VK_SLEEP, 0x5F, true, false},
};

// Every scan code's row, built once: the table above, then the runs that follow a pattern.
const std::array<KeyRow, SDL_NUM_SCANCODES>& rowsByScanCode() {
    static const auto rows = [] {
        std::array<KeyRow, SDL_NUM_SCANCODES> all{};
        for (const KeyRow& row : kRows) {
            all[row.sdl] = row;
        }
        for (int i = 0; i < 26; ++i) {
            auto sdl = static_cast<SDL_Scancode>(SDL_SCANCODE_A + i);
            all[sdl] = {sdl, static_cast<BYTE>('A' + i), kLetterScanCodes[i], false, false};
        }
        for (int i = 0; i < 10; ++i) { // SDL and the PC both run 1 ... 9, 0
            auto sdl = static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i);
            all[sdl] = {sdl, static_cast<BYTE>(i == 9 ? '0' : '1' + i), static_cast<BYTE>(0x02 + i),
                        false, false};
        }
        for (int i = 0; i < 10; ++i) {
            auto sdl = static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i);
            all[sdl] = {sdl, static_cast<BYTE>(VK_F1 + i), static_cast<BYTE>(0x3B + i), false,
                        false};
        }
        for (int i = 0; i < 11; ++i) { // F13 ... F23; F24 is in the table
            auto sdl = static_cast<SDL_Scancode>(SDL_SCANCODE_F13 + i);
            all[sdl] = {sdl, static_cast<BYTE>(VK_F13 + i), static_cast<BYTE>(0x64 + i), false,
                        false};
        }
        return all;
    }();
    return rows;
}

} // namespace

KeyInfo keyInfo(const SDL_Keysym& key) {
    KeyInfo info;
    if (key.scancode >= 0 && key.scancode < SDL_NUM_SCANCODES) {
        const KeyRow& row = rowsByScanCode()[key.scancode];
        info = {row.virtualKey, row.scanCode, row.extended};
    }
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) {
        info.virtualKey = static_cast<BYTE>('A' + (key.sym - SDLK_a));
    } else if (key.sym >= SDLK_0 && key.sym <= SDLK_9) {
        info.virtualKey = static_cast<BYTE>('0' + (key.sym - SDLK_0));
    } else if (info.virtualKey == 0 && key.scancode == SDL_SCANCODE_UNKNOWN) {
        // Events made by a program name only a key code: find its usual place.
        SDL_Scancode place = SDL_GetScancodeFromKey(key.sym);
        if (place != SDL_SCANCODE_UNKNOWN) {
            SDL_Keysym placed = key;
            placed.scancode = place;
            return keyInfo(placed);
        }
    }
    return info;
}

BYTE genericKey(BYTE virtualKey) {
    switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return virtualKey;
    }
}

BYTE keyFromScanCode(UINT scanCode, bool extended) {
    const KeyRow* loose = nullptr;
    for (const KeyRow& row : rowsByScanCode()) {
        if (row.virtualKey == 0 || row.scanCode != scanCode || row.keypadDigit) {
            continue;
        }
        if (row.extended == extended) {
            return row.virtualKey;
        }
        if (!loose) {
            loose = &row;
        }
    }
    return loose ? loose->virtualKey : 0;
}

UINT scanCodeOfKey(UINT virtualKey, bool* extended) {
    if (virtualKey == VK_SHIFT || virtualKey == VK_CONTROL || virtualKey == VK_MENU) {
        virtualKey = virtualKey == VK_SHIFT     ? VK_LSHIFT
                     : virtualKey == VK_CONTROL ? VK_LCONTROL
                                                : VK_LMENU;
    }
    for (const KeyRow& row : rowsByScanCode()) {
        if (row.virtualKey != 0 && row.virtualKey == virtualKey) {
            if (extended) {
                *extended = row.extended;
            }
            return row.scanCode;
        }
    }
    return 0;
}

bool scanCodeIsDown(UINT virtualKey) {
    const Uint8* state = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyboardState(nullptr) : nullptr;
    if (!state) {
        return false;
    }
    for (const KeyRow& row : rowsByScanCode()) {
        bool named = row.virtualKey == virtualKey || genericKey(row.virtualKey) == virtualKey;
        if (row.virtualKey != 0 && named && state[row.sdl]) {
            return true;
        }
    }
    return false;
}

} // namespace tarnelix::win32
