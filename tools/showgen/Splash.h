#pragma once

#include "tools/showgen/GeneratedFile.h"
#include "tools/showgen/Image.h"

#include <string>

namespace showgen {

constexpr int kSplashWidth = 1024;
constexpr int kSplashHeight = 768;

// The opening title and the closing credits. Fail (leaving `error`) when a font is missing.
bool introImage(const std::string& fontDir, Image& out, std::string& error);
bool extroImage(const std::string& fontDir, Image& out, std::string& error);

// Both pictures as "intro.jpg" and "extro.jpg".
bool generateSplashes(const std::string& fontDir, std::vector<GeneratedFile>& out,
                      std::string& error);

} // namespace showgen
