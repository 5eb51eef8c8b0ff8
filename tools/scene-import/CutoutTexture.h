#pragma once

// The engine cuts a material out by its colour texture's alpha alone; a source that keeps the
// mask in a texture of its own (OBJ's map_d, an opacity map) gets the two merged into one PNG.

#include <cstdint>
#include <vector>

namespace sceneimport {

// The colour image (JPEG or PNG) with the mask's alpha: the mask's own alpha channel where it
// has one, else its brightness; a mask of another size is stretched to fit. Empty when either
// image cannot be decoded.
std::vector<uint8_t> mergeCutout(const std::vector<uint8_t>& colour,
                                 const std::vector<uint8_t>& mask);

} // namespace sceneimport
