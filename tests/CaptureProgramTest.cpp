// tarnelix-capture on the generated show: frames at known times.

#include "TempDir.h"

#include "app/capture/CaptureMain.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

std::vector<uint8_t> readPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    return pixels;
}

double meanLevel(const std::vector<uint8_t>& pixels) {
    double sum = 0.0;
    for (uint8_t p : pixels) {
        sum += p;
    }
    return pixels.empty() ? -1.0 : sum / static_cast<double>(pixels.size());
}

TEST(CaptureProgramTest, BlackAtTheStartAndTheSplashAtFiveSeconds) {
    ASSERT_EQ(chdir(TARNELIX_SHOW_DIR), 0);
    TempDir dir;
    const char* argv[] = {"tarnelix-capture",
                          "--frames",
                          dir.path().c_str(),
                          "--width",
                          "160",
                          "--height",
                          "120",
                          "--fps",
                          "10",
                          "--to",
                          "5"};
    ASSERT_EQ(runCapture(11, argv), 0);
    std::vector<uint8_t> first = readPng(dir.file("frame-000000.png"));
    std::vector<uint8_t> fifth = readPng(dir.file("frame-000050.png"));
    ASSERT_EQ(first.size(), 160u * 120u * 3u);
    ASSERT_EQ(fifth.size(), first.size());
    EXPECT_EQ(meanLevel(first), 0.0) << "the first frame is plain black";
    EXPECT_GT(meanLevel(fifth), 10.0) << "at 5 s the opening image is fully in";
    EXPECT_TRUE(readPng(dir.file("frame-000051.png")).empty()) << "nothing after --to";
}

// Runs the capture program in the show's folder at 160 x 120 and 10 frames per second.
int capture(const std::string& arguments) {
    const std::string command = std::string("cd '") + TARNELIX_SHOW_DIR + "' && '" +
                                TARNELIX_CAPTURE_PROGRAM + "' --width 160 --height 120 --fps 10 " +
                                arguments + " 2>/dev/null";
    return std::system(command.c_str());
}

std::string frameName(int64_t frame) {
    char name[32];
    std::snprintf(name, sizeof(name), "frame-%06lld.png", static_cast<long long>(frame));
    return name;
}

// A seek steps through the frames before its target without drawing them. Its frames must be
// the very pictures drawn when every frame is drawn from the start: around each segment
// boundary (the last frame of one segment, the black first frame of the next, the fade in) and
// inside each segment.
TEST(CaptureProgramTest, SeekingDrawsTheSameFramesAsPlayingFromTheStart) {
    TempDir dir;
    const std::string full = dir.file("full");
    ASSERT_EQ(capture("--no-seek --to 135.2 --frames '" + full + "'"), 0);

    const std::pair<double, double> stretches[] = {
        {9.7, 10.4}, {34.7, 35.4}, {69.7, 70.4}, {129.7, 130.4}};
    for (const auto& [from, to] : stretches) {
        SCOPED_TRACE(from);
        const std::string part = dir.file("from-" + std::to_string(from));
        ASSERT_EQ(capture("--from " + std::to_string(from) + " --to " + std::to_string(to) +
                          " --frames '" + part + "'"),
                  0);
        for (int64_t frame = std::llround(from * 10); frame <= std::llround(to * 10); ++frame) {
            SCOPED_TRACE(frame);
            const std::vector<uint8_t> seeked = readPng(part + "/" + frameName(frame));
            ASSERT_FALSE(seeked.empty());
            EXPECT_TRUE(seeked == readPng(full + "/" + frameName(frame)));
        }
    }
    for (const double at : {22.5, 52.5, 100.0, 135.0}) {
        SCOPED_TRACE(at);
        const std::string still = dir.file("still-" + std::to_string(at) + ".png");
        ASSERT_EQ(capture("--at " + std::to_string(at) + " --out '" + still + "'"), 0);
        const std::vector<uint8_t> seeked = readPng(still);
        ASSERT_FALSE(seeked.empty());
        EXPECT_TRUE(seeked == readPng(full + "/" + frameName(std::llround(at * 10))));
    }
}

// A benchmark's figures mean little without the card or rasteriser that drew them: its first
// line names the adapter as GL names itself, not the stand-in's placeholder.
TEST(CaptureProgramTest, ABenchmarkNamesTheAdapterItDrewWith) {
    const std::string command = std::string("cd '") + TARNELIX_SHOW_DIR + "' && '" +
                                TARNELIX_CAPTURE_PROGRAM +
                                "' --benchmark --width 64 --height 48 --to 0.1 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char chunk[256];
    while (std::fgets(chunk, sizeof(chunk), pipe)) {
        output += chunk;
    }
    ASSERT_EQ(pclose(pipe), 0);
    const std::string first = output.substr(0, output.find('\n'));
    EXPECT_EQ(first.rfind("adapter: ", 0), 0u) << first;
    EXPECT_NE(first.find(", OpenGL "), std::string::npos) << first;
    EXPECT_EQ(first.find("Tarnelix"), std::string::npos) << first;
}

} // namespace
