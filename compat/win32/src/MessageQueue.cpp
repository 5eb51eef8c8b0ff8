// The thread's message queue: SDL events become window messages, appended in arrival order
// behind the messages posted by the program, and come out one per PeekMessageA/GetMessageA.

#include "MessageQueue.h"

#include "Keys.h"
#include "Mouse.h"
#include "Window.h"

#include <SDL.h>

#include <deque>

namespace tarnelix::win32 {

namespace {

std::deque<MSG>& queue() {
    // Never destroyed: static objects of the program may still use it while the process ends.
    static auto* messages = new std::deque<MSG>();
    return *messages;
}

DWORD messageTime() {
    return GetTickCount();
}

} // namespace

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = messageTime();
    GetCursorPos(&msg.pt);
    queue().push_back(msg);
}

namespace {

void pumpSdlEvents() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        return;
    }
    SDL_PumpEvents();
    startEventBatch();
    bool closeSeen = false;
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        translateEvent(event, closeSeen);
    }
    postDueHovers();
}

bool matches(const MSG& msg, HWND window, UINT first, UINT last) {
    if (window && msg.hwnd != window && msg.message != WM_QUIT) {
        return false;
    }
    if (first == 0 && last == 0) {
        return true;
    }
    return msg.message >= first && msg.message <= last;
}

// The character of a key whose text SDL did not send: control characters, and keys pushed by
// a program as events.
char16_t characterOf(WPARAM key, bool shift, bool ctrl) {
    if (key >= 'A' && key <= 'Z') {
        if (ctrl) {
            return static_cast<char16_t>(key - 'A' + 1); // Ctrl+A is 0x01, as on Windows
        }
        return static_cast<char16_t>(shift ? key : key - 'A' + 'a');
    }
    if (key >= '0' && key <= '9' && !ctrl) {
        return static_cast<char16_t>(key);
    }
    switch (key) {
    case VK_SPACE:
        return u' ';
    case VK_RETURN:
        return u'\r';
    case VK_ESCAPE:
        return 0x1B;
    case VK_BACK:
        return 0x08;
    case VK_TAB:
        return u'\t';
    default:
        return 0;
    }
}

// What a window of an ANSI class gets for a UTF-16 character: Latin-1 passes, the rest is '?'.
WPARAM characterForWindow(HWND window, WPARAM unit) {
    Window* record = findWindow(window);
    if (!record || record->unicode || unit < 0x100) {
        return unit;
    }
    return '?';
}

} // namespace

} // namespace tarnelix::win32

using namespace tarnelix::win32;

void WINAPI PostQuitMessage(int exitCode) {
    postMessage(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !tarnelix::win32::findWindow(window)) {
        return FALSE;
    }
    postMessage(window, message, wParam, lParam);
    return TRUE;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT remove) {
    pumpSdlEvents();
    auto& messages = queue();
    for (auto it = messages.begin(); it != messages.end(); ++it) {
        if (!matches(*it, window, first, last)) {
            continue;
        }
        if (msg) {
            *msg = *it;
        }
        if (remove & PM_REMOVE) {
            noteInputMessage(*it);
            messages.erase(it);
        }
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT first, UINT last) {
    MSG local{};
    LPMSG out = msg ? msg : &local;
    while (!PeekMessageA(out, window, first, last, PM_REMOVE)) {
        if (SDL_WasInit(SDL_INIT_VIDEO)) {
            SDL_WaitEventTimeout(nullptr, 10);
        } else {
            SDL_Delay(10);
        }
    }
    return out->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) {
        return FALSE;
    }
    std::u16string text;
    if (!takeKeyText(msg->lParam, text)) {
        // As on Windows, by the key state as of this message, not the keyboard's now.
        bool shift =
            ((GetKeyState(VK_SHIFT) & 0x8000) != 0) != ((GetKeyState(VK_CAPITAL) & 1) != 0);
        bool ctrl = GetKeyState(VK_CONTROL) & 0x8000;
        char16_t character = characterOf(msg->wParam, shift, ctrl);
        if (!character) {
            return FALSE;
        }
        text = character;
    }
    // Windows puts the characters in front of whatever arrived after the key.
    UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    for (auto unit = text.rbegin(); unit != text.rend(); ++unit) {
        MSG charMsg = *msg;
        charMsg.message = charMessage;
        charMsg.wParam = *unit;
        queue().push_front(charMsg);
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg || !msg->hwnd) {
        return 0;
    }
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    tarnelix::win32::Window* window = tarnelix::win32::findWindow(handle);
    if (!window || !window->procedure) {
        return 0;
    }
    if (message == WM_CHAR || message == WM_SYSCHAR) {
        wParam = characterForWindow(handle, wParam);
    }
    return window->procedure(handle, message, wParam, lParam);
}

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR: {
        // The class's cursor over the client area; a class without one leaves it to the program.
        Window* window = findWindow(handle);
        if (LOWORD(lParam) == HTCLIENT && window && window->classCursor) {
            SetCursor(window->classCursor);
            return TRUE;
        }
        return FALSE;
    }
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & (1 << 29))) {
            SendMessageA(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            SendMessageA(handle, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_NCCREATE:
        return TRUE;
    default:
        return 0;
    }
}
