// SDL's events as the messages Windows makes of the same input: key messages with their scan
// codes and system-key rule, text for TranslateMessage, mouse messages with their key flags,
// routed to the window that has the mouse captured, wheel steps of WHEEL_DELTA, focus and size.

#include "Keys.h"
#include "MessageQueue.h"
#include "Mouse.h"
#include "TextEncoding.h"
#include "Window.h"

#include <SDL.h>

#include <cmath>

namespace tarnelix::win32 {

namespace {

// The key-down message waiting for the text SDL sends right after it; -1 for none.
LPARAM g_textKey = -1;
// The mouse buttons as of the last event translated.
Uint32 g_buttons = 0;

LPARAM pointParam(int x, int y) {
    return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
}

HWND eventWindow(uint32_t windowId) {
    HWND window = windowFromSdlId(windowId);
    return window ? window : firstWindow();
}

LPARAM keyParam(const KeyInfo& key, const SDL_KeyboardEvent& event, bool up, bool altHeld) {
    DWORD bits = 1u | (static_cast<DWORD>(key.scanCode) << 16);
    if (key.extended) {
        bits |= 1u << 24;
    }
    if (altHeld) {
        bits |= 1u << 29;
    }
    if (event.repeat || up) {
        bits |= 1u << 30;
    }
    if (up) {
        bits |= 1u << 31;
    }
    return static_cast<LPARAM>(static_cast<int32_t>(bits));
}

void translateKey(const SDL_KeyboardEvent& event) {
    KeyInfo key = keyInfo(event.keysym);
    if (key.virtualKey == 0) {
        return;
    }
    bool up = event.type == SDL_KEYUP;
    BYTE generic = genericKey(key.virtualKey);
    bool alt = (event.keysym.mod & KMOD_ALT) != 0;
    bool ctrl = (event.keysym.mod & KMOD_CTRL) != 0;
    // Windows makes system keys of F10, of Alt itself and of what is pressed with Alt alone
    // (Ctrl with Alt is AltGr, which types characters).
    bool system = generic == VK_MENU || key.virtualKey == VK_F10 || (alt && !ctrl);
    UINT message = system ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (up ? WM_KEYUP : WM_KEYDOWN);
    LPARAM lParam = keyParam(key, event, up, alt && !ctrl);
    postMessage(eventWindow(event.windowID), message, generic, lParam);
    if (!up) {
        notePress(lParam);
        g_textKey = lParam;
    } else if (g_textKey != -1 && ((g_textKey ^ lParam) & 0x01FF0000) == 0) {
        g_textKey = -1;
    }
}

void translateText(const SDL_TextInputEvent& event) {
    std::u16string units = utf16FromUtf8(event.text);
    if (g_textKey != -1) {
        rememberKeyText(g_textKey, units);
        g_textKey = -1;
        return;
    }
    // Text with no key behind it (an input method's) arrives as characters of its own.
    for (char16_t unit : units) {
        postMessage(eventWindow(event.windowID), WM_CHAR, unit, 1);
    }
}

// Where a mouse event in one window goes: the capturing window if there is one, with the
// position moved into its client area.
HWND mouseTarget(uint32_t windowId, int& x, int& y) {
    HWND window = eventWindow(windowId);
    HWND capture = captureWindow();
    if (capture && capture != window) {
        POINT from = clientOrigin(window);
        POINT to = clientOrigin(capture);
        x += from.x - to.x;
        y += from.y - to.y;
        return capture;
    }
    return window;
}

// Windows asks the window under the mouse for its cursor before each mouse message.
void askForCursor(HWND window, int x, int y, UINT mouseMessage) {
    int width = 0;
    int height = 0;
    Window* record = findWindow(window);
    if (!record || !record->sdl || captureWindow()) {
        return;
    }
    SDL_GetWindowSize(record->sdl, &width, &height);
    if (x >= 0 && y >= 0 && x < width && y < height) {
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELONG(HTCLIENT, mouseMessage));
    }
}

void translateMotion(const SDL_MouseMotionEvent& event) {
    int x = event.x;
    int y = event.y;
    HWND window = mouseTarget(event.windowID, x, y);
    g_buttons = event.state;
    askForCursor(window, x, y, WM_MOUSEMOVE);
    postMessage(window, WM_MOUSEMOVE, mouseKeyFlags(g_buttons), pointParam(x, y));
    mouseMovedIn(window);
}

UINT buttonMessage(Uint8 button, bool down, bool doubleClick) {
    switch (button) {
    case SDL_BUTTON_LEFT:
        return down ? (doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
    case SDL_BUTTON_RIGHT:
        return down ? (doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE:
        return down ? (doubleClick ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN) : WM_MBUTTONUP;
    case SDL_BUTTON_X1:
    case SDL_BUTTON_X2:
        return down ? (doubleClick ? WM_XBUTTONDBLCLK : WM_XBUTTONDOWN) : WM_XBUTTONUP;
    default:
        return 0;
    }
}

void translateButton(const SDL_MouseButtonEvent& event) {
    bool down = event.type == SDL_MOUSEBUTTONDOWN;
    int x = event.x;
    int y = event.y;
    HWND window = mouseTarget(event.windowID, x, y);
    Window* record = findWindow(window);
    // Every second click within the double-click time is a double click for classes that ask.
    bool doubleClick = down && record && (record->classStyle & CS_DBLCLKS) && event.clicks >= 2 &&
                       event.clicks % 2 == 0;
    UINT message = buttonMessage(event.button, down, doubleClick);
    if (!message) {
        return;
    }
    Uint32 mask = SDL_BUTTON(event.button);
    g_buttons = down ? (g_buttons | mask) : (g_buttons & ~mask);
    WPARAM wParam = mouseKeyFlags(g_buttons);
    if (event.button == SDL_BUTTON_X1 || event.button == SDL_BUTTON_X2) {
        WORD which = event.button == SDL_BUTTON_X1 ? XBUTTON1 : XBUTTON2;
        wParam = MAKEWPARAM(static_cast<WORD>(wParam), which);
    }
    if (down) {
        askForCursor(window, x, y, message);
    }
    postMessage(window, message, wParam, pointParam(x, y));
}

void translateWheel(const SDL_MouseWheelEvent& event) {
    float sign = event.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
    auto steps = [sign](float amount) {
        return static_cast<int>(std::lround(amount * sign * WHEEL_DELTA));
    };
    int vertical = steps(event.preciseY);
    int horizontal = steps(event.preciseX);
    POINT screen{};
    GetCursorPos(&screen);
    HWND window = eventWindow(event.windowID);
    WORD keys = static_cast<WORD>(mouseKeyFlags(g_buttons));
    // The wheel's messages carry the position on the screen, not in the window.
    LPARAM where = pointParam(screen.x, screen.y);
    if (vertical) {
        postMessage(window, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(vertical)), where);
    }
    if (horizontal) {
        postMessage(window, WM_MOUSEHWHEEL, MAKEWPARAM(keys, static_cast<WORD>(horizontal)), where);
    }
}

void translateWindowEvent(const SDL_WindowEvent& event, bool& closeSeen) {
    HWND window = eventWindow(event.windowID);
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        closeSeen = true;
        postMessage(window, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        Window* record = findWindow(window);
        bool maximized =
            record && record->sdl && (SDL_GetWindowFlags(record->sdl) & SDL_WINDOW_MAXIMIZED);
        postMessage(window, WM_SIZE, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    pointParam(event.data1, event.data2));
        break;
    }
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        postMessage(window, WM_ACTIVATEAPP, TRUE, 0);
        postMessage(window, WM_SETFOCUS, 0, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        postMessage(window, WM_ACTIVATEAPP, FALSE, 0);
        postMessage(window, WM_KILLFOCUS, 0, 0);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        postMessage(window, WM_PAINT, 0, 0);
        break;
    case SDL_WINDOWEVENT_LEAVE:
        mouseLeft(window);
        break;
    default:
        break;
    }
}

} // namespace

void startEventBatch() {
    // SDL sends a key's text in the same batch as the key; text after that has no key.
    g_textKey = -1;
}

void translateEvent(const SDL_Event& event, bool& closeSeen) {
    switch (event.type) {
    case SDL_QUIT:
        // SDL reports the last window's close button (after its window event) and signals so.
        if (!closeSeen && firstWindow()) {
            postMessage(firstWindow(), WM_CLOSE, 0, 0);
        }
        break;
    case SDL_WINDOWEVENT:
        translateWindowEvent(event.window, closeSeen);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translateKey(event.key);
        break;
    case SDL_TEXTINPUT:
        translateText(event.text);
        break;
    case SDL_MOUSEMOTION:
        translateMotion(event.motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        translateButton(event.button);
        break;
    case SDL_MOUSEWHEEL:
        translateWheel(event.wheel);
        break;
    default:
        break;
    }
}

} // namespace tarnelix::win32
