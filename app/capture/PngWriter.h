#pragma once

#include <cstdint>
#include <string>

// Writes an 8-bit RGB image (rows top to bottom, `stride` bytes apart) as a PNG file. False,
// with the reason in `error`, when the file cannot be written.
bool writePng(const std::string& path, int width, int height, const uint8_t* rgb, size_t stride,
              std::string& error);
