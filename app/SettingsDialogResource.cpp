// The settings dialog as the program's resource script (app/tarnelix.rc, which the Windows build
// compiles) describes it; the two change together. Compiled into each program that shows the
// dialog, as a resource script is linked into a Windows executable.

#include "app/resource.h"

#include <tarnelix/DialogTemplate.h>

namespace {

tarnelix::DialogControlTemplate control(int id, const char* windowClass, const char* text, int x,
                                        int y, int width, int height, DWORD style) {
    tarnelix::DialogControlTemplate c;
    c.id = id;
    c.windowClass = windowClass;
    c.text = text;
    c.x = x;
    c.y = y;
    c.width = width;
    c.height = height;
    c.style = style;
    return c;
}

tarnelix::DialogTemplate settingsDialog() {
    const DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    tarnelix::DialogTemplate t;
    t.caption = "Quillon";
    t.width = 276;
    t.height = 162;
    t.fontName = "MS Sans Serif";
    t.fontPointSize = 8;
    t.style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.controls = {
        control(IDOK, "BUTTON", "OK", 219, 21, 50, 14, WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP),
        control(IDCANCEL, "BUTTON", "Cancel", 219, 46, 50, 14,
                WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP),
        control(IDC_RESOLUTION, "COMBOBOX", "", 29, 21, 81, 134, WS_VISIBLE | list),
        control(IDC_STATIC, "STATIC", "Resolution", 29, 13, 34, 8, WS_VISIBLE | SS_LEFT),
        control(IDC_STATIC, "STATIC", "Anti-alising", 29, 38, 34, 8, WS_DISABLED | SS_LEFT),
        control(IDC_ANTIALIASING, "COMBOBOX", "", 29, 46, 48, 109, WS_DISABLED | list),
        control(IDC_ANISOTROPY, "COMBOBOX", "", 126, 46, 48, 82, WS_DISABLED | list),
        control(IDC_STATIC, "STATIC", "Anisotropic", 126, 38, 36, 8, WS_DISABLED | SS_LEFT),
        control(IDC_STATIC, "STATIC", "Dificulty", 126, 13, 26, 8, SS_LEFT),
        control(IDC_DIFFICULTY, "COMBOBOX", "", 126, 21, 48, 109, list),
    };
    return t;
}

const tarnelix::DialogResource settingsDialogResource(IDD_SETTINGS, settingsDialog());

} // namespace
