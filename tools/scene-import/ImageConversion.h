#pragma once

// Modellers hand out textures as TGA, BMP, PSD, GIF or PNM as often as JPEG or PNG; the engine
// reads only the last two, so the others are turned into PNG on the way in.

#include <cstdint>
#include <vector>

namespace sceneimport {

// The image in `bytes` as a PNG file, alpha kept. Empty when the bytes are no image the decoder
// knows, or one larger than a texture can be.
std::vector<uint8_t> convertToPng(const std::vector<uint8_t>& bytes);

} // namespace sceneimport
