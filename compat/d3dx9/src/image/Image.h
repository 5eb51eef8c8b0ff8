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

// What a file's header says, read without decoding a pixel.
struct ImageHeader {
    ImageFileFormat format = ImageFileFormat::Unknown;
    uint32_t width = 0;
    uint32_t height = 0;
    bool hasAlpha = false;
};

// Recognises the format from the first bytes, whatever the file's name says.
ImageFileFormat detectImageFormat(const uint8_t* data, size_t size);

// Reads the size and kind of a JPEG or PNG; false, with the reason, for anything the decoder
// below would refuse from its header alone.
bool readImageHeader(const uint8_t* data, size_t size, ImageHeader& header, std::string& error);

// Decodes a JPEG (baseline or progressive, greyscale or colour) or PNG (any colour type and bit
// depth). Images larger than kMaxImageSide on a side are refused before any pixel is stored.
// `atLeastWidth` x `atLeastHeight` is the smallest picture the caller will use: a JPEG larger
// than that is decoded at the smallest of libjpeg's reduced scales (1/8 to 7/8) that still
// covers it, which costs a fraction of the time and memory; the result may then be smaller than
// the file's size. 0 x 0 decodes at full size.
bool decodeImage(const uint8_t* data, size_t size, Image& image, std::string& error,
                 uint32_t atLeastWidth = 0, uint32_t atLeastHeight = 0);

bool readJpegHeader(const uint8_t* data, size_t size, ImageHeader& header, std::string& error);
bool readPngHeader(const uint8_t* data, size_t size, ImageHeader& header, std::string& error);
bool decodeJpeg(const uint8_t* data, size_t size, Image& image, std::string& error,
                uint32_t atLeastWidth = 0, uint32_t atLeastHeight = 0);
bool decodePng(const uint8_t* data, size_t size, Image& image, std::string& error);

constexpr uint32_t kMaxImageSide = 16384;

} // namespace tarnelix::d3dx
