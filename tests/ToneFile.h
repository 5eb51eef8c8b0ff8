#pragma once

#include <string>

// Writes a short stereo MP3 of a steady tone (seconds long) and returns its path.
std::string writeToneMp3(const std::string& path, double seconds);
