#include "app/player/PlayerOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parse(std::vector<const char*> args, PlayerOptions& options, std::string& error) {
    return parsePlayerOptions(static_cast<int>(args.size()), args.data(), options, error);
}

} // namespace

TEST(PlayerOptionsTest, DefaultsPlayTheShowsOwnFilesInAWindow) {
    PlayerOptions options;
    std::string error;
    ASSERT_TRUE(parse({}, options, error));
    EXPECT_EQ(options.scene, "teste5.3df");
    EXPECT_EQ(options.music, "preview1.mp3");
    EXPECT_TRUE(options.dir.empty());
    EXPECT_EQ(options.width, 1024);
    EXPECT_EQ(options.height, 768);
    EXPECT_FALSE(options.fullscreen);
    EXPECT_FALSE(options.paused);
    EXPECT_FALSE(options.looping());
}

TEST(PlayerOptionsTest, ReadsEveryOption) {
    PlayerOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--dir", "/tmp/show", "--scene", "other.3df", "--music", "song.mp3",
                       "--width", "640", "--height", "480", "--fullscreen", "--from", "12.5",
                       "--paused", "--loop", "30:41.5"},
                      options, error))
        << error;
    EXPECT_EQ(options.dir, "/tmp/show");
    EXPECT_EQ(options.scene, "other.3df");
    EXPECT_EQ(options.music, "song.mp3");
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.height, 480);
    EXPECT_TRUE(options.fullscreen);
    EXPECT_DOUBLE_EQ(options.from, 12.5);
    EXPECT_TRUE(options.paused);
    ASSERT_TRUE(options.looping());
    EXPECT_DOUBLE_EQ(options.loopFrom, 30.0);
    EXPECT_DOUBLE_EQ(options.loopTo, 41.5);

    PlayerOptions silent;
    ASSERT_TRUE(parse({"--silent", "--help"}, silent, error));
    EXPECT_TRUE(silent.music.empty());
    EXPECT_TRUE(silent.help);
}

TEST(PlayerOptionsTest, RefusesWhatItCannotUseAndSaysWhich) {
    const std::vector<std::vector<const char*>> bad = {
        {"--width", "8"},     {"--height", "ten"}, {"--from", "-1"},  {"--from", "nan"},
        {"--loop", "5"},      {"--loop", "5:5"},   {"--loop", "9:2"}, {"--loop", "-1:3"},
        {"--loop", "a:3"},    {"--scene", ""},     {"--music", ""},   {"--width"},
        {"--no-such-option"},
    };
    for (const auto& args : bad) {
        PlayerOptions options;
        std::string error;
        EXPECT_FALSE(parse(args, options, error)) << args[0];
        EXPECT_NE(error.find(args[0]), std::string::npos) << error;
    }
}
