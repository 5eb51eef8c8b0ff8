#include "image/Image.h"

#include <png.h>

#include <cstring>

namespace tarnelix::d3dx {
namespace {

// Deflate cannot pack more than 1032 bytes into one, so a file whose rows, at one bit a pixel,
// would need more than that of its whole size is cut short or lying: refused before the pixels
// are allocated.
bool sizePlausible(const png_image& png, size_t fileSize) {
    const uint64_t leastRawBytes = uint64_t(png.height) * (1 + (uint64_t(png.width) + 7) / 8);
    return leastRawBytes <= uint64_t(fileSize) * 1032;
}

bool beginRead(const uint8_t* data, size_t size, png_image& png, std::string& error) {
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
    if (!sizePlausible(png, size)) {
        png_image_free(&png);
        error = "PNG: the file is too short for the size it gives";
        return false;
    }
    return true;
}

} // namespace

bool readPngHeader(const uint8_t* data, size_t size, ImageHeader& header, std::string& error) {
    png_image png;
    if (!beginRead(data, size, png, error)) {
        return false;
    }
    header.format = ImageFileFormat::Png;
    header.width = png.width;
    header.height = png.height;
    header.hasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png_image_free(&png);
    return true;
}

bool decodePng(const uint8_t* data, size_t size, Image& image, std::string& error) {
    png_image png;
    if (!beginRead(data, size, png, error)) {
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
