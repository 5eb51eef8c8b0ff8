#pragma once

#include "tools/showgen/Image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace showgen {

// How a JPEG stores colour: as luma and chroma (smaller, for pictures) or as the red, green and
// blue channels themselves (for normal maps, whose channels are vectors and must not bleed into
// each other; a flat colour then decodes exactly).
enum class JpegChannels { LumaChroma, Rgb };

// JPEG with fixed encoder settings (integer DCT, optimised Huffman tables, no chroma
// subsampling), so the same picture always gives the same bytes. Alpha is dropped: JPEG has none.
std::vector<uint8_t> encodeJpeg(const Image& image, int quality,
                                JpegChannels channels = JpegChannels::LumaChroma);

// RGBA PNG with fixed compression settings and no time stamp, for pictures whose alpha matters.
std::vector<uint8_t> encodePng(const Image& image);

// Decoders for the tests and for checking what the encoders wrote; false on bad input.
bool decodeJpeg(const std::vector<uint8_t>& bytes, Image& out);
bool decodePng(const std::vector<uint8_t>& bytes, Image& out);

} // namespace showgen
