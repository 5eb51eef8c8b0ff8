#include "ToneFile.h"

#include "tools/showgen/Music.h"

#include <cmath>
#include <fstream>

std::string writeToneMp3(const std::string& path, double seconds) {
    const size_t frames = static_cast<size_t>(seconds * 44100);
    std::vector<int16_t> pcm(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        const auto s = static_cast<int16_t>(12000.0 * std::sin(2.0 * M_PI * 440.0 * i / 44100.0));
        pcm[i * 2] = s;
        pcm[i * 2 + 1] = s;
    }
    const std::vector<uint8_t> mp3 = showgen::encodeMp3(pcm, 128);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(mp3.size()));
    return path;
}
