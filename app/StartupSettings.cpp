#include "app/StartupSettings.h"

#include "app/resource.h"

#include <cstdio>

bool dialogAccepted = false;

namespace {

constexpr int32_t kModeBits = 32;
constexpr int kTextCapacity = 255;

void addItem(HWND box, const char* text) {
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the run of digits at `p` (possibly empty) and moves past it.
int32_t readRun(const char*& p) {
    int64_t value = 0;
    while (isDigit(*p)) {
        value = value * 10 + (*p - '0');
        if (value > INT32_MAX) {
            value = INT32_MAX;
        }
        ++p;
    }
    return static_cast<int32_t>(value);
}

void skipNonDigits(const char*& p) {
    while (*p && !isDigit(*p)) {
        ++p;
    }
}

} // namespace

void parseModeText(const char* text, int32_t& width, int32_t& height, int32_t& refreshRate) {
    const char* p = text;
    width = readRun(p);
    skipNonDigits(p);
    height = readRun(p);
    skipNonDigits(p);
    refreshRate = readRun(p);
}

void StartupSettings::run(DisplayModes& modes) {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS),
                                     nullptr, settingsDialogProc, 0);
    if (!dialog) {
        // Nothing was shown, so nothing was chosen.
        cancelled = true;
        return;
    }
    initControls(dialog, modes);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    cancelled = !dialogAccepted;
    if (!cancelled) {
        readControls(dialog);
    }
    DestroyWindow(dialog);
}

void StartupSettings::initControls(HWND dialog, DisplayModes& modes) {
    HWND resolution = GetDlgItem(dialog, IDC_RESOLUTION);
    HWND antialiasing = GetDlgItem(dialog, IDC_ANTIALIASING);
    HWND anisotropy = GetDlgItem(dialog, IDC_ANISOTROPY);
    HWND difficulty = GetDlgItem(dialog, IDC_DIFFICULTY);

    int32_t count = modes.modeCount(kModeBits);
    for (int32_t i = 0; i < count; ++i) {
        char item[64];
        std::snprintf(item, sizeof(item), "%d x %d : %d hz", modes.modeWidth(kModeBits, i),
                      modes.modeHeight(kModeBits, i), modes.modeRefreshRate(kModeBits, i));
        addItem(resolution, item);
    }
    addItem(difficulty, "Easy");
    addItem(difficulty, "Normal");
    addItem(difficulty, "Hard");
    addItem(antialiasing, "Disable");
    addItem(anisotropy, "Disable");
}

void StartupSettings::readControls(HWND dialog) {
    char text[kTextCapacity] = {};
    GetWindowTextA(GetDlgItem(dialog, IDC_RESOLUTION), text, kTextCapacity);
    if (text[0] == '\0') {
        cancelled = true;
        return;
    }
    parseModeText(text, width, height, refreshRate);
}

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        dialogAccepted = lParam != 0;
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            SendMessageA(dialog, WM_CLOSE, 0, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            SendMessageA(dialog, WM_CLOSE, 0, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
