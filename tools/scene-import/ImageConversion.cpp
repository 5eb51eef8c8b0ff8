#include "tools/scene-import/ImageConversion.h"

#include "tools/showgen/ImageFiles.h"

#include <stb_image.h>

#include <climits>

namespace sceneimport {

namespace {

// The largest side D3DX makes a texture of; a file claiming more is refused before decoding,
// so a few bytes cannot ask for gigabytes.
constexpr int kLargestSide = 16384;

} // namespace

std::vector<uint8_t> convertToPng(const std::vector<uint8_t>& bytes) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX)) {
        return {};
    }
    const auto* data = bytes.data();
    const int size = static_cast<int>(bytes.size());
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(data, size, &width, &height, &channels) || width <= 0 ||
        height <= 0 || width > kLargestSide || height > kLargestSide) {
        return {};
    }
    stbi_uc* rgba = stbi_load_from_memory(data, size, &width, &height, &channels, 4);
    if (rgba == nullptr) {
        return {};
    }
    showgen::Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const stbi_uc* p = rgba + (static_cast<size_t>(y) * width + x) * 4;
            image.set(x, y,
                      showgen::Colour(p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, p[3] / 255.0));
        }
    }
    stbi_image_free(rgba);
    return showgen::encodePng(image);
}

} // namespace sceneimport
