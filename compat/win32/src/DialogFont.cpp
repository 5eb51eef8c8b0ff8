#include "DialogFont.h"

#include <cmath>
#include <cstdio>

namespace tarnelix::win32 {
namespace {

// Liberation Sans has the widths of the sans-serif face dialogs were designed in; DejaVu Sans
// is wider (a mode such as "3840 x 2160 : 240 hz" no longer fits the settings dialog's list).
const char* const kFontFiles[] = {
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
};

bool readable(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file) {
        std::fclose(file);
    }
    return file != nullptr;
}

// The template's size in points at 96 dots per inch is the font's em; its cell (ascent plus
// descent, which is what Dear ImGui sizes a font by) is about 1.2 em: 13 pixels at 8 points, as
// the classic dialog font has.
float cellHeight(int pointSize) {
    const int points = pointSize > 0 ? pointSize : 8;
    return std::round(static_cast<float>(points) * 96.0f / 72.0f * 1.2f);
}

} // namespace

DialogFont addDialogFont(ImFontAtlas& atlas, int pointSize) {
    DialogFont result;
    result.pixelHeight = cellHeight(pointSize);
    for (const char* path : kFontFiles) {
        if (readable(path)) {
            result.font = atlas.AddFontFromFileTTF(path, result.pixelHeight);
            if (result.font) {
                break;
            }
        }
    }
    if (!result.font) {
        ImFontConfig config;
        config.SizePixels = result.pixelHeight;
        result.font = atlas.AddFontDefault(&config);
    }
    atlas.Build();
    const ImVec2 letters = result.font->CalcTextSizeA(
        result.pixelHeight, 1e9f, 0.0f, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    result.baseUnitX = (static_cast<int>(letters.x) / 26 + 1) / 2;
    result.baseUnitY = static_cast<int>(result.pixelHeight);
    return result;
}

} // namespace tarnelix::win32
