// The display in a real X11 window (run under xvfb-run by ctest): full screen in a listed mode,
// presenting, and the quit message from the Escape key and from the window manager's close
// request, both sent as X events from outside the program.

#include "platform/Display.h"

#include <tarnelix/Win32Window.h>

#include "XvfbEvents.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Runs frames as the show does, one message per frame, until the quit message or 3 s.
bool runUntilQuit(Display& display) {
    Uint32 start = SDL_GetTicks();
    while (SDL_GetTicks() - start < 3000) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                return true;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        display.device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 64, 128), 1.0f, 0);
        display.present();
    }
    return false;
}

class XvfbWindow : public ::testing::Test {
protected:
    void SetUp() override {
        const char* driver = SDL_getenv("SDL_VIDEODRIVER");
        if (!driver || std::strcmp(driver, "x11") != 0) {
            GTEST_SKIP() << "needs the x11 video driver (run under xvfb-run)";
        }
    }
};

} // namespace

TEST_F(XvfbWindow, GoesFullScreenInAListedModeAndQuitsOnEscapeAndOnClose) {
    Display display;
    ASSERT_GT(display.modeCount(32), 0);
    int32_t width = display.modeWidth(32, 0);
    int32_t height = display.modeHeight(32, 0);
    ASSERT_TRUE(display.create(width, height, true, 32, display.modeRefreshRate(32, 0), 0));
    EXPECT_TRUE(display.fullscreen);
    SDL_Window* window = tarnelix::sdlWindowOf(display.window);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    for (int i = 0; i < 5; ++i) {
        display.present();
    }

    ASSERT_TRUE(tarnelix::test::sendEscape(window));
    EXPECT_TRUE(runUntilQuit(display));

    ASSERT_TRUE(tarnelix::test::sendCloseRequest(window));
    EXPECT_TRUE(runUntilQuit(display));
    display.releaseAll();
}
