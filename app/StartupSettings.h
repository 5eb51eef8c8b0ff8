#pragma once

#include "app/DisplayModes.h"

#include <windows.h>

#include <cstdint>

// Set by the settings dialog's procedure when the dialog closes: true for OK, false for Cancel
// and the close box.
extern bool dialogAccepted;

// The display mode chosen in the start-up dialog. Constructing it sets nothing; `run` always
// sets `cancelled`, and the three numbers whenever it ends up false.
struct StartupSettings {
    bool cancelled;
    int32_t width;
    int32_t height;
    int32_t refreshRate;

    // Shows the dialog with the adapter's modes, waits for the user, fills the record and
    // destroys the dialog. A dialog that cannot be shown counts as cancelled.
    void run(DisplayModes& modes);
    // Fills the combo boxes: the 32-bit modes in the adapter's order, the fixed hidden lists,
    // and no current item anywhere.
    void initControls(HWND dialog, DisplayModes& modes);
    // Reads the chosen mode; no choice cancels.
    void readControls(HWND dialog);
};

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The three numbers of a mode item such as "1024 x 768 : 60 hz": the run of digits at the start,
// then the next two runs. A missing run gives 0; a run too long for 32 bits saturates.
void parseModeText(const char* text, int32_t& width, int32_t& height, int32_t& refreshRate);
