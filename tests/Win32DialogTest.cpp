#include <tarnelix/DialogTemplate.h>
#include <tarnelix/Win32Window.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

namespace {

constexpr int kTemplateId = 4242;
constexpr int kOk = 1;
constexpr int kHidden = 3;
constexpr int kDisabled = 4;
constexpr int kList = 1000;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Received>& received() {
    static std::vector<Received> messages;
    return messages;
}

INT_PTR CALLBACK recordingProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG || message == WM_COMMAND || message == WM_CLOSE ||
        message == WM_DESTROY) {
        received().push_back({message, wParam, lParam});
        return TRUE;
    }
    return FALSE;
}

const tarnelix::DialogResource testDialog(kTemplateId, [] {
    tarnelix::DialogTemplate t;
    t.caption = "Test dialog";
    t.width = 200;
    t.height = 120;
    t.fontName = "MS Sans Serif";
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    t.controls = {
        {kOk, "BUTTON", "OK", 140, 10, 50, 14, WS_VISIBLE | BS_DEFPUSHBUTTON},
        {kHidden, "BUTTON", "Hidden", 140, 30, 50, 14, BS_PUSHBUTTON},
        {kDisabled, "BUTTON", "Off", 140, 50, 50, 14, WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON},
        {kList, "COMBOBOX", "", 10, 10, 80, 100,
         WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        {-1, "STATIC", "Label", 10, 2, 40, 8, WS_VISIBLE | SS_LEFT},
    };
    return t;
}());

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        received().clear();
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTemplateId),
                                    nullptr, recordingProc, 77);
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override {
        if (IsWindow(dialog)) {
            DestroyWindow(dialog);
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // Handles every queued message, as the program's message loop would.
    void dispatchAll() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }

    // The centre of a rectangle given in dialog units, in client pixels.
    POINT centre(int x, int y, int w, int h) {
        RECT r{x, y, x + w, y + h};
        MapDialogRect(dialog, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    void click(POINT at) {
        float x = static_cast<float>(at.x);
        float y = static_cast<float>(at.y);
        tarnelix::overrideDialogPointer(dialog, x, y, false);
        tarnelix::drawDialogFrame(dialog);
        tarnelix::overrideDialogPointer(dialog, x, y, true);
        tarnelix::drawDialogFrame(dialog);
        tarnelix::overrideDialogPointer(dialog, x, y, false);
        tarnelix::drawDialogFrame(dialog);
        tarnelix::drawDialogFrame(dialog);
        dispatchAll();
    }

    std::vector<Received> commands() {
        std::vector<Received> out;
        for (const Received& r : received()) {
            if (r.message == WM_COMMAND) {
                out.push_back(r);
            }
        }
        return out;
    }

    HWND dialog = nullptr;
};

TEST(DialogTemplateTest, UnknownTemplateCreatesNothing) {
    EXPECT_EQ(CreateDialogParamA(nullptr, MAKEINTRESOURCEA(9999), nullptr, recordingProc, 0),
              nullptr);
    EXPECT_EQ(CreateDialogParamA(nullptr, "NAMED", nullptr, recordingProc, 0), nullptr);
}

TEST_F(DialogTest, InitDialogCarriesTheInitParameterAndControlsAreFoundById) {
    ASSERT_FALSE(received().empty());
    EXPECT_EQ(received().front().message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(received().front().lParam, 77);
    EXPECT_NE(GetDlgItem(dialog, kOk), nullptr);
    EXPECT_NE(GetDlgItem(dialog, kList), nullptr);
    EXPECT_EQ(GetDlgItem(dialog, 555), nullptr);
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dialog, kList)), kList);
    char caption[64];
    EXPECT_EQ(GetWindowTextA(dialog, caption, sizeof(caption)), 11);
    EXPECT_STREQ(caption, "Test dialog");
}

TEST_F(DialogTest, ComboBoxKeepsOrderAndShowsTheCurrentItemAsItsText) {
    HWND list = GetDlgItem(dialog, kList);
    EXPECT_EQ(SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("800 x 600 : 60 hz")),
              0);
    EXPECT_EQ(SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("640 x 480 : 60 hz")),
              1);
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);
    char text[255] = "stale";
    EXPECT_EQ(GetWindowTextA(list, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "");

    EXPECT_EQ(SendMessageA(list, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(GetWindowTextA(list, text, sizeof(text)), 17);
    EXPECT_STREQ(text, "640 x 480 : 60 hz");
    char small[4];
    EXPECT_EQ(GetWindowTextA(list, small, sizeof(small)), 3);
    EXPECT_STREQ(small, "640");

    EXPECT_EQ(SendMessageA(list, CB_SETCURSEL, 7, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(list, CB_ADDSTRING, 0, 0), CB_ERR);
}

TEST_F(DialogTest, ClickingAButtonSendsItsCommand) {
    click(centre(140, 10, 50, 14));
    auto sent = commands();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(LOWORD(sent[0].wParam), kOk);
    EXPECT_EQ(HIWORD(sent[0].wParam), BN_CLICKED);
    EXPECT_EQ(sent[0].lParam, reinterpret_cast<LPARAM>(GetDlgItem(dialog, kOk)));
}

TEST_F(DialogTest, HiddenAndDisabledButtonsFollowTheTemplateAndDoNotReact) {
    click(centre(140, 30, 50, 14));
    click(centre(140, 50, 50, 14));
    EXPECT_TRUE(commands().empty());
    ShowWindow(dialog, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kOk)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kHidden)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kHidden)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kDisabled)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kDisabled)));
}

TEST_F(DialogTest, PickingAnItemFromTheListSelectsItAndNotifies) {
    HWND list = GetDlgItem(dialog, kList);
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("first"));
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("second"));
    POINT box = centre(10, 10, 80, 12);
    click(box);
    // The list opens under the box (19 pixels high), after 8 pixels of padding, with one line of
    // 17 pixels per item: the second item's middle lies about 42 pixels below the box's middle.
    click(POINT{box.x, box.y + 42});
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 1);
    auto sent = commands();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(LOWORD(sent[0].wParam), kList);
    EXPECT_EQ(HIWORD(sent[0].wParam), CBN_SELCHANGE);
}

TEST_F(DialogTest, CloseBoxReachesTheProcedureAsCloseWithLParamZero) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(tarnelix::sdlWindowOf(dialog));
    SDL_PushEvent(&event);
    dispatchAll();
    ASSERT_FALSE(received().empty());
    bool closed = false;
    for (const Received& r : received()) {
        if (r.message == WM_CLOSE) {
            closed = true;
            EXPECT_EQ(r.lParam, 0);
        }
    }
    EXPECT_TRUE(closed);
}

TEST_F(DialogTest, DestroyingTheDialogDestroysItsControls) {
    HWND ok = GetDlgItem(dialog, kOk);
    EXPECT_TRUE(IsWindow(ok));
    EXPECT_TRUE(DestroyWindow(dialog));
    EXPECT_FALSE(IsWindow(ok));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(received().back().message, static_cast<UINT>(WM_DESTROY));
}

} // namespace
