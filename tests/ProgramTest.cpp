// The program end to end under a real window system (run through xvfb-run): the dialog comes
// up, a mode is chosen and accepted, the show opens and runs, and Escape ends it with exit
// code 0; without a sound device, and in a damaged show folder, it says what is wrong and plays
// all the same. Input reaches the program the way a user's would: through SDL's event queue and
// the dialog's controls. The program runs once per process: each test runs in one of its own.

#include "ScratchShow.h"

#include "app/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <unistd.h>

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

// Runs the program as a user would: the first mode, OK, and Escape three seconds into the show.
// Returns WinMain's exit code; `seconds` receives how long it ran.
int playAndQuit(double& seconds) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        ADD_FAILURE() << SDL_GetError();
        return -1;
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = userProc;
    wc.lpszClassName = "ProgramTestUser";
    RegisterClassA(&wc);
    HWND user = CreateWindowExA(0, "ProgramTestUser", "user", 0, 0, 0, 16, 16, nullptr, nullptr,
                                nullptr, nullptr);
    EXPECT_NE(user, nullptr);
    PostMessageA(user, WM_USER, 0, 0);

    auto start = std::chrono::steady_clock::now();
    int code = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOW);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(modeChosen);
    return code;
}

// Plays and quits as above, which must end with exit code 0; returns what the program said on
// stderr.
std::string messagesOfARun() {
    testing::internal::CaptureStderr();
    double seconds = 0.0;
    EXPECT_EQ(playAndQuit(seconds), 0);
    return testing::internal::GetCapturedStderr();
}

TEST(ProgramTest, ChoosesAModeRunsAndQuitsOnEscape) {
    double seconds = 0.0;
    EXPECT_EQ(playAndQuit(seconds), 0);
    EXPECT_LT(seconds, 60.0) << "Escape must end the show long before its 140 s";
}

// The show needs no sound: it says once why it is silent and plays all the same.
TEST(ProgramTest, PlaysSilentWithoutASoundDevice) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const std::string messages = messagesOfARun();
    EXPECT_EQ(linesWith(messages, {"tarnelix: no sound: ", "the show plays silent"}), 1)
        << messages;
    EXPECT_EQ(linesWith(messages, {"silent"}), 1) << "said once: " << messages;
}

// A cut-short scene, a missing splash image and a music file that is not an MP3: each is told
// in one line, and the show plays on with what it has.
TEST(ProgramTest, SaysWhatIsWrongWithADamagedShowFolder) {
    const ScratchShow show(TARNELIX_SHOW_DIR);
    show.truncate("teste5.3df", 100000);
    show.remove("intro.jpg");
    show.replace("preview1.mp3", "not music at all");
    ASSERT_EQ(chdir(show.path().c_str()), 0);
    const std::string messages = messagesOfARun();
    EXPECT_EQ(linesWith(messages, {"tarnelix: teste5.3df: ", "the show goes on without it"}), 1)
        << messages;
    EXPECT_EQ(linesWith(messages, {"tarnelix: intro.jpg: the file is missing"}), 1) << messages;
    EXPECT_EQ(linesWith(messages, {"tarnelix: preview1.mp3: not an MP3", "the show plays silent"}),
              1)
        << messages;
}

} // namespace
