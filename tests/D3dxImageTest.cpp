#include "image/Image.h"
#include "image/ImageScaling.h"

#include "ImageEncoding.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>

using namespace tarnelix::d3dx;

namespace {

// B, G, R, A of the texel at (x, y).
std::vector<int> texel(const Image& image, uint32_t x, uint32_t y) {
    const uint8_t* p = &image.pixels[(size_t(y) * image.width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

Image decode(const std::vector<uint8_t>& bytes) {
    Image image;
    std::string error;
    EXPECT_TRUE(decodeImage(bytes.data(), bytes.size(), image, error)) << error;
    return image;
}

} // namespace

TEST(ImageDecoding, PngColourTypesGiveExactTexelsAndReportAlpha) {
    const uint8_t rgba[] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 40};
    Image image = decode(encodePng(rgba, 2, 2, PNG_FORMAT_RGBA));
    ASSERT_EQ(image.width, 2u);
    ASSERT_EQ(image.height, 2u);
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(texel(image, 0, 0), (std::vector<int>{0, 0, 255, 255}));
    EXPECT_EQ(texel(image, 1, 0), (std::vector<int>{0, 255, 0, 128}));
    EXPECT_EQ(texel(image, 1, 1), (std::vector<int>{30, 20, 10, 40}));

    const uint8_t rgb[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    image = decode(encodePng(rgb, 3, 1, PNG_FORMAT_RGB));
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(texel(image, 2, 0), (std::vector<int>{9, 8, 7, 255}));

    const uint8_t grey[] = {0, 100, 200, 255};
    image = decode(encodePng(grey, 2, 2, PNG_FORMAT_GRAY));
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(texel(image, 1, 0), (std::vector<int>{100, 100, 100, 255}));

    const uint8_t greyAlpha[] = {50, 0, 60, 255};
    image = decode(encodePng(greyAlpha, 2, 1, PNG_FORMAT_GA));
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(texel(image, 0, 0), (std::vector<int>{50, 50, 50, 0}));
}

TEST(ImageDecoding, SixteenBitAndPalettePngs) {
    const uint16_t grey16[] = {0, 65535, 32768, 0};
    Image image = decode(encodePng(grey16, 2, 2, PNG_FORMAT_LINEAR_Y));
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(texel(image, 1, 0), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(texel(image, 0, 0)[0], 0);

    // A palette with a transparent entry is written as PLTE + tRNS.
    const uint8_t palette[] = {255, 0, 0, 255, 0, 0, 255, 0};
    const uint8_t indices[] = {0, 1, 1, 0};
    image =
        decode(encodePng(indices, 2, 2, PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP, palette, 2));
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(texel(image, 0, 0), (std::vector<int>{0, 0, 255, 255}));
    EXPECT_EQ(texel(image, 1, 0)[3], 0);
}

TEST(ImageDecoding, JpegBaselineProgressiveAndGreyscale) {
    const auto orange = solidPixels(16, 8, {240, 128, 16});
    for (bool progressive : {false, true}) {
        Image image = decode(encodeJpeg(orange, 16, 8, 3, progressive));
        ASSERT_EQ(image.width, 16u);
        ASSERT_EQ(image.height, 8u);
        EXPECT_FALSE(image.hasAlpha);
        EXPECT_TRUE(nearTexel(texel(image, 5, 3), {16, 128, 240, 255}, 4)) << progressive;
    }
    const auto grey = solidPixels(9, 7, {77});
    Image image = decode(encodeJpeg(grey, 9, 7, 1, true));
    ASSERT_EQ(image.width, 9u);
    EXPECT_TRUE(nearTexel(texel(image, 8, 6), {77, 77, 77, 255}, 2));
}

TEST(ImageDecoding, UndecodableBytesAreRefusedCleanly) {
    Image image;
    std::string error;
    const uint8_t text[] = "not an image at all";
    EXPECT_FALSE(decodeImage(text, sizeof text, image, error));
    EXPECT_FALSE(decodeImage(nullptr, 0, image, error));
    const auto jpeg = encodeJpeg(solidPixels(8, 8, {1, 2, 3}), 8, 8, 3, false);
    EXPECT_FALSE(decodeImage(jpeg.data(), 20, image, error));
    EXPECT_FALSE(error.empty());
    const uint8_t rgb[] = {1, 2, 3};
    const auto png = encodePng(rgb, 1, 1, PNG_FORMAT_RGB);
    EXPECT_FALSE(decodeImage(png.data(), 30, image, error));
    std::vector<uint8_t> damaged = png;
    std::fill(damaged.begin() + 16, damaged.begin() + 20, 0); // width 0 in the header
    EXPECT_FALSE(decodeImage(damaged.data(), damaged.size(), image, error));
    EXPECT_EQ(image.width, 0u);
}

TEST(ImageScaling, PowersOfTwoAndMipCounts) {
    EXPECT_EQ(roundUpToPowerOfTwo(0, 4096), 1u);
    EXPECT_EQ(roundUpToPowerOfTwo(1, 4096), 1u);
    EXPECT_EQ(roundUpToPowerOfTwo(3, 4096), 4u);
    EXPECT_EQ(roundUpToPowerOfTwo(640, 4096), 1024u);
    EXPECT_EQ(roundUpToPowerOfTwo(1024, 4096), 1024u);
    EXPECT_EQ(roundUpToPowerOfTwo(5000, 4096), 4096u);
    EXPECT_EQ(fullMipLevelCount(1, 1), 1u);
    EXPECT_EQ(fullMipLevelCount(256, 64), 9u);
    EXPECT_EQ(fullMipLevelCount(1024, 1024), 11u);
}

TEST(ImageScaling, HalvingAveragesBlocksAndNarrowEdges) {
    Image image;
    image.width = 2;
    image.height = 2;
    image.pixels = {0, 0, 0, 255, 100, 0, 0, 255, 200, 0, 0, 255, 101, 0, 0, 255};
    Image half = halveImage(image);
    ASSERT_EQ(half.width, 1u);
    EXPECT_EQ(half.pixels[0], 100); // (0 + 100 + 200 + 101 + 2) / 4
    Image strip;
    strip.width = 4;
    strip.height = 1;
    strip.pixels = {10, 0, 0, 0, 20, 0, 0, 0, 30, 0, 0, 0, 50, 0, 0, 0};
    half = halveImage(strip);
    ASSERT_EQ(half.width, 2u);
    ASSERT_EQ(half.height, 1u);
    EXPECT_EQ(half.pixels[0], 15);
    EXPECT_EQ(half.pixels[4], 40);
}

TEST(ImageScaling, ResamplingKeepsFlatColourAndOrder) {
    Image flat;
    flat.width = 3;
    flat.height = 5;
    flat.pixels = solidPixels(3, 5, {9, 80, 200, 255});
    Image up = resampleImage(flat, 4, 8);
    ASSERT_EQ(up.pixels.size(), 4u * 8 * 4);
    for (uint32_t y = 0; y < 8; ++y) {
        for (uint32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(texel(up, x, y), (std::vector<int>{9, 80, 200, 255}));
        }
    }
    Image ramp;
    ramp.width = 6;
    ramp.height = 1;
    for (int x = 0; x < 6; ++x) {
        ramp.pixels.insert(ramp.pixels.end(), {uint8_t(x * 40), 0, 0, 255});
    }
    Image down = resampleImage(ramp, 4, 1);
    for (uint32_t x = 1; x < 4; ++x) {
        EXPECT_LT(texel(down, x - 1, 0)[0], texel(down, x, 0)[0]);
    }
}

namespace {

// A smooth picture with detail at every scale: diagonal bands in red, a ramp in green.
std::vector<uint8_t> bandedPixels(int width, int height) {
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgb.push_back(uint8_t(128 + 100 * std::sin((x + y) * 0.02)));
            rgb.push_back(uint8_t(255 * x / width));
            rgb.push_back(uint8_t(255 * y / height));
        }
    }
    return rgb;
}

// Mean absolute difference of the colour channels of two pictures of one size.
double meanDifference(const Image& a, const Image& b) {
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    double total = 0;
    size_t count = 0;
    for (size_t i = 0; i < std::min(a.pixels.size(), b.pixels.size()); ++i) {
        if (i % 4 != 3) {
            total += std::abs(int(a.pixels[i]) - int(b.pixels[i]));
            ++count;
        }
    }
    return count ? total / count : 255.0;
}

} // namespace

// A JPEG larger than the picture wanted is decoded at the smallest DCT scale that still covers
// it, and looks like the whole picture scaled down.
TEST(ImageDecoding, ALargeJpegIsDecodedAtTheSmallestScaleThatCoversTheSizeWanted) {
    const std::vector<uint8_t> jpeg = encodeJpeg(bandedPixels(1024, 512), 1024, 512, 3, false);
    ImageHeader header;
    std::string error;
    ASSERT_TRUE(readImageHeader(jpeg.data(), jpeg.size(), header, error)) << error;
    EXPECT_EQ(header.width, 1024u);
    EXPECT_EQ(header.height, 512u);

    struct Case {
        uint32_t atLeastWidth, atLeastHeight, width, height;
    };
    for (const Case& c : {Case{0, 0, 1024, 512}, Case{128, 1, 128, 64}, Case{129, 1, 256, 128},
                          Case{300, 100, 384, 192}, Case{300, 200, 512, 256},
                          Case{1024, 512, 1024, 512}, Case{4096, 4096, 1024, 512}}) {
        Image image;
        ASSERT_TRUE(
            decodeImage(jpeg.data(), jpeg.size(), image, error, c.atLeastWidth, c.atLeastHeight))
            << error;
        EXPECT_EQ(image.width, c.width) << c.atLeastWidth;
        EXPECT_EQ(image.height, c.height) << c.atLeastWidth;
    }
    Image reduced;
    ASSERT_TRUE(decodeImage(jpeg.data(), jpeg.size(), reduced, error, 256, 128));
    const Image full = decode(jpeg);
    EXPECT_LT(meanDifference(reduced, resizeImage(full, 256, 128)), 1.5);
}

TEST(ImageScaling, BoxReductionAveragesBlocksAndTheShortBlocksAtTheEdges) {
    Image ramp;
    ramp.width = 5;
    ramp.height = 3;
    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 0; x < 5; ++x) {
            ramp.pixels.insert(ramp.pixels.end(), {uint8_t(10 * x), uint8_t(10 * y), 0, 255});
        }
    }
    const Image box = boxReduce(ramp, 2, 2);
    ASSERT_EQ(box.width, 3u);
    ASSERT_EQ(box.height, 2u);
    EXPECT_EQ(texel(box, 0, 0), (std::vector<int>{5, 5, 0, 255}));
    EXPECT_EQ(texel(box, 2, 0), (std::vector<int>{40, 5, 0, 255})) << "one column wide";
    EXPECT_EQ(texel(box, 2, 1), (std::vector<int>{40, 20, 0, 255})) << "one texel";

    // Many times too large: the prefiltered result is the tent filter's, within rounding.
    Image big;
    big.width = 900;
    big.height = 700;
    big.pixels = solidPixels(900, 700, {0, 0, 0, 255});
    const std::vector<uint8_t> rgb = bandedPixels(900, 700);
    for (size_t i = 0; i < size_t(900) * 700; ++i) {
        std::copy(&rgb[i * 3], &rgb[i * 3] + 3, &big.pixels[i * 4]);
    }
    EXPECT_LT(meanDifference(resizeImage(big, 128, 64), resampleImage(big, 128, 64)), 1.0);
}

// Deflate packs at most 1032 bytes into one: a short file claiming a huge picture is refused
// from its header, before the picture's memory is taken.
TEST(ImageDecoding, APngTooShortForItsSizeIsRefusedFromTheHeader) {
    const std::vector<uint8_t> grey(16 * 16, 7);
    std::vector<uint8_t> png = encodePng(grey.data(), 16, 16, PNG_FORMAT_GRAY);
    // Width and height sit at bytes 16 to 23 of the IHDR chunk; its CRC follows.
    const uint8_t huge[8] = {0, 0, 0x3A, 0x98, 0, 0, 0x3A, 0x98}; // 15000 x 15000
    std::copy(huge, huge + 8, png.begin() + 16);
    const uLong crc = crc32(crc32(0, nullptr, 0), &png[12], 17);
    for (int i = 0; i < 4; ++i) {
        png[29 + i] = uint8_t(crc >> (24 - 8 * i));
    }
    ImageHeader header;
    std::string error;
    EXPECT_FALSE(readImageHeader(png.data(), png.size(), header, error));
    EXPECT_NE(error.find("too short"), std::string::npos) << error;
}
