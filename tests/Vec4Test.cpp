#include "engine/core/Vec4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Vec4, InequalityIgnoresNaN) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(Vec4(nan, 0, 0, 1) != Vec4(1, 0, 0, 1));
    EXPECT_TRUE(Vec4(1, 2, 3, 1) != Vec4(1, 2, 3, 0));
    EXPECT_FALSE(Vec4(1, 2, 3, 4) != Vec4(1, 2, 3, 4));
}

TEST(Vec4, DefaultAndArithmeticSetWToOne) {
    EXPECT_EQ(Vec4(), Vec4(0, 0, 0, 1));
    Vec4 sum = Vec4(1, 2, 3, 5) + Vec4(4, 5, 6, 7);
    EXPECT_EQ(sum, Vec4(5, 7, 9, 1));
    Vec4 diff = Vec4(1, 2, 3, 5) - Vec4(4, 5, 6, 7);
    EXPECT_EQ(diff, Vec4(-3, -3, -3, 1));
    EXPECT_EQ(Vec4(1, 2, 3, 9).dot(Vec4(4, 5, 6, 9)), 32.0f);
    // x cross y is z, and the result is a point-style vector.
    EXPECT_EQ(Vec4(1, 0, 0, 0).cross(Vec4(0, 1, 0, 0)), Vec4(0, 0, 1, 1));
    EXPECT_EQ(Vec4(0, 3, 4, 0.5f).scaledTo(10), Vec4(0, 6, 8, 0.5f));
}

TEST(Vec4, ColorChannelTruncatesAndWraps) {
    EXPECT_EQ(colorChannelByte(1.0f), 255u);
    EXPECT_EQ(colorChannelByte(0.5f), 127u); // 127.5 truncated
    EXPECT_EQ(colorChannelByte(0.0f), 0u);
    EXPECT_EQ(colorChannelByte(2.0f), 254u); // 510 keeps its low byte
    EXPECT_EQ(colorChannelByte(-1.0f), 1u);  // -255 as two's complement
    EXPECT_EQ(colorToArgb(Vec4(1.0f, 0.0f, 0.5f, 1.0f)), 0xFFFF007Fu);
    // Out-of-range and NaN inputs stay defined.
    colorChannelByte(std::numeric_limits<float>::infinity());
    colorChannelByte(std::numeric_limits<float>::quiet_NaN());
}
