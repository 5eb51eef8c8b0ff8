// The program end to end under a real window system (run through xvfb-run): the dialog comes
// up, a mode is chosen and accepted, the show opens and runs, and Escape ends it with exit
// code 0. Input reaches the program the way a user's would: through SDL's event queue and the
// dialog's controls.

#include "app/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>

namespace {

bool modeChosen = false;

Uint32 SDLCALL pressEscape(Uint32, void*) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = SDLK_ESCAPE;
    event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    SDL_PushEvent(&event);
    return 0;
}

// Runs inside the dialog's message loop: picks the first mode, presses OK, and leaves the
// show's window as the only one, so that the key event below reaches it.
LRESULT CALLBACK userProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_USER) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND dialog = FindWindowA("#32770", "Quillon");
    HWND list = GetDlgItem(dialog, IDC_RESOLUTION);
    modeChosen =
        SendMessageA(list, CB_GETCOUNT, 0, 0) > 0 && SendMessageA(list, CB_SETCURSEL, 0, 0) == 0;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    DestroyWindow(window);
    SDL_AddTimer(3000, pressEscape, nullptr);
    return 0;
}

TEST(ProgramTest, ChoosesAModeRunsAndQuitsOnEscape) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER), 0) << SDL_GetError();
    WNDCLASSA wc{};
    wc.lpfnWndProc = userProc;
    wc.lpszClassName = "ProgramTestUser";
    RegisterClassA(&wc);
    HWND user = CreateWindowExA(0, "ProgramTestUser", "user", 0, 0, 0, 16, 16, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(user, nullptr);
    PostMessageA(user, WM_USER, 0, 0);

    auto start = std::chrono::steady_clock::now();
    int code = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOW);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(modeChosen);
    EXPECT_EQ(code, 0);
    EXPECT_LT(seconds, 60.0) << "Escape must end the show long before its 140 s";
}

} // namespace
