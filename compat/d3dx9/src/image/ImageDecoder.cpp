#include "image/Image.h"

#include <algorithm>

namespace tarnelix::d3dx {

ImageFileFormat detectImageFormat(const uint8_t* data, size_t size) {
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data == nullptr) {
        return ImageFileFormat::Unknown;
    }
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        return ImageFileFormat::Jpeg;
    }
    if (size >= 8 && std::equal(kPng, kPng + 8, data)) {
        return ImageFileFormat::Png;
    }
    return ImageFileFormat::Unknown;
}

bool readImageHeader(const uint8_t* data, size_t size, ImageHeader& header, std::string& error) {
    switch (detectImageFormat(data, size)) {
    case ImageFileFormat::Jpeg:
        return readJpegHeader(data, size, header, error);
    case ImageFileFormat::Png:
        return readPngHeader(data, size, header, error);
    default:
        error = "unrecognised image format";
        return false;
    }
}

bool decodeImage(const uint8_t* data, size_t size, Image& image, std::string& error,
                 uint32_t atLeastWidth, uint32_t atLeastHeight) {
    switch (detectImageFormat(data, size)) {
    case ImageFileFormat::Jpeg:
        return decodeJpeg(data, size, image, error, atLeastWidth, atLeastHeight);
    case ImageFileFormat::Png:
        return decodePng(data, size, image, error);
    default:
        error = "unrecognised image format";
        return false;
    }
}

} // namespace tarnelix::d3dx
