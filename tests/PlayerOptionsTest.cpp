#include "app/player/PlayerOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parse(std::vector<const char*> args, PlayerOptions& options, std::string& error) {
    return parsePlayerOptions(static_cast<int>(args.size()), args.data(), options, error);
}

} // namespace

TEST(PlayerOptionsTest, ALoopIsReadAsFromColonToAndSilentDropsTheMusic) {
    PlayerOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--loop", "30:41.5", "--silent"}, options, error)) << error;
    ASSERT_TRUE(options.looping());
    EXPECT_DOUBLE_EQ(options.loopFrom, 30.0);
    EXPECT_DOUBLE_EQ(options.loopTo, 41.5);
    EXPECT_TRUE(options.silent);
}

TEST(PlayerOptionsTest, PlayingStartsAtFromElseAtTheLoopsStartElseAtZero) {
    struct Case {
        std::vector<const char*> args;
        double start;
    };
    const std::vector<Case> cases = {
        {{}, 0.0},
        {{"--loop", "35:40"}, 35.0},
        {{"--from", "12"}, 12.0},
        {{"--loop", "35:40", "--from", "37.5"}, 37.5},
        {{"--from", "0", "--loop", "35:40"}, 0.0},
    };
    for (const Case& c : cases) {
        PlayerOptions options;
        std::string error;
        ASSERT_TRUE(parse(c.args, options, error)) << error;
        EXPECT_DOUBLE_EQ(options.startTime(), c.start) << c.args.size() << " arguments";
    }
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
