#pragma once

// Dialog templates as data. A Windows program keeps its dialogs in a resource script compiled
// into the executable; here the program registers the same description under the same resource
// id, and CreateDialogParamA builds the dialog from it.

#include <windows.h>

#include <string>
#include <vector>

namespace tarnelix {

// One control of a template. The window class decides the kind ("BUTTON", "STATIC",
// "COMBOBOX"); the style carries WS_VISIBLE, WS_DISABLED and the class's own bits, as in a
// resource script. Position and size are in dialog units; a combo box's height is that of its
// dropped-down list.
struct DialogControlTemplate {
    int id = -1; // -1 for controls that are never addressed (labels)
    std::string windowClass;
    std::string text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    DWORD style = 0;
};

struct DialogTemplate {
    std::string caption;
    int width = 0; // dialog units
    int height = 0;
    std::string fontName;
    int fontPointSize = 8;
    DWORD style = 0;
    std::vector<DialogControlTemplate> controls;
};

// Makes `dialog` available to CreateDialogParamA as MAKEINTRESOURCE(resourceId). A later
// registration under the same id replaces the earlier one.
void registerDialogTemplate(int resourceId, const DialogTemplate& dialog);
// The template registered under `resourceId`, or null.
const DialogTemplate* findDialogTemplate(int resourceId);

// Registers a template from a static object, the way a resource script is linked into the
// program: define one in a source file compiled into the executable.
struct DialogResource {
    DialogResource(int resourceId, const DialogTemplate& dialog) {
        registerDialogTemplate(resourceId, dialog);
    }
};

// Draws one frame of the dialog's user interface and acts on what it finds (a clicked button
// posts WM_COMMAND to the dialog). The dialog also draws itself from WM_PAINT while its message
// loop runs; tests and automation call this to step it deterministically.
bool drawDialogFrame(HWND dialog);

// Replaces the pointer that the dialog's user interface sees, in client pixels, until
// releaseDialogPointer: lets tests press and release buttons where no window system delivers
// mouse events.
void overrideDialogPointer(HWND dialog, float x, float y, bool buttonDown);
void releaseDialogPointer(HWND dialog);

// In client pixels: the width the dialog's font gives `text`, and the room a combo box leaves
// for its current item beside its arrow button. Lets tests check that a template's texts fit.
float dialogTextWidth(HWND dialog, const char* text);
float comboTextRoom(HWND comboBox);

} // namespace tarnelix
