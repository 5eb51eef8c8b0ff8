#include "Mp3Frame.h"

namespace {

// Kilobits per second by [MPEG-1 ? 0 : 1][layer - 1][index]; 0 is free format, not supported.
constexpr int kBitRates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
};
constexpr int kMpeg1SampleRates[3] = {44100, 48000, 32000};

// An ID3v2 tag's length: ten header bytes, the body's four 7-bit size bytes, and a footer of
// ten more when its flag is set. Zero when there is no tag.
size_t id3v2Length(const uint8_t* data, size_t size) {
    if (size < 10 || data[0] != 'I' || data[1] != 'D' || data[2] != '3') {
        return 0;
    }
    size_t body = 0;
    for (int i = 6; i < 10; ++i) {
        body = (body << 7) | (data[i] & 0x7F);
    }
    const size_t footer = (data[5] & 0x10) != 0 ? 10 : 0;
    return 10 + body + footer;
}

} // namespace

bool parseMp3FrameHeader(const uint8_t* p, Mp3Frame& frame) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) {
        return false;
    }
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitRateIndex = (p[2] >> 4) & 15;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitRateIndex == 0 || bitRateIndex == 15 ||
        rateIndex == 3) {
        return false;
    }
    const bool mpeg1 = versionBits == 3;
    frame.version = mpeg1 ? 10 : versionBits == 2 ? 20 : 25;
    frame.layer = 4 - layerBits;
    frame.bitRate = kBitRates[mpeg1 ? 0 : 1][frame.layer - 1][bitRateIndex] * 1000;
    frame.sampleRate = kMpeg1SampleRates[rateIndex] / (mpeg1 ? 1 : versionBits == 2 ? 2 : 4);
    frame.channels = ((p[3] >> 6) & 3) == 3 ? 1 : 2;
    const size_t padding = (p[2] >> 1) & 1;
    if (frame.layer == 1) {
        frame.samplesPerFrame = 384;
        frame.frameBytes = (12u * frame.bitRate / frame.sampleRate + padding) * 4;
    } else {
        frame.samplesPerFrame = frame.layer == 3 && !mpeg1 ? 576 : 1152;
        frame.frameBytes =
            static_cast<size_t>(frame.samplesPerFrame / 8) * frame.bitRate / frame.sampleRate +
            padding;
    }
    return true;
}

bool findFirstMp3Frame(const uint8_t* data, size_t size, Mp3Frame& frame) {
    for (size_t at = id3v2Length(data, size); at + 4 <= size; ++at) {
        Mp3Frame candidate;
        if (!parseMp3FrameHeader(data + at, candidate)) {
            continue;
        }
        const size_t next = at + candidate.frameBytes;
        Mp3Frame following;
        if (next + 4 <= size &&
            (!parseMp3FrameHeader(data + next, following) ||
             following.sampleRate != candidate.sampleRate || following.layer != candidate.layer)) {
            continue;
        }
        candidate.offset = at;
        frame = candidate;
        return true;
    }
    return false;
}
