// tarnelix-capture on the generated show: frames at known times.

#include "TempDir.h"

#include "app/capture/CaptureMain.h"

#include <gtest/gtest.h>

#include <png.h>

#include <string>
#include <unistd.h>
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

} // namespace
