// Merging a separate alpha mask into a colour texture.
#include "tools/scene-import/CutoutTexture.h"
#include "tools/showgen/ImageFiles.h"

#include <gtest/gtest.h>

namespace {

using showgen::Colour;
using showgen::Image;

Image merged(const std::vector<uint8_t>& colour, const Image& mask) {
    Image out;
    EXPECT_TRUE(
        showgen::decodePng(sceneimport::mergeCutout(colour, showgen::encodePng(mask)), out));
    return out;
}

TEST(CutoutTexture, MaskAlphaWinsOverItsBrightness) {
    const std::vector<uint8_t> colour = showgen::encodePng(Image(2, 2, Colour(1, 0, 0, 1)));
    Image mask(2, 2, Colour(1, 1, 1, 1));
    mask.set(0, 0, Colour(1, 1, 1, 0)); // bright but transparent
    const Image out = merged(colour, mask);
    EXPECT_EQ(out.get(0, 0).a, 0.0);
    EXPECT_EQ(out.get(1, 1).a, 1.0);
    EXPECT_EQ(out.get(1, 1).r, 1.0) << "colour kept";
}

TEST(CutoutTexture, UndecodableImagesGiveNothing) {
    const std::vector<uint8_t> png = showgen::encodePng(Image(1, 1));
    const std::vector<uint8_t> junk = {0x89, 'P', 'N', 'G', 1, 2, 3};
    EXPECT_TRUE(sceneimport::mergeCutout(junk, png).empty());
    EXPECT_TRUE(sceneimport::mergeCutout(png, junk).empty());
    EXPECT_TRUE(sceneimport::mergeCutout({}, png).empty());
}

} // namespace
