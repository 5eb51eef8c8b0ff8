// The windows.h stand-in: window classes and procedures, the message queue's order, keys,
// timers.

#include <tarnelix/Win32Window.h>
#include <windows.h>

#include <SDL.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<UINT> g_seen;

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_seen.push_back(message);
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND openWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = recordingProcedure;
    windowClass.lpszClassName = "Win32Test";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "Win32Test", "test", WS_CAPTION, 0, 0, 32, 32, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void pushKey(HWND window, SDL_Keycode key, Uint32 type) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = SDL_GetWindowID(tarnelix::sdlWindowOf(window));
    event.key.keysym.sym = key;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&event);
}

} // namespace

TEST(Win32, ClassesRegisterOnceAndWindowsGetCreateAndDestroyMessages) {
    g_seen.clear();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = recordingProcedure;
    windowClass.lpszClassName = "Win32Once";
    EXPECT_NE(RegisterClassA(&windowClass), 0);
    EXPECT_EQ(RegisterClassA(&windowClass), 0);
    EXPECT_EQ(
        CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    HWND window = CreateWindowExA(0, "Win32Once", "t", WS_CAPTION, 0, 0, 20, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(UnregisterClassA("Win32Once", nullptr), FALSE); // a window still uses it
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 20);
    EXPECT_EQ(client.bottom, 10);
    SetWindowPos(window, HWND_TOP, 0, 0, 40, 30, 0);
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 40);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(UnregisterClassA("Win32Once", nullptr), TRUE);
    ASSERT_GE(g_seen.size(), 4u);
    EXPECT_EQ(g_seen[0], static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(g_seen[1], static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(g_seen[g_seen.size() - 2], static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(g_seen.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST(Win32, MessagesComeOutOnePerPeekInQueueOrderWithQuitAfterThoseBeforeIt) {
    HWND window = openWindow();
    ASSERT_NE(window, nullptr);
    drain();
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostQuitMessage(7);
    PostMessageA(window, WM_USER + 2, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(window);
}

TEST(Win32, KeysBecomeVirtualKeyMessagesAndTranslateMakesCharacters) {
    HWND window = openWindow();
    ASSERT_NE(window, nullptr);
    drain();
    g_seen.clear();
    pushKey(window, SDLK_a, SDL_KEYDOWN);
    pushKey(window, SDLK_ESCAPE, SDL_KEYDOWN);
    pushKey(window, SDLK_ESCAPE, SDL_KEYUP);
    std::vector<std::pair<UINT, WPARAM>> got;
    MSG msg;
    bool quit = false;
    for (int i = 0; i < 20 && !quit; ++i) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            bool input = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP ||
                         msg.message == WM_CHAR || msg.message == WM_QUIT;
            if (input) { // window events may come in between
                got.emplace_back(msg.message, msg.wParam);
            }
            quit = msg.message == WM_QUIT;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    ASSERT_TRUE(quit);
    // The character made from Escape comes before what was queued after the key.
    const std::vector<std::pair<UINT, WPARAM>> expected = {{WM_KEYDOWN, 'A'},       {WM_CHAR, 'a'},
                                                           {WM_KEYDOWN, VK_ESCAPE}, {WM_CHAR, 0x1B},
                                                           {WM_KEYUP, VK_ESCAPE},   {WM_QUIT, 0}};
    EXPECT_EQ(got, expected);
    DestroyWindow(window);
    drain();
}

TEST(Win32, CloseButtonSendsWmCloseAndDefaultProcedureDestroys) {
    HWND window = openWindow();
    ASSERT_NE(window, nullptr);
    drain();
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(tarnelix::sdlWindowOf(window));
    SDL_PushEvent(&event);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(msg.hwnd, window);
    DispatchMessageA(&msg); // DefWindowProcA destroys the window
    EXPECT_FALSE(IsWindow(window));
    drain();
}

TEST(Win32, CountersAdvanceAndCursorCountsNest) {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER first{};
    LARGE_INTEGER second{};
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_GT(frequency.QuadPart, 0);
    QueryPerformanceCounter(&first);
    Sleep(2);
    QueryPerformanceCounter(&second);
    EXPECT_GE(second.QuadPart - first.QuadPart, frequency.QuadPart / 1000);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
    DWORD ticks = GetTickCount();
    EXPECT_GE(GetTickCount(), ticks);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
}
