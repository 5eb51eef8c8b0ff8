// The windows.h stand-in's input: key messages, scan codes and key state, characters, the mouse's
// messages, capture, tracking and cursors; and what answers for the services it has not.

#include <tarnelix/Win32Window.h>
#include <windows.h>

#include <dwmapi.h>
#include <imm.h>
#include <xinput.h>

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<MSG> g_received;
CREATESTRUCTW g_wideCreate{};
std::wstring g_wideTitle;

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{window, message, wParam, lParam, 0, {}};
    g_received.push_back(msg);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK wideProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        g_wideCreate = *reinterpret_cast<CREATESTRUCTW*>(lParam);
        g_wideTitle = g_wideCreate.lpszName;
    }
    return recordingProcedure(window, message, wParam, lParam);
}

class Win32Input : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_CROSS);
        windowClass.lpszClassName = "Win32Input";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "Win32Input", "input", WS_CAPTION, 30, 40, 64, 48, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        pump();
    }

    void TearDown() override {
        DestroyWindow(window);
        pump();
    }

    // Dispatches everything queued, translating keys; what the procedure got is in g_received.
    void pump() {
        g_received.clear();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    std::vector<MSG> received(UINT first, UINT last) const {
        std::vector<MSG> wanted;
        for (const MSG& msg : g_received) {
            if (msg.message >= first && msg.message <= last) {
                wanted.push_back(msg);
            }
        }
        return wanted;
    }

    Uint32 windowId() const { return SDL_GetWindowID(tarnelix::sdlWindowOf(window)); }

    void pushKey(SDL_Scancode scancode, SDL_Keycode sym, bool down, Uint16 mod = KMOD_NONE) {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = windowId();
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym = {scancode, sym, mod, 0};
        SDL_PushEvent(&event);
    }

    void pushText(const char* text) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = windowId();
        std::strncpy(event.text.text, text, sizeof(event.text.text) - 1);
        SDL_PushEvent(&event);
    }

    void pushButton(Uint8 button, bool down, Uint8 clicks = 1) {
        SDL_Event event{};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.windowID = windowId();
        event.button.button = button;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = clicks;
        event.button.x = 5;
        event.button.y = 6;
        SDL_PushEvent(&event);
    }

    HWND window = nullptr;
};

TEST_F(Win32Input, KeysCarryTheirVirtualKeyScanCodeAndExtendedFlag) {
    struct Row {
        SDL_Scancode scancode;
        SDL_Keycode sym;
        WPARAM virtualKey;
        DWORD scanCode;
        bool extended;
    };
    const Row rows[] = {
        {SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, VK_OEM_4, 0x1A, false},
        {SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTBRACKET, VK_OEM_6, 0x1B, false},
        {SDL_SCANCODE_EQUALS, SDLK_EQUALS, VK_OEM_PLUS, 0x0D, false},
        {SDL_SCANCODE_MINUS, SDLK_MINUS, VK_OEM_MINUS, 0x0C, false},
        {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, VK_ADD, 0x4E, false},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, VK_RETURN, 0x1C, true},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, VK_RIGHT, 0x4D, true},
        {SDL_SCANCODE_RCTRL, SDLK_RCTRL, VK_CONTROL, 0x1D, true},
        {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, VK_SHIFT, 0x2A, false},
        {SDL_SCANCODE_F13, SDLK_F13, VK_F13, 0x64, false},
        {SDL_SCANCODE_Q, SDLK_a, 'A', 0x10, false}, // letters follow the layout (AZERTY here)
    };
    for (const Row& row : rows) {
        pushKey(row.scancode, row.sym, true);
        pushKey(row.scancode, row.sym, false);
        pump();
        std::vector<MSG> keys = received(WM_KEYDOWN, WM_KEYUP);
        ASSERT_EQ(keys.size(), 2u) << SDL_GetScancodeName(row.scancode);
        auto bits = static_cast<DWORD>(keys[0].lParam);
        EXPECT_EQ(keys[0].wParam, row.virtualKey) << SDL_GetScancodeName(row.scancode);
        EXPECT_EQ((bits >> 16) & 0xFF, row.scanCode) << SDL_GetScancodeName(row.scancode);
        EXPECT_EQ(((bits >> 24) & 1) != 0, row.extended) << SDL_GetScancodeName(row.scancode);
        EXPECT_EQ(static_cast<DWORD>(keys[1].lParam) >> 30, 3u); // was down, going up
    }
}

TEST_F(Win32Input, KeyStateFollowsTheMessagesTakenFromTheQueueSideBySide) {
    pushKey(SDL_SCANCODE_RCTRL, SDLK_RCTRL, true);
    pushKey(SDL_SCANCODE_RCTRL, SDLK_RCTRL, false);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    // The release is queued but not taken: the program still sees the key held.
    EXPECT_TRUE(GetKeyState(VK_RCONTROL) & 0x8000);
    EXPECT_TRUE(GetKeyState(VK_CONTROL) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_LCONTROL) & 0x8000);
    pump();
    EXPECT_FALSE(GetKeyState(VK_RCONTROL) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);

    SHORT before = GetKeyState(VK_CAPITAL) & 1;
    pushKey(SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, true);
    pushKey(SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, false);
    pump();
    EXPECT_NE(GetKeyState(VK_CAPITAL) & 1, before); // each press toggles
    BYTE keys[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    EXPECT_EQ(keys[VK_CAPITAL] & 1, GetKeyState(VK_CAPITAL) & 1);
}

TEST(Win32Keys, MapVirtualKeyBetweenKeysScanCodesAndCharacters) {
    struct Row {
        UINT code;
        UINT type;
        UINT expected;
    };
    const Row rows[] = {
        {VK_OEM_4, MAPVK_VK_TO_VSC, 0x1A},
        {VK_RIGHT, MAPVK_VK_TO_VSC, 0x4D},
        {VK_RIGHT, MAPVK_VK_TO_VSC_EX, 0xE04D},
        {VK_SHIFT, MAPVK_VK_TO_VSC, 0x2A},
        {0x2A, MAPVK_VSC_TO_VK, VK_SHIFT},
        {0x36, MAPVK_VSC_TO_VK_EX, VK_RSHIFT},
        {0xE01D, MAPVK_VSC_TO_VK_EX, VK_RCONTROL},
        {0x1D, MAPVK_VSC_TO_VK_EX, VK_LCONTROL},
        {0x48, MAPVK_VSC_TO_VK, VK_UP}, // the keypad's 8 without NumLock
        {'A', MAPVK_VK_TO_CHAR, 'A'},
        {VK_OEM_MINUS, MAPVK_VK_TO_CHAR, '-'},
        {VK_OEM_6, MAPVK_VK_TO_CHAR, ']'},
        {VK_NUMPAD7, MAPVK_VK_TO_CHAR, '7'},
        {VK_F1, MAPVK_VK_TO_CHAR, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(MapVirtualKeyA(row.code, row.type), row.expected)
            << std::hex << row.code << " type " << row.type;
    }
}

TEST_F(Win32Input, TranslateMakesCharactersFromTheTextOfTheKey) {
    pushKey(SDL_SCANCODE_E, SDLK_e, true);
    pushText("\xC3\xA9"); // é: Latin-1, so an ANSI window gets it too
    pushKey(SDL_SCANCODE_E, SDLK_e, true);
    pushText("\xE2\x82\xAC"); // €: beyond Latin-1
    pushKey(SDL_SCANCODE_LCTRL, SDLK_LCTRL, true);
    pushKey(SDL_SCANCODE_A, SDLK_a, true, KMOD_LCTRL);
    pushKey(SDL_SCANCODE_LCTRL, SDLK_LCTRL, false);
    pump();
    std::vector<MSG> characters = received(WM_CHAR, WM_CHAR);
    ASSERT_EQ(characters.size(), 3u);
    EXPECT_EQ(characters[0].wParam, 0xE9u);
    EXPECT_EQ(characters[1].wParam, static_cast<WPARAM>('?'));
    EXPECT_EQ(characters[2].wParam, 0x01u); // Ctrl+A

    // Alt with a key is a system key; Alt+F4 closes the window through DefWindowProc.
    pushKey(SDL_SCANCODE_F4, SDLK_F4, true, KMOD_LALT);
    pump();
    std::vector<MSG> system = received(WM_SYSKEYDOWN, WM_SYSKEYDOWN);
    ASSERT_EQ(system.size(), 1u);
    EXPECT_TRUE(static_cast<DWORD>(system[0].lParam) & (1u << 29));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Win32Input, WideWindowsGetWideNamesAndUtf16Characters) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = wideProcedure;
    windowClass.lpszClassName = L"Win32Wide";
    ASSERT_NE(RegisterClassExW(&windowClass), 0);
    EXPECT_EQ(RegisterClassExW(&windowClass), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    HWND wide = CreateWindowExW(0, L"Win32Wide", L"Gr\u00F6\u00DFe \u20AC", WS_CAPTION, 0, 0, 32,
                                32, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(g_wideTitle, L"Gr\u00F6\u00DFe \u20AC");
    EXPECT_STREQ(SDL_GetWindowTitle(tarnelix::sdlWindowOf(wide)), "Gr\xC3\xB6\xC3\x9F"
                                                                  "e \xE2\x82\xAC");

    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = SDL_GetWindowID(tarnelix::sdlWindowOf(wide));
    std::strcpy(event.text.text, "\xE2\x82\xAC\xF0\x9F\x98\x80"); // € and a character past 0xFFFF
    SDL_PushEvent(&event);
    pump();
    std::vector<WPARAM> units;
    for (const MSG& msg : received(WM_CHAR, WM_CHAR)) {
        units.push_back(msg.wParam);
    }
    EXPECT_EQ(units, (std::vector<WPARAM>{0x20AC, 0xD83D, 0xDE00}));
    EXPECT_TRUE(DestroyWindow(wide));
    EXPECT_TRUE(UnregisterClassW(L"Win32Wide", nullptr));
}

TEST_F(Win32Input, MouseButtonsWheelAndDoubleClicks) {
    pushButton(SDL_BUTTON_X1, true);
    pushButton(SDL_BUTTON_X1, false);
    pushButton(SDL_BUTTON_LEFT, true, 2); // the class asks for double clicks
    pushButton(SDL_BUTTON_LEFT, false, 2);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = windowId();
    wheel.wheel.y = 1;
    wheel.wheel.preciseY = 1.0f;
    wheel.wheel.x = -1;
    wheel.wheel.preciseX = -0.5f;
    SDL_PushEvent(&wheel);
    pump();
    std::vector<MSG> mouse = received(WM_MOUSEFIRST + 1, WM_MOUSELAST);
    ASSERT_EQ(mouse.size(), 6u);
    EXPECT_EQ(mouse[0].message, static_cast<UINT>(WM_XBUTTONDOWN));
    EXPECT_EQ(GET_XBUTTON_WPARAM(mouse[0].wParam), XBUTTON1);
    EXPECT_TRUE(GET_KEYSTATE_WPARAM(mouse[0].wParam) & MK_XBUTTON1);
    EXPECT_EQ(LOWORD(mouse[0].lParam), 5);
    EXPECT_EQ(HIWORD(mouse[0].lParam), 6);
    EXPECT_EQ(mouse[1].message, static_cast<UINT>(WM_XBUTTONUP));
    EXPECT_EQ(mouse[2].message, static_cast<UINT>(WM_LBUTTONDBLCLK));
    EXPECT_EQ(mouse[3].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(mouse[4].message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(mouse[4].wParam), WHEEL_DELTA);
    EXPECT_EQ(mouse[5].message, static_cast<UINT>(WM_MOUSEHWHEEL));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(mouse[5].wParam), -WHEEL_DELTA / 2);
}

TEST_F(Win32Input, CaptureTrackingAndCursors) {
    EXPECT_EQ(SetCapture(window), nullptr);
    EXPECT_EQ(GetCapture(), window);
    g_received.clear();
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_EQ(received(WM_CAPTURECHANGED, WM_CAPTURECHANGED).size(), 1u);

    // The mouse is not over the window: Windows answers a request for WM_MOUSELEAVE at once.
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
    EXPECT_TRUE(TrackMouseEvent(&track));
    pump();
    EXPECT_EQ(received(WM_MOUSELEAVE, WM_MOUSELEAVE).size(), 1u);
    track.cbSize = 0;
    EXPECT_FALSE(TrackMouseEvent(&track));

    HCURSOR beam = LoadCursorA(nullptr, IDC_IBEAM);
    ASSERT_NE(beam, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_IBEAM), beam);
    EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), "NoSuchCursor"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    SetCursor(beam);
    EXPECT_EQ(SetCursor(nullptr), beam);
    // Over the client area the default procedure shows the class's cursor.
    EXPECT_TRUE(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                             MAKELONG(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_CROSS));
}

TEST_F(Win32Input, CoordinatesChildrenAndScreenMeasures) {
    POINT point{3, 4};
    ASSERT_TRUE(ClientToScreen(window, &point));
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(point.x, rect.left + 3);
    EXPECT_EQ(point.y, rect.top + 4);
    ASSERT_TRUE(ScreenToClient(window, &point));
    EXPECT_EQ(point.x, 3);
    EXPECT_EQ(point.y, 4);

    HWND child = CreateWindowExA(0, "Win32Input", "child", WS_CHILD, 0, 0, 8, 8, window, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(IsChild(window, child));
    EXPECT_FALSE(IsChild(child, window));
    EXPECT_EQ(GetParent(child), window);
    DestroyWindow(child);

    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    MONITORINFO info{sizeof(info), {}, {}, 0};
    EXPECT_TRUE(GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info));
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));
}

TEST(Win32Services, WhatIsMissingFailsAsWindowsDocumentsIt) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("xinput1_4.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadLibraryW(L"shcore.dll"), nullptr);
    EXPECT_EQ(GetModuleHandleA("ntdll.dll"), nullptr);
    EXPECT_EQ(GetProcAddress(GetModuleHandleA(nullptr), "RtlVerifyVersionInfo"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_FALSE(FreeLibrary(nullptr));

    XINPUT_STATE state{};
    EXPECT_EQ(XInputGetState(0, &state), static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));
    XINPUT_CAPABILITIES caps{};
    EXPECT_EQ(XInputGetCapabilities(0, XINPUT_FLAG_GAMEPAD, &caps),
              static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));
    BOOL composition = TRUE;
    EXPECT_EQ(DwmIsCompositionEnabled(&composition), S_OK);
    EXPECT_FALSE(composition);
    DWM_BLURBEHIND blur{DWM_BB_ENABLE, TRUE, nullptr, FALSE};
    EXPECT_EQ(DwmEnableBlurBehindWindow(nullptr, &blur), DWM_E_COMPOSITIONDISABLED);
    EXPECT_EQ(ImmGetContext(nullptr), nullptr);
}

} // namespace
