#include <fmod.h>

#include "TempDir.h"
#include "ToneFile.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace {

// Routes the mixer's output into a raw file (signed 16-bit stereo), as fast as it can mix.
void useDiskAudio(const std::string& file) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
}

template <typename Done> bool waitFor(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::vector<int16_t> readSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

} // namespace

// Each test starts from the dummy audio driver, whatever an earlier test in the process chose.
class Fsound : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_F(Fsound, InitFailsWithoutAnAudioDeviceAndStreamsThenDoNothing) {
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    EXPECT_EQ(FSOUND_Init(44100, 24, 0), 0);
    TempDir dir;
    const std::string tone = writeToneMp3(dir.file("tone.mp3"), 0.2);
    FSOUND_STREAM* stream = FSOUND_Stream_Open(tone.c_str(), 0, 0, 0);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), -1);
    EXPECT_EQ(FSOUND_Stream_Close(stream), 0);
    FSOUND_Close();
    FSOUND_Close();
}

TEST_F(Fsound, OutputSelectionAndBadArguments) {
    EXPECT_EQ(FSOUND_GetOutput(), FSOUND_OUTPUT_NOSOUND);
    EXPECT_EQ(FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND), 1);
    EXPECT_EQ(FSOUND_GetOutput(), FSOUND_OUTPUT_DSOUND);
    EXPECT_EQ(FSOUND_SetOutput(9), 0);
    EXPECT_EQ(FSOUND_GetOutput(), FSOUND_OUTPUT_DSOUND);
    EXPECT_EQ(FSOUND_Init(0, 24, 0), 0);
    ASSERT_NE(FSOUND_Init(44100, 24, 0), 0);
    EXPECT_EQ(FSOUND_Init(44100, 24, 0), 0) << "already running";
    EXPECT_EQ(FSOUND_SetOutput(FSOUND_OUTPUT_WINMM), 0) << "too late once running";
    EXPECT_EQ(FSOUND_Stream_Open("no-such-file.mp3", 0, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Stream_Open(nullptr, 0, 0, 0), nullptr);
    FSOUND_Close();
}

// The program says in one line that the music cannot be played: the decoder adds none of its own.
TEST_F(Fsound, AFileThatIsNoMp3IsRefusedWithoutTheDecodersNotes) {
    ASSERT_NE(FSOUND_Init(44100, 24, 0), 0);
    TempDir dir;
    std::string noise(64 * 1024, '\0');
    for (size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    const std::string path = dir.write("preview1.mp3", noise);
    testing::internal::CaptureStderr();
    FSOUND_STREAM* stream = FSOUND_Stream_Open(path.c_str(), 0, 0, 0);
    const std::string printed = testing::internal::GetCapturedStderr();
    if (stream != nullptr) {
        FSOUND_Stream_Close(stream);
    }
    FSOUND_Close();
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(printed, "");
}

TEST_F(Fsound, PlaysAStreamOnceThroughTheDiskDriver) {
    TempDir dir;
    const std::string tone = writeToneMp3(dir.file("tone.mp3"), 0.5);
    const std::string raw = dir.file("out.raw");
    useDiskAudio(raw);
    ASSERT_NE(FSOUND_Init(44100, 24, 0), 0);
    FSOUND_STREAM* stream = FSOUND_Stream_Open(tone.c_str(), 0, 0, 0);
    ASSERT_NE(stream, nullptr);
    EXPECT_GE(FSOUND_Stream_Play(FSOUND_FREE, stream), 0);
    EXPECT_TRUE(waitFor([] { return Mix_PlayingMusic() == 0; }));
    EXPECT_EQ(FSOUND_Stream_Close(stream), 1);
    FSOUND_Close();

    // Half a second of tone, once: loud samples span about 0.5 s and no more.
    const std::vector<int16_t> samples = readSamples(raw);
    size_t first = samples.size();
    size_t last = 0;
    size_t loud = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > 2000) {
            first = std::min(first, i);
            last = i;
            ++loud;
        }
    }
    ASSERT_GT(loud, 0u) << "nothing was heard";
    const double seconds = (last - first) / 2.0 / 44100.0;
    EXPECT_GT(seconds, 0.4);
    EXPECT_LT(seconds, 0.7);
}

TEST_F(Fsound, LoopingStreamKeepsPlaying) {
    TempDir dir;
    const std::string tone = writeToneMp3(dir.file("tone.mp3"), 0.2);
    const std::string raw = dir.file("out.raw");
    useDiskAudio(raw);
    ASSERT_NE(FSOUND_Init(44100, 24, 0), 0);
    FSOUND_STREAM* stream = FSOUND_Stream_Open(tone.c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(FSOUND_Stream_Play(3, stream), 3);
    // Four times the tone's length mixed, and it still plays.
    const std::uintmax_t fourPlays = 4 * 0.2 * 44100 * 4;
    EXPECT_TRUE(waitFor([&] {
        std::error_code ignored;
        return std::filesystem::file_size(raw, ignored) > fourPlays &&
               std::filesystem::file_size(raw, ignored) != static_cast<std::uintmax_t>(-1);
    }));
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(FSOUND_Stream_Close(stream), 1);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    FSOUND_Close();
}

TEST_F(Fsound, PauseHoldsTheMusicAndSetTimeRestartsAFinishedStream) {
    TempDir dir;
    const std::string tone = writeToneMp3(dir.file("tone.mp3"), 0.3);
    ASSERT_NE(FSOUND_Init(44100, 24, 0), 0);
    FSOUND_STREAM* stream = FSOUND_Stream_Open(tone.c_str(), 0, 0, 0);
    ASSERT_NE(stream, nullptr);
    const int channel = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_GE(channel, 0);
    EXPECT_EQ(FSOUND_SetPaused(channel, 1), 1);
    EXPECT_EQ(FSOUND_GetPaused(channel), 1);
    EXPECT_EQ(Mix_PausedMusic(), 1);
    EXPECT_EQ(FSOUND_SetPaused(channel, 0), 1);
    EXPECT_EQ(FSOUND_GetPaused(channel), 0);
    EXPECT_TRUE(waitFor([] { return Mix_PlayingMusic() == 0; }));

    // A seek after the end plays the music again from there, still paused if it was.
    FSOUND_SetPaused(channel, 1);
    EXPECT_EQ(FSOUND_Stream_SetTime(stream, 100), 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_PausedMusic(), 1);
    EXPECT_EQ(FSOUND_Stream_SetTime(stream, -1), 0);
    EXPECT_EQ(FSOUND_Stream_SetTime(nullptr, 0), 0);
    EXPECT_EQ(FSOUND_Stream_Close(stream), 1);
    FSOUND_Close();
    EXPECT_EQ(FSOUND_SetPaused(0, 1), 0) << "not running";
}
