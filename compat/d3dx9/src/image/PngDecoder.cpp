#include "image/Image.h"

#include <png.h>

#include <cstring>

namespace tarnelix::d3dx {

bool decodePng(const uint8_t* data, size_t size, Image& image, std::string& error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size)) {
        error = std::string("PNG: ") + png.message;
        return false;
    }
    if (png.width == 0 || png.height == 0 || png.width > kMaxImageSide ||
        png.height > kMaxImageSide) {
        png_image_free(&png);
        error = "PNG: image size out of range";
        return false;
    }
    // The file's own format says whether it carries transparency (alpha channel or tRNS).
    const bool hasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = PNG_FORMAT_BGRA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        error = std::string("PNG: ") + png.message;
        png_image_free(&png);
        return false;
    }
    image.width = png.width;
    image.height = png.height;
    image.hasAlpha = hasAlpha;
    image.pixels = std::move(pixels);
    return true;
}

} // namespace tarnelix::d3dx
