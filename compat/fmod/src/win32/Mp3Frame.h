#pragma once

#include <cstddef>
#include <cstdint>

// What the first MPEG audio frame of an MP3 file says about the whole stream: enough to
// describe it to a system decoder, which wants the format before it sees any data.
struct Mp3Frame {
    size_t offset = 0;       // where the frame starts, past any ID3v2 tag
    int version = 0;         // 10 for MPEG-1, 20 for MPEG-2, 25 for MPEG-2.5
    int layer = 0;           // 1, 2 or 3
    int bitRate = 0;         // bits per second
    int sampleRate = 0;      // samples per second
    int channels = 0;        // 1 or 2
    int samplesPerFrame = 0; // 384, 576 or 1152
    size_t frameBytes = 0;   // this frame's length, padding included
};

// Decodes the four header bytes at `p`; false for anything that is not a valid frame header
// (free-format and reserved values included, which no stream of ours uses).
bool parseMp3FrameHeader(const uint8_t* p, Mp3Frame& frame);

// Finds the first frame: after an ID3v2 tag if there is one, and followed by a second valid
// header where the data reaches that far, so that stray sync bits in a tag or in junk before
// the audio are not taken for it.
bool findFirstMp3Frame(const uint8_t* data, size_t size, Mp3Frame& frame);
