// The keyboard's state as the program sees it, and the mapping between keys, scan codes and
// characters.

#include "Keys.h"

#include <deque>
#include <map>

namespace tarnelix::win32 {

namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;

BYTE g_keyState[256] = {};

void setKey(BYTE key, bool down) {
    if (down && !(g_keyState[key] & kDown)) {
        g_keyState[key] ^= kToggled;
    }
    g_keyState[key] = static_cast<BYTE>((g_keyState[key] & kToggled) | (down ? kDown : 0));
}

void setSidedKey(BYTE sided, bool down) {
    setKey(sided, down);
    BYTE generic = genericKey(sided);
    if (generic != sided) {
        BYTE left = generic == VK_SHIFT     ? VK_LSHIFT
                    : generic == VK_CONTROL ? VK_LCONTROL
                                            : VK_LMENU;
        bool either = (g_keyState[left] & kDown) || (g_keyState[left + 1] & kDown);
        setKey(generic, either);
    }
}

void noteButton(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        setKey(VK_LBUTTON, message != WM_LBUTTONUP);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
        setKey(VK_RBUTTON, message != WM_RBUTTONUP);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
        setKey(VK_MBUTTON, message != WM_MBUTTONUP);
        break;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
    case WM_XBUTTONUP:
        setKey(GET_XBUTTON_WPARAM(wParam) == XBUTTON1 ? VK_XBUTTON1 : VK_XBUTTON2,
               message != WM_XBUTTONUP);
        break;
    default:
        break;
    }
}

// Text waits here under its key message's scan code and extended flag, one entry per press
// (empty for a press without text) in the order of the presses. A program that never translates
// its keys leaves only the last few.
constexpr std::size_t kPressesKept = 16;

std::map<UINT, std::deque<std::u16string>>& pendingText() {
    static auto* text = new std::map<UINT, std::deque<std::u16string>>();
    return *text;
}

UINT textKey(LPARAM keyParam) {
    return static_cast<UINT>((static_cast<DWORD>(keyParam) >> 16) & 0x1FF);
}

} // namespace

void noteInputMessage(const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
        auto bits = static_cast<DWORD>(msg.lParam);
        bool extended = (bits >> 24) & 1;
        BYTE sided = keyFromScanCode((bits >> 16) & 0xFF, extended);
        if (genericKey(sided) != msg.wParam) {
            sided = static_cast<BYTE>(msg.wParam);
        }
        setSidedKey(sided, msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN);
        break;
    }
    default:
        noteButton(msg.message, msg.wParam);
        break;
    }
}

WPARAM mouseKeyFlags(Uint32 buttons) {
    WPARAM flags = 0;
    if (buttons & SDL_BUTTON_LMASK) {
        flags |= MK_LBUTTON;
    }
    if (buttons & SDL_BUTTON_RMASK) {
        flags |= MK_RBUTTON;
    }
    if (buttons & SDL_BUTTON_MMASK) {
        flags |= MK_MBUTTON;
    }
    if (buttons & SDL_BUTTON_X1MASK) {
        flags |= MK_XBUTTON1;
    }
    if (buttons & SDL_BUTTON_X2MASK) {
        flags |= MK_XBUTTON2;
    }
    SDL_Keymod mods = SDL_GetModState();
    if (mods & KMOD_SHIFT) {
        flags |= MK_SHIFT;
    }
    if (mods & KMOD_CTRL) {
        flags |= MK_CONTROL;
    }
    return flags;
}

void notePress(LPARAM keyParam) {
    std::deque<std::u16string>& presses = pendingText()[textKey(keyParam)];
    presses.emplace_back();
    if (presses.size() > kPressesKept) {
        presses.pop_front();
    }
}

void rememberKeyText(LPARAM keyParam, const std::u16string& text) {
    std::deque<std::u16string>& presses = pendingText()[textKey(keyParam)];
    if (presses.empty()) {
        presses.emplace_back();
    }
    presses.back() += text;
}

bool takeKeyText(LPARAM keyParam, std::u16string& text) {
    auto found = pendingText().find(textKey(keyParam));
    if (found == pendingText().end() || found->second.empty()) {
        return false;
    }
    text = std::move(found->second.front());
    found->second.pop_front();
    return !text.empty();
}

} // namespace tarnelix::win32

using namespace tarnelix::win32;

SHORT WINAPI GetKeyState(int key) {
    if (key < 0 || key > 255) {
        return 0;
    }
    BYTE state = g_keyState[key];
    return static_cast<SHORT>(((state & kDown) ? 0x8000 : 0) | (state & kToggled));
}

BOOL WINAPI GetKeyboardState(PBYTE keys) {
    if (!keys) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::copy(std::begin(g_keyState), std::end(g_keyState), keys);
    return TRUE;
}

SHORT WINAPI GetAsyncKeyState(int key) {
    if (key <= 0 || key > 255) {
        return 0;
    }
    Uint32 buttons = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetGlobalMouseState(nullptr, nullptr) : 0;
    switch (key) {
    case VK_LBUTTON:
        return (buttons & SDL_BUTTON_LMASK) ? static_cast<SHORT>(0x8000) : 0;
    case VK_RBUTTON:
        return (buttons & SDL_BUTTON_RMASK) ? static_cast<SHORT>(0x8000) : 0;
    case VK_MBUTTON:
        return (buttons & SDL_BUTTON_MMASK) ? static_cast<SHORT>(0x8000) : 0;
    case VK_XBUTTON1:
        return (buttons & SDL_BUTTON_X1MASK) ? static_cast<SHORT>(0x8000) : 0;
    case VK_XBUTTON2:
        return (buttons & SDL_BUTTON_X2MASK) ? static_cast<SHORT>(0x8000) : 0;
    default:
        return scanCodeIsDown(static_cast<UINT>(key)) ? static_cast<SHORT>(0x8000) : 0;
    }
}

UINT WINAPI MapVirtualKeyA(UINT code, UINT type) {
    switch (type) {
    case MAPVK_VK_TO_VSC:
    case MAPVK_VK_TO_VSC_EX: {
        bool extended = false;
        UINT scanCode = scanCodeOfKey(code, &extended);
        return (type == MAPVK_VK_TO_VSC_EX && extended && scanCode) ? 0xE000 | scanCode : scanCode;
    }
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX: {
        bool extended = (code & 0xFF00) == 0xE000;
        BYTE key = keyFromScanCode(code & 0xFF, extended);
        return type == MAPVK_VSC_TO_VK ? genericKey(key) : key;
    }
    case MAPVK_VK_TO_CHAR: {
        if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
            return code;
        }
        if (code >= VK_NUMPAD0 && code <= VK_NUMPAD9) {
            return '0' + (code - VK_NUMPAD0);
        }
        static const std::map<UINT, char> kCharacters = {
            {VK_SPACE, ' '},     {VK_RETURN, '\r'},    {VK_BACK, '\b'},    {VK_TAB, '\t'},
            {VK_ESCAPE, 0x1B},   {VK_OEM_1, ';'},      {VK_OEM_PLUS, '='}, {VK_OEM_COMMA, ','},
            {VK_OEM_MINUS, '-'}, {VK_OEM_PERIOD, '.'}, {VK_OEM_2, '/'},    {VK_OEM_3, '`'},
            {VK_OEM_4, '['},     {VK_OEM_5, '\\'},     {VK_OEM_6, ']'},    {VK_OEM_7, '\''},
            {VK_OEM_102, '\\'},  {VK_MULTIPLY, '*'},   {VK_ADD, '+'},      {VK_SUBTRACT, '-'},
            {VK_DECIMAL, '.'},   {VK_DIVIDE, '/'}};
        auto found = kCharacters.find(code);
        return found == kCharacters.end() ? 0 : static_cast<UINT>(found->second);
    }
    default:
        return 0;
    }
}

UINT WINAPI MapVirtualKeyW(UINT code, UINT type) {
    return MapVirtualKeyA(code, type);
}
