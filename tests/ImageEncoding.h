#pragma once

#include <cstdint>
#include <vector>

// Encoders for the images the texture tests feed to the decoders. Pixels are R, G, B(, A)
// bytes, or one grey byte per pixel when `components` is 1.
std::vector<uint8_t> encodeJpeg(const std::vector<uint8_t>& pixels, int width, int height,
                                int components, bool progressive, int quality = 95);

// `format` is a libpng simplified-API format (PNG_FORMAT_RGBA, PNG_FORMAT_GRAY, ...); pixels
// are laid out as that format says.
std::vector<uint8_t> encodePng(const void* pixels, int width, int height, uint32_t format,
                               const void* colormap = nullptr, int colormapEntries = 0);

// A width x height image of one colour.
std::vector<uint8_t> solidPixels(int width, int height, std::vector<uint8_t> pixel);

// Whether two texels (B, G, R, A) differ by at most `tolerance` in every channel.
bool nearTexel(const std::vector<int>& a, const std::vector<int>& b, int tolerance);
