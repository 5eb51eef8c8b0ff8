#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnelix::d3dx {

// Decoded pixels, 8 bits per channel in the byte order of A8R8G8B8 in memory (B, G, R, A),
// rows top to bottom without padding.
struct Image {
    uint32_t width = 0;
    uint32_t height = 0;
    bool hasAlpha = false; // the file carries transparency (an alpha channel or a tRNS chunk)
    std::vector<uint8_t> pixels;
};

enum class ImageFileFormat { Unknown, Jpeg, Png };

// Recognises the format from the first bytes, whatever the file's name says.
ImageFileFormat detectImageFormat(const uint8_t* data, size_t size);

// Decodes a JPEG (baseline or progressive, greyscale or colour) or PNG (any colour type and bit
// depth). Images larger than kMaxImageSide on a side are refused before any pixel is stored.
bool decodeImage(const uint8_t* data, size_t size, Image& image, std::string& error);

bool decodeJpeg(const uint8_t* data, size_t size, Image& image, std::string& error);
bool decodePng(const uint8_t* data, size_t size, Image& image, std::string& error);

constexpr uint32_t kMaxImageSide = 16384;

} // namespace tarnelix::d3dx
