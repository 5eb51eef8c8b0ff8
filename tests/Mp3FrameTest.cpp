// The MP3 frame reader the Windows build describes the music to the system's decoder with.

#include "Mp3Frame.h"
#include "TempDir.h"
#include "ToneFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<uint8_t> bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) {
        out.push_back(static_cast<uint8_t>(v));
    }
    return out;
}

// A run of `count` MPEG-1 layer 3 frames, 128 kbit/s, 44.1 kHz, stereo, unpadded.
std::vector<uint8_t> layer3Frames(int count) {
    std::vector<uint8_t> out;
    for (int i = 0; i < count; ++i) {
        std::vector<uint8_t> frame(417, 0);
        frame[0] = 0xFF;
        frame[1] = 0xFB;
        frame[2] = 0x90;
        frame[3] = 0x00;
        out.insert(out.end(), frame.begin(), frame.end());
    }
    return out;
}

} // namespace

TEST(Mp3Frame, ReadsTheHeaderOfEachVersionAndLayer) {
    struct Case {
        std::vector<uint8_t> header;
        int version, layer, bitRate, sampleRate, channels, samplesPerFrame;
        size_t frameBytes;
    };
    const Case cases[] = {
        // MPEG-1 layer 3, 128 kbit/s, 44.1 kHz, stereo, unpadded and padded.
        {bytes({0xFF, 0xFB, 0x90, 0x00}), 10, 3, 128000, 44100, 2, 1152, 417},
        {bytes({0xFF, 0xFB, 0x92, 0x00}), 10, 3, 128000, 44100, 2, 1152, 418},
        // MPEG-2, 64 kbit/s, 22.05 kHz, single channel: half the samples per frame.
        {bytes({0xFF, 0xF3, 0x80, 0xC0}), 20, 3, 64000, 22050, 1, 576, 208},
        // Layer 1 counts in four-byte slots: 32 kbit/s at 32 kHz is 12 slots.
        {bytes({0xFF, 0xFF, 0x18, 0x00}), 10, 1, 32000, 32000, 2, 384, 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frameBytes);
        Mp3Frame frame;
        ASSERT_TRUE(parseMp3FrameHeader(c.header.data(), frame));
        EXPECT_EQ(frame.version, c.version);
        EXPECT_EQ(frame.layer, c.layer);
        EXPECT_EQ(frame.bitRate, c.bitRate);
        EXPECT_EQ(frame.sampleRate, c.sampleRate);
        EXPECT_EQ(frame.channels, c.channels);
        EXPECT_EQ(frame.samplesPerFrame, c.samplesPerFrame);
        EXPECT_EQ(frame.frameBytes, c.frameBytes);
    }
}

TEST(Mp3Frame, RefusesReservedAndFreeFormatHeaders) {
    Mp3Frame frame;
    EXPECT_FALSE(parseMp3FrameHeader(bytes({0xFF, 0xEB, 0x90, 0x00}).data(), frame)); // version
    EXPECT_FALSE(parseMp3FrameHeader(bytes({0xFF, 0xF9, 0x90, 0x00}).data(), frame)); // layer
    EXPECT_FALSE(parseMp3FrameHeader(bytes({0xFF, 0xFB, 0xF0, 0x00}).data(), frame)); // bit rate
    EXPECT_FALSE(parseMp3FrameHeader(bytes({0xFF, 0xFB, 0x00, 0x00}).data(), frame)); // free
    EXPECT_FALSE(parseMp3FrameHeader(bytes({0xFF, 0xFB, 0x9C, 0x00}).data(), frame)); // rate
    EXPECT_FALSE(parseMp3FrameHeader(bytes({0xFE, 0xFB, 0x90, 0x00}).data(), frame)); // sync
}

TEST(Mp3Frame, SkipsTheId3TagAndSyncBitsInIt) {
    // A tag whose 7-bit size bytes say 6 * 128 = 768 bytes of body, holding a frame header one
    // frame's length before the audio: read as audio, it would pass for the first frame.
    std::vector<uint8_t> file = bytes({'I', 'D', '3', 3, 0, 0, 0, 0, 6, 0});
    std::vector<uint8_t> body(768, 0);
    const size_t fake = 768 - 417;
    body[fake] = 0xFF;
    body[fake + 1] = 0xFB;
    body[fake + 2] = 0x90;
    file.insert(file.end(), body.begin(), body.end());
    const std::vector<uint8_t> audio = layer3Frames(3);
    file.insert(file.end(), audio.begin(), audio.end());
    Mp3Frame frame;
    ASSERT_TRUE(findFirstMp3Frame(file.data(), file.size(), frame));
    EXPECT_EQ(frame.offset, 778u);
}

TEST(Mp3Frame, AStraySyncWithoutAFollowingFrameIsPassedOver) {
    std::vector<uint8_t> file = bytes({0x00, 0xFF, 0xFB, 0x90, 0x00, 0x11, 0x22});
    file.resize(600, 0x55); // no second header where the stray one's length points
    const std::vector<uint8_t> audio = layer3Frames(2);
    file.insert(file.end(), audio.begin(), audio.end());
    Mp3Frame frame;
    ASSERT_TRUE(findFirstMp3Frame(file.data(), file.size(), frame));
    EXPECT_EQ(frame.offset, 600u);
    EXPECT_FALSE(findFirstMp3Frame(file.data(), 500, frame));
}

TEST(Mp3Frame, FindsTheFirstFrameOfAnEncodedTone) {
    TempDir dir;
    const std::string path = writeToneMp3(dir.path() + "/tone.mp3", 1.0);
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    Mp3Frame frame;
    ASSERT_TRUE(findFirstMp3Frame(file.data(), file.size(), frame));
    EXPECT_EQ(frame.layer, 3);
    EXPECT_EQ(frame.channels, 2);
    EXPECT_EQ(frame.sampleRate, 44100);
    EXPECT_GT(frame.bitRate, 0);
}
