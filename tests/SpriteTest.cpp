#include "engine/render/Sprite.h"

#include <gtest/gtest.h>

namespace {

Sprite fullScreen() {
    Sprite sprite;
    sprite.colour = Vec4(1, 1, 1, 1);
    sprite.topLeft = Vec4(0, 0, 0, 1);
    sprite.bottomRight = Vec4(1, 1, 0, 1);
    return sprite;
}

} // namespace

TEST(SpriteVertices, FullScreenSpansFirstToLastPixel) {
    GrowArray<SpriteVertex> vertices;
    appendSpriteVertices(vertices, fullScreen(), 640, 480);
    ASSERT_EQ(vertices.count(), 6);
    const float expected[6][4] = {{0, 0, 0, 0},   {0, 479, 0, 1}, {639, 0, 1, 0},
                                  {639, 0, 1, 0}, {0, 479, 0, 1}, {639, 479, 1, 1}};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vertices[i].x, expected[i][0]);
        EXPECT_EQ(vertices[i].y, expected[i][1]);
        EXPECT_EQ(vertices[i].u, expected[i][2]);
        EXPECT_EQ(vertices[i].v, expected[i][3]);
        EXPECT_EQ(vertices[i].z, 0.5f);
        EXPECT_EQ(vertices[i].rhw, 1.0f);
        EXPECT_EQ(vertices[i].colour, 0xFFFFFFFFu);
    }
}

TEST(SpriteVertices, FractionsAreScaledWithoutRounding) {
    Sprite sprite = fullScreen();
    sprite.topLeft = Vec4(0.25f, 0.5f, 0, 1);
    sprite.bottomRight = Vec4(0.5f, 0.75f, 0, 1);
    GrowArray<SpriteVertex> vertices;
    appendSpriteVertices(vertices, sprite, 640, 480);
    EXPECT_FLOAT_EQ(vertices[0].x, 159.75f);
    EXPECT_FLOAT_EQ(vertices[0].y, 239.5f);
    EXPECT_FLOAT_EQ(vertices[5].x, 319.5f);
    EXPECT_FLOAT_EQ(vertices[5].y, 359.25f);
}

TEST(SpriteVertices, ColourWordTruncatesAndWraps) {
    Sprite sprite = fullScreen();
    sprite.colour = Vec4(0.5f, 1.0f, 2.0f, 0.5f); // 2.0 x 255 = 510 keeps its low byte, 254
    GrowArray<SpriteVertex> vertices;
    appendSpriteVertices(vertices, sprite, 2, 2);
    EXPECT_EQ(vertices[0].colour, 0x7F7FFFFEu);
}

TEST(SpriteVertices, SecondSpriteStartsAt168Bytes) {
    GrowArray<SpriteVertex> vertices;
    appendSpriteVertices(vertices, fullScreen(), 8, 8);
    appendSpriteVertices(vertices, fullScreen(), 8, 8);
    ASSERT_EQ(vertices.count(), 12);
    const auto* base = reinterpret_cast<const char*>(&vertices[0]);
    EXPECT_EQ(reinterpret_cast<const char*>(&vertices[6]) - base, 168);
}
