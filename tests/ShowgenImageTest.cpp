#include "tools/showgen/ImageFiles.h"
#include "tools/showgen/TextureNames.h"
#include "tools/showgen/Textures.h"

#include <gtest/gtest.h>

#include <string>

using showgen::Colour;
using showgen::Image;

namespace {

bool isPng(const std::string& name) {
    return name.size() > 4 && name.substr(name.size() - 4) == ".png";
}

Image decode(const showgen::GeneratedFile& file) {
    Image image;
    const bool ok = isPng(file.name) ? showgen::decodePng(file.bytes, image)
                                     : showgen::decodeJpeg(file.bytes, image);
    EXPECT_TRUE(ok) << file.name;
    return image;
}

} // namespace

TEST(ShowgenImage, NormalMapOfAFlatFieldIsTheNeutralNormal) {
    showgen::HeightField flat(8, 8);
    const Image map = showgen::normalMapFrom(flat, 10.0);
    const uint8_t* p = map.rgba().data();
    EXPECT_EQ(p[0], 128);
    EXPECT_EQ(p[1], 128);
    EXPECT_EQ(p[2], 255);
}

TEST(ShowgenImage, NormalMapLeansAwayFromRisingGroundAndWraps) {
    // Height rising to the right and down the image: the normal leans left (red below 128)
    // and up (green below 128). The field wraps, so the seam column leans the other way.
    showgen::HeightField ramp(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            ramp.set(x, y, x * 0.1 + y * 0.05);
        }
    }
    const Image map = showgen::normalMapFrom(ramp, 1.0);
    const Colour inner = map.get(3, 3);
    EXPECT_LT(inner.r, 0.5);
    EXPECT_LT(inner.g, 0.5);
    EXPECT_GT(inner.b, 0.9);
    EXPECT_GT(map.get(0, 3).r, 0.5);
}

TEST(ShowgenImage, PngKeepsAlphaAndRefusesDamage) {
    Image picture(4, 2, Colour(0.2, 0.4, 0.6, 0.0));
    picture.set(1, 1, Colour(1.0, 0.0, 0.0, 1.0));
    std::vector<uint8_t> bytes = showgen::encodePng(picture);
    Image back;
    ASSERT_TRUE(showgen::decodePng(bytes, back));
    EXPECT_EQ(back.rgba(), picture.rgba());

    bytes.resize(bytes.size() / 2);
    EXPECT_FALSE(showgen::decodePng(bytes, back));
    EXPECT_FALSE(showgen::decodePng({}, back));
    EXPECT_FALSE(showgen::decodeJpeg({1, 2, 3}, back));
    EXPECT_FALSE(showgen::decodeJpeg({}, back));
}

TEST(ShowgenImage, TextureSetIsCompleteDecodableAndPowerOfTwo) {
    const std::vector<showgen::GeneratedFile> files = showgen::generateTextures();
    ASSERT_FALSE(files.empty());
    EXPECT_EQ(files[0].name, showgen::tex::kNeutralNormal);
    for (const showgen::GeneratedFile& file : files) {
        SCOPED_TRACE(file.name);
        const Image image = decode(file);
        EXPECT_TRUE(showgen::isPowerOfTwo(image.width()));
        EXPECT_TRUE(showgen::isPowerOfTwo(image.height()));
        if (isPng(file.name)) {
            // A mask that masks: some texels pass the renderer's alpha reference, some do not.
            int solid = 0;
            int clear = 0;
            for (size_t i = 3; i < image.rgba().size(); i += 4) {
                solid += image.rgba()[i] > 128 ? 1 : 0;
                clear += image.rgba()[i] <= 128 ? 1 : 0;
            }
            EXPECT_GT(solid, 0);
            EXPECT_GT(clear, 0);
        }
    }
    // The neutral normal decodes to exactly (128, 128, 255) everywhere.
    const Image neutral = decode(files[0]);
    for (size_t i = 0; i < neutral.rgba().size(); i += 4) {
        ASSERT_EQ(neutral.rgba()[i], 128);
        ASSERT_EQ(neutral.rgba()[i + 1], 128);
        ASSERT_EQ(neutral.rgba()[i + 2], 255);
    }
}
