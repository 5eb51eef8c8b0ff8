#pragma once

// The font a dialog is drawn in, and the dialog base units Windows would derive from it.

#include <imgui.h>

namespace tarnelix::win32 {

struct DialogFont {
    ImFont* font = nullptr; // in the atlas it was added to
    float pixelHeight = 13.0f;
    // A dialog unit is a quarter of baseUnitX across and an eighth of baseUnitY down.
    int baseUnitX = 6;
    int baseUnitY = 13;
};

// Adds a proportional TrueType font close to the template's in size to `atlas` (Liberation Sans,
// else DejaVu Sans, else Dear ImGui's own), builds the atlas and measures the base units from
// the font as Windows does: the average width of the 52 Latin letters, rounded, and the height.
DialogFont addDialogFont(ImFontAtlas& atlas, int pointSize);

} // namespace tarnelix::win32
