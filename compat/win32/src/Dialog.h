#pragma once

// The stand-in's records of a dialog and its controls. A dialog is a window with an SDL window,
// a GL context and a Dear ImGui context of its own; each control is a window without an SDL
// window, drawn by its dialog.

#include <tarnelix/DialogTemplate.h>

#include <SDL.h>

#include <string>
#include <vector>

struct ImGuiContext;
struct ImFont;

namespace tarnelix::win32 {

struct Dialog;

struct Control {
    HWND handle = nullptr;
    Dialog* dialog = nullptr;
    DialogControlTemplate layout;
    bool visible = false;
    bool enabled = true;
    std::string text;
    // Combo boxes: the items in the order added, and the current one (-1: none).
    std::vector<std::string> items;
    int selection = -1;

    bool isButton() const;
    bool isDefaultButton() const;
    bool isComboBox() const;
};

struct PointerOverride {
    bool active = false;
    float x = 0.0f;
    float y = 0.0f;
    bool buttonDown = false;
};

struct Dialog {
    HWND handle = nullptr;
    DLGPROC procedure = nullptr;
    DialogTemplate layout;
    SDL_Window* sdl = nullptr;
    SDL_GLContext gl = nullptr;
    ImGuiContext* ui = nullptr;
    ImFont* font = nullptr; // in the dialog's own ImGui context
    // Dialog base units from that font (see DialogFont.h).
    int baseUnitX = 6;
    int baseUnitY = 13;
    std::vector<Control*> controls; // owned by the window list, as windows
    PointerOverride pointer;
    // Frames still to draw after the last input event, so that presses and releases between
    // two frames are seen and hover feedback settles.
    int framesPending = 0;
    bool paintQueued = false;
    uint32_t lastFrameTicks = 0;
};

Dialog* findDialog(HWND handle);
Control* findControl(HWND handle);

// Dialog units to client pixels, with the base units of the dialog's font.
RECT dialogUnitsToPixels(const Dialog& dialog, const RECT& units);

// The user interface (Dear ImGui): set up (the context and font first, which the window's size
// depends on; then the drawing, once the window exists), one frame, input, tear down.
bool createDialogUiContext(Dialog& dialog);
bool createDialogUi(Dialog& dialog);
void destroyDialogUi(Dialog& dialog);
void drawDialogUi(Dialog& dialog);
void feedDialogUi(Dialog& dialog, const SDL_Event& event);
// In client pixels: the width of `text` in the dialog's font, and the room a combo box leaves
// for its current item beside its arrow button.
float dialogTextWidth(Dialog& dialog, const char* text);
float comboTextRoom(Control& comboBox);

} // namespace tarnelix::win32
