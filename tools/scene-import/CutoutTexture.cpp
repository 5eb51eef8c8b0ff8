#include "tools/scene-import/CutoutTexture.h"

#include "tools/showgen/Image.h"
#include "tools/showgen/ImageFiles.h"

#include <algorithm>

namespace sceneimport {

namespace {

bool decode(const std::vector<uint8_t>& bytes, showgen::Image& image) {
    return showgen::decodePng(bytes, image) || showgen::decodeJpeg(bytes, image);
}

} // namespace

std::vector<uint8_t> mergeCutout(const std::vector<uint8_t>& colour,
                                 const std::vector<uint8_t>& mask) {
    showgen::Image picture;
    showgen::Image alpha;
    if (!decode(colour, picture) || !decode(mask, alpha) || picture.width() <= 0 ||
        alpha.width() <= 0) {
        return {};
    }
    const std::vector<uint8_t>& maskTexels = alpha.rgba();
    bool hasAlpha = false;
    for (size_t i = 3; i < maskTexels.size() && !hasAlpha; i += 4) {
        hasAlpha = maskTexels[i] != 255;
    }
    for (int y = 0; y < picture.height(); ++y) {
        const int my = std::min(alpha.height() - 1, y * alpha.height() / picture.height());
        for (int x = 0; x < picture.width(); ++x) {
            const int mx = std::min(alpha.width() - 1, x * alpha.width() / picture.width());
            const showgen::Colour m = alpha.get(mx, my);
            showgen::Colour c = picture.get(x, y);
            c.a = hasAlpha ? m.a : 0.299 * m.r + 0.587 * m.g + 0.114 * m.b;
            picture.set(x, y, c);
        }
    }
    return showgen::encodePng(picture);
}

} // namespace sceneimport
