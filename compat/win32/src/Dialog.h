#pragma once

// The stand-in's records of a dialog and its controls. A dialog is a window with an SDL window,
// a GL context and a Dear ImGui context of its own; each control is a window without an SDL
// window, drawn by its dialog.

#include <tarnelix/DialogTemplate.h>

#include <SDL.h>

#include <string>
#include <vector>

struct ImGuiContext;

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

// Dialog units to client pixels, with the base units of an 8-point dialog font.
RECT dialogUnitsToPixels(const RECT& units);

// The user interface (Dear ImGui): set up, one frame, input, tear down.
bool createDialogUi(Dialog& dialog);
void destroyDialogUi(Dialog& dialog);
void drawDialogUi(Dialog& dialog);
void feedDialogUi(Dialog& dialog, const SDL_Event& event);

} // namespace tarnelix::win32
