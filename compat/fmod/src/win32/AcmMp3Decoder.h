#pragma once

#include <windows.h>

#include <mmreg.h>

#include <cstdint>
#include <string>
#include <vector>

// 16-bit PCM, interleaved, in the format the system's decoder chose.
struct PcmSound {
    WAVEFORMATEX format{};
    std::vector<uint8_t> samples;
};

// The whole of an MP3 file decoded to PCM by the system's MP3 codec (ACM). False, with the
// reason in `error`, when the data is no MP3 or no installed codec takes it.
bool decodeMp3(const std::vector<uint8_t>& file, PcmSound& sound, std::string& error);

// True when an installed ACM codec decodes MPEG layer 3 to PCM at all.
bool acmHasMp3Decoder();
