#pragma once

#include "tools/showgen/GeneratedFile.h"
#include "tools/showgen/Synth.h"

#include <cstdint>
#include <vector>

namespace showgen {

// The song's form: 96 beats per minute, four beats to a 2.5-second bar, so the sections change
// exactly where the show does (10, 35, 70 and 130 seconds) and it ends at 140 seconds.
constexpr double kBeatsPerMinute = 96.0;
constexpr double kSecondsPerBar = 4.0 * 60.0 / kBeatsPerMinute;
constexpr int kBars = 56;
constexpr double kMusicSeconds = kBars * kSecondsPerBar;
constexpr int kMusicSampleRate = 44100;

// First bar of each section: opening, first view, second view, third view, closing.
constexpr int kSectionBars[5] = {0, 4, 14, 28, 52};

// The whole song, mixed and mastered, as 16-bit stereo frames (left, right interleaved).
std::vector<int16_t> renderMusic();

// MPEG-1 Layer III at a constant bit rate through LAME; empty on failure.
std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& stereoFrames, int kilobitsPerSecond);

// What the frame headers of an MP3 stream say.
struct Mp3Summary {
    bool valid = false; // every byte belongs to a well-formed frame
    int sampleRate = 0;
    bool stereo = false;
    size_t frames = 0;
    double seconds = 0.0;
};
Mp3Summary inspectMp3(const std::vector<uint8_t>& bytes);

// "preview1.mp3".
GeneratedFile generateMusic();

} // namespace showgen
