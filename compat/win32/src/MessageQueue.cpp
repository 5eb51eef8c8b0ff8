// The thread's message queue: SDL events become window messages, appended in arrival order
// behind the messages posted by the program, and come out one per PeekMessageA/GetMessageA.

#include "Window.h"

#include <SDL.h>

#include <deque>

namespace {

std::deque<MSG>& queue() {
    // Never destroyed: static objects of the program may still use it while the process ends.
    static auto* messages = new std::deque<MSG>();
    return *messages;
}

DWORD messageTime() {
    return GetTickCount();
}

void post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = messageTime();
    queue().push_back(msg);
}

WPARAM virtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return VK_F1 + (key - SDLK_F1);
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        return VK_NUMPAD0 + 1 + (key - SDLK_KP_1);
    }
    switch (key) {
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_END:
        return VK_END;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_PAUSE:
        return VK_PAUSE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    case SDLK_KP_0:
        return VK_NUMPAD0;
    case SDLK_KP_PLUS:
        return VK_ADD;
    case SDLK_KP_MINUS:
        return VK_SUBTRACT;
    case SDLK_KP_MULTIPLY:
        return VK_MULTIPLY;
    case SDLK_KP_DIVIDE:
        return VK_DIVIDE;
    default:
        return 0;
    }
}

LPARAM keyParam(const SDL_KeyboardEvent& key, bool up) {
    uint32_t bits = 1u | (static_cast<uint32_t>(key.keysym.scancode & 0xFF) << 16);
    if (key.repeat || up) {
        bits |= 1u << 30;
    }
    if (up) {
        bits |= 1u << 31;
    }
    return static_cast<LPARAM>(static_cast<int32_t>(bits));
}

LPARAM pointParam(int x, int y) {
    return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
}

HWND eventWindow(uint32_t windowId) {
    HWND window = tarnelix::win32::windowFromSdlId(windowId);
    return window ? window : tarnelix::win32::firstWindow();
}

void translateEvent(const SDL_Event& event, bool& closeSeen) {
    switch (event.type) {
    case SDL_QUIT:
        // SDL reports the last window's close button (after its window event) and signals so.
        if (!closeSeen && tarnelix::win32::firstWindow()) {
            post(tarnelix::win32::firstWindow(), WM_CLOSE, 0, 0);
        }
        break;
    case SDL_WINDOWEVENT: {
        HWND window = eventWindow(event.window.windowID);
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            closeSeen = true;
            post(window, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            post(window, WM_SIZE, 0, pointParam(event.window.data1, event.window.data2));
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            post(window, WM_ACTIVATEAPP, TRUE, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            post(window, WM_ACTIVATEAPP, FALSE, 0);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            post(window, WM_PAINT, 0, 0);
            break;
        default:
            break;
        }
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        WPARAM key = virtualKey(event.key.keysym.sym);
        if (key) {
            bool up = event.type == SDL_KEYUP;
            post(eventWindow(event.key.windowID), up ? WM_KEYUP : WM_KEYDOWN, key,
                 keyParam(event.key, up));
        }
        break;
    }
    case SDL_MOUSEMOTION:
        post(eventWindow(event.motion.windowID), WM_MOUSEMOVE, 0,
             pointParam(event.motion.x, event.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        bool down = event.type == SDL_MOUSEBUTTONDOWN;
        UINT message = 0;
        if (event.button.button == SDL_BUTTON_LEFT) {
            message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        } else if (event.button.button == SDL_BUTTON_RIGHT) {
            message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        } else if (event.button.button == SDL_BUTTON_MIDDLE) {
            message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        }
        if (message) {
            post(eventWindow(event.button.windowID), message, 0,
                 pointParam(event.button.x, event.button.y));
        }
        break;
    }
    default:
        break;
    }
}

void pumpSdlEvents() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        return;
    }
    SDL_PumpEvents();
    bool closeSeen = false;
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        translateEvent(event, closeSeen);
    }
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

char characterOf(WPARAM key, bool shift) {
    if (key >= 'A' && key <= 'Z') {
        return static_cast<char>(shift ? key : key - 'A' + 'a');
    }
    if (key >= '0' && key <= '9') {
        return static_cast<char>(key);
    }
    switch (key) {
    case VK_SPACE:
        return ' ';
    case VK_RETURN:
        return '\r';
    case VK_ESCAPE:
        return 0x1B;
    case VK_BACK:
        return 0x08;
    case VK_TAB:
        return '\t';
    default:
        return 0;
    }
}

} // namespace

void WINAPI PostQuitMessage(int exitCode) {
    post(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !tarnelix::win32::findWindow(window)) {
        return FALSE;
    }
    post(window, message, wParam, lParam);
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
    if (!msg || msg->message != WM_KEYDOWN) {
        return FALSE;
    }
    bool shift = SDL_WasInit(SDL_INIT_VIDEO) && (SDL_GetModState() & KMOD_SHIFT);
    char character = characterOf(msg->wParam, shift);
    if (!character) {
        return FALSE;
    }
    // Windows puts the character in front of whatever arrived after the key.
    MSG charMsg = *msg;
    charMsg.message = WM_CHAR;
    charMsg.wParam = static_cast<WPARAM>(static_cast<unsigned char>(character));
    queue().push_front(charMsg);
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
    return window->procedure(handle, message, wParam, lParam);
}

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
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
