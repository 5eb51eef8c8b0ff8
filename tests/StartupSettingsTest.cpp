#include "app/StartupSettings.h"
#include "app/resource.h"

#include <tarnelix/DialogTemplate.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Mode {
    int32_t width, height, refreshRate;
};

class FakeModes : public DisplayModes {
public:
    explicit FakeModes(std::vector<Mode> modes) : m_modes(std::move(modes)) {}
    int32_t modeCount(int32_t bits) override {
        askedBits.push_back(bits);
        return static_cast<int32_t>(m_modes.size());
    }
    int32_t modeWidth(int32_t, int32_t i) override { return m_modes.at(i).width; }
    int32_t modeHeight(int32_t, int32_t i) override { return m_modes.at(i).height; }
    int32_t modeRefreshRate(int32_t, int32_t i) override { return m_modes.at(i).refreshRate; }
    std::vector<int32_t> askedBits;

private:
    std::vector<Mode> m_modes;
};

std::vector<std::string> items(HWND box) {
    std::vector<std::string> out;
    LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256];
        SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        out.emplace_back(text);
    }
    return out;
}

// What the user does once the dialog is up, run from inside the dialog's own message loop: a
// message posted to this window before `run` comes out of the queue first.
enum class UserAction { OkWithoutChoice, ChooseSecondThenOk, ChooseThenCancel, CloseBox };

LRESULT CALLBACK userProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_USER) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND dialog = FindWindowA("#32770", "Quillon");
    EXPECT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_RESOLUTION);
    switch (static_cast<UserAction>(wParam)) {
    case UserAction::OkWithoutChoice:
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        break;
    case UserAction::ChooseSecondThenOk:
        SendMessageA(list, CB_SETCURSEL, 1, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        break;
    case UserAction::ChooseThenCancel:
        SendMessageA(list, CB_SETCURSEL, 0, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        break;
    case UserAction::CloseBox:
        SendMessageA(list, CB_SETCURSEL, 0, 0);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    }
    return 0;
}

class StartupSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = userProc;
        wc.lpszClassName = "SettingsTestUser";
        RegisterClassA(&wc);
        user = CreateWindowExA(0, "SettingsTestUser", "user", 0, 0, 0, 16, 16, nullptr, nullptr,
                               nullptr, nullptr);
        ASSERT_NE(user, nullptr);
        dialogAccepted = false;
    }
    void TearDown() override {
        DestroyWindow(user);
        UnregisterClassA("SettingsTestUser", nullptr);
    }

    StartupSettings runWith(UserAction action) {
        PostMessageA(user, WM_USER, static_cast<WPARAM>(action), 0);
        StartupSettings settings;
        settings.width = settings.height = settings.refreshRate = -7;
        settings.run(modes);
        return settings;
    }

    HWND user = nullptr;
    FakeModes modes{{{640, 480, 60}, {1024, 768, 85}, {1280, 1024, 75}}};
};

TEST_F(StartupSettingsTest, ChosenModeIsParsedIntoTheRecord) {
    StartupSettings settings = runWith(UserAction::ChooseSecondThenOk);
    EXPECT_FALSE(settings.cancelled);
    EXPECT_TRUE(dialogAccepted);
    EXPECT_EQ(settings.width, 1024);
    EXPECT_EQ(settings.height, 768);
    EXPECT_EQ(settings.refreshRate, 85);
    EXPECT_EQ(FindWindowA("#32770", "Quillon"), nullptr) << "run destroys the dialog";
}

TEST_F(StartupSettingsTest, OkWithoutAChoiceCancelsAndLeavesTheNumbers) {
    StartupSettings settings = runWith(UserAction::OkWithoutChoice);
    EXPECT_TRUE(settings.cancelled);
    EXPECT_TRUE(dialogAccepted);
    EXPECT_EQ(settings.width, -7);
}

TEST_F(StartupSettingsTest, CancelAndTheCloseBoxCancelWhateverWasChosen) {
    EXPECT_TRUE(runWith(UserAction::ChooseThenCancel).cancelled);
    EXPECT_FALSE(dialogAccepted);
    dialogAccepted = true;
    EXPECT_TRUE(runWith(UserAction::CloseBox).cancelled);
    EXPECT_FALSE(dialogAccepted);
}

TEST_F(StartupSettingsTest, ControlsAreFilledAndNothingIsSelected) {
    HWND dialog =
        CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, settingsDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    StartupSettings settings;
    settings.initControls(dialog, modes);
    EXPECT_EQ(modes.askedBits, std::vector<int32_t>{32});
    EXPECT_EQ(items(GetDlgItem(dialog, IDC_RESOLUTION)),
              (std::vector<std::string>{"640 x 480 : 60 hz", "1024 x 768 : 85 hz",
                                        "1280 x 1024 : 75 hz"}));
    EXPECT_EQ(items(GetDlgItem(dialog, IDC_DIFFICULTY)),
              (std::vector<std::string>{"Easy", "Normal", "Hard"}));
    EXPECT_EQ(items(GetDlgItem(dialog, IDC_ANTIALIASING)), std::vector<std::string>{"Disable"});
    EXPECT_EQ(items(GetDlgItem(dialog, IDC_ANISOTROPY)), std::vector<std::string>{"Disable"});
    for (int id : {IDC_RESOLUTION, IDC_ANTIALIASING, IDC_ANISOTROPY, IDC_DIFFICULTY}) {
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0), CB_ERR) << id;
    }
    // Only the mode list, its label, OK and Cancel are shown; difficulty is hidden but enabled.
    ShowWindow(dialog, SW_SHOW);
    for (int id : {IDC_RESOLUTION, IDOK, IDCANCEL}) {
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, id))) << id;
    }
    for (int id : {IDC_ANTIALIASING, IDC_ANISOTROPY, IDC_DIFFICULTY}) {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, id))) << id;
    }
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ANTIALIASING)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_DIFFICULTY)));
    DestroyWindow(dialog);
}

// Dialog units come from the font the dialog is drawn in, as on Windows, so the template's
// boxes hold their texts whatever font stands in for the template's.
TEST_F(StartupSettingsTest, TheLayoutFollowsTheDialogFontAndEveryTextFits) {
    HWND dialog =
        CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, settingsDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT unit{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dialog, &unit));
    const float letters =
        tarnelix::dialogTextWidth(dialog, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(unit.right, (static_cast<int>(letters) / 26 + 1) / 2) << "average letter width";
    EXPECT_GE(unit.bottom, 12);

    RECT whole{0, 0, 276, 162};
    MapDialogRect(dialog, &whole);
    RECT client{};
    ASSERT_TRUE(GetClientRect(dialog, &client));
    EXPECT_EQ(client.right, whole.right);
    EXPECT_EQ(client.bottom, whole.bottom);

    // The widest mode a list can hold today, in the combo box beside its arrow.
    EXPECT_LE(tarnelix::dialogTextWidth(dialog, "3840 x 2160 : 240 hz"),
              tarnelix::comboTextRoom(GetDlgItem(dialog, IDC_RESOLUTION)));
    // The shown label and the buttons, in their template widths.
    struct Box {
        const char* text;
        int width;
    };
    for (const Box& box : {Box{"Resolution", 34}, Box{"OK", 50}, Box{"Cancel", 50}}) {
        RECT r{0, 0, box.width, 8};
        MapDialogRect(dialog, &r);
        EXPECT_LE(tarnelix::dialogTextWidth(dialog, box.text), static_cast<float>(r.right))
            << box.text;
    }
    DestroyWindow(dialog);
}

TEST_F(StartupSettingsTest, NoModesGiveAnEmptyList) {
    FakeModes none{{}};
    HWND dialog =
        CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, settingsDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    StartupSettings settings;
    settings.initControls(dialog, none);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_RESOLUTION), CB_GETCOUNT, 0, 0), 0);
    DestroyWindow(dialog);
}

TEST(ModeTextTest, ThreeRunsOfDigits) {
    int32_t w = 0, h = 0, r = 0;
    parseModeText("1024 x 768 : 85 hz", w, h, r);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    EXPECT_EQ(r, 85);
    parseModeText("800x600", w, h, r);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(r, 0);
    parseModeText("x 640 : 480", w, h, r);
    EXPECT_EQ(w, 0) << "the first run must start the text";
    EXPECT_EQ(h, 640);
    EXPECT_EQ(r, 480);
    parseModeText("99999999999 x 1 : 2 hz", w, h, r);
    EXPECT_EQ(w, INT32_MAX);
    EXPECT_EQ(h, 1);
}

} // namespace
