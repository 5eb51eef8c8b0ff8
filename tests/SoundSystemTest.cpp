#include "platform/SoundSystem.h"
#include "engine/core/Log.h"
#include "platform/MusicStream.h"

#include "TempDir.h"
#include "ToneFile.h"

#include <fmod.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

struct LogCapture {
    std::vector<std::pair<int, std::string>> lines;
    std::vector<std::string> sections;

    LogCapture() { Log::setSink(&LogCapture::receive, this); }
    ~LogCapture() { Log::setSink(nullptr); }

    static void receive(Log::Kind kind, int level, const char* text, void* user) {
        auto* self = static_cast<LogCapture*>(user);
        if (kind == Log::Kind::Section) {
            self->sections.emplace_back(text);
        } else {
            self->lines.emplace_back(level, text);
        }
    }
};

using Lines = std::vector<std::pair<int, std::string>>;

} // namespace

// Each test starts from the dummy audio driver, whatever an earlier test in the process chose.
class SoundSystemWrapper : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};
using MusicStreamWrapper = SoundSystemWrapper;

TEST_F(SoundSystemWrapper, StartsWithDirectSoundAndLogsTheSettings) {
    LogCapture log;
    {
        SoundSystem sound;
        EXPECT_EQ(sound.channels(), 0);
        ASSERT_TRUE(sound.init(24, 44100, SoundSystem::DirectSound));
        EXPECT_EQ(sound.channels(), 24);
        EXPECT_EQ(sound.mixRate(), 44100);
        EXPECT_EQ(FSOUND_GetOutput(), FSOUND_OUTPUT_DSOUND);
    }
    EXPECT_EQ(log.sections, std::vector<std::string>{"Sound System"});
    EXPECT_EQ(log.lines, (Lines{{1, "Inicializing Sound:\n"},
                                {1, "\tDriver:\t\tMicrosoft Direct Sound\n"},
                                {1, "\tSampling:\t44100\n"},
                                {1, "\tChannels:\t24\n"},
                                {1, "Inicialized\n"}}));
    // Destroying the system closed the library: it can start again.
    EXPECT_NE(FSOUND_Init(22050, 8, 0), 0);
    FSOUND_Close();
}

TEST_F(SoundSystemWrapper, OtherDriversSelectNothing) {
    LogCapture log;
    SoundSystem multimedia;
    ASSERT_TRUE(multimedia.init(8, 22050, SoundSystem::WindowsMultimedia));
    EXPECT_EQ(log.lines.at(1), (std::pair<int, std::string>{1, "\tDriver:\t\tWindows MMSystem\n"}));
    EXPECT_EQ(FSOUND_GetOutput(), FSOUND_OUTPUT_WINMM);
    FSOUND_Close();

    log.lines.clear();
    SoundSystem unchosen;
    ASSERT_TRUE(unchosen.init(8, 22050, 2));
    EXPECT_EQ(log.lines.at(1), (std::pair<int, std::string>{1, "\tSampling:\t22050\n"}));
    EXPECT_EQ(FSOUND_GetOutput(), FSOUND_OUTPUT_WINMM) << "left as it was";
}

TEST_F(SoundSystemWrapper, FailureIsLoggedAtLevelFourAndTheShowGoesOnSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    LogCapture log;
    SoundSystem sound;
    EXPECT_FALSE(sound.init(24, 44100, SoundSystem::DirectSound));
    EXPECT_EQ(sound.channels(), 0);
    EXPECT_EQ(sound.mixRate(), 0);
    ASSERT_GE(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[log.lines.size() - 2],
              (std::pair<int, std::string>{1, " !!!! COULD NOT INICIALIZE !!!!\n"}));
    EXPECT_EQ(log.lines.back(),
              (std::pair<int, std::string>{
                  4, "!!! FAILED TO START SOUND SYSTEM!!!\nPlease see the log file"}));

    TempDir dir;
    MusicStream music;
    music.open(writeToneMp3(dir.file("tone.mp3"), 0.2).c_str(), false);
    music.play();
    music.close();
    EXPECT_EQ(music.stream(), nullptr);
    EXPECT_EQ(music.channel(), -1);
}

TEST_F(MusicStreamWrapper, OpensPlaysAndClosesOnce) {
    TempDir dir;
    SoundSystem sound;
    ASSERT_TRUE(sound.init(24, 44100, SoundSystem::DirectSound));
    MusicStream music;
    EXPECT_EQ(music.stream(), nullptr);
    EXPECT_EQ(music.channel(), 0);
    music.open(writeToneMp3(dir.file("tone.mp3"), 1.0).c_str(), false);
    ASSERT_NE(music.stream(), nullptr);
    music.play();
    EXPECT_EQ(music.channel(), 0);
    music.close();
    EXPECT_NE(music.stream(), nullptr) << "the handle is kept";
    music.close(); // harmless: nothing is freed twice

    MusicStream missing;
    missing.open("no-such-file.mp3", false);
    missing.play();
    missing.close();
    EXPECT_EQ(missing.channel(), -1);
}
