#include "engine/scene/Placement.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kHalfPi = 1.57079632679f;

void expectPoint(const Vec4& got, float x, float y, float z) {
    EXPECT_NEAR(got.x, x, 1e-5f);
    EXPECT_NEAR(got.y, y, 1e-5f);
    EXPECT_NEAR(got.z, z, 1e-5f);
}

} // namespace

TEST(Placement, RotationIsLeftHandedAboutTheNormalisedAxis) {
    Matrix4 unit;
    rotateAxis(unit, kHalfPi, Vec4(0, 0, 1, 1));
    expectPoint(unit.transform(Vec4(1, 0, 0, 1)), 0, 1, 0);

    Matrix4 longer;
    rotateAxis(longer, 0.7f, Vec4(0, 0, 2, 1));
    Matrix4 shorter;
    rotateAxis(shorter, 0.7f, Vec4(0, 0, 1, 1));
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_FLOAT_EQ(longer.m[r][c], shorter.m[r][c]);
        }
    }

    // About x: y goes to z.
    Matrix4 aboutX;
    rotateAxis(aboutX, kHalfPi, Vec4(1, 0, 0, 1));
    expectPoint(aboutX.transform(Vec4(0, 1, 0, 1)), 0, 0, 1);
}

TEST(Placement, RotatesAboutTheOriginThenMoves) {
    Matrix4 m = placement(Vec4(5, 0, 0, 1), Vec4(0, 0, 1, 1), kHalfPi, Matrix4::identity());
    expectPoint(m.transform(Vec4(1, 0, 0, 1)), 5, 1, 0);

    // The start matrix acts last.
    Matrix4 parent;
    translate(parent, Vec4(0, 0, 100, 1));
    Matrix4 child = placement(Vec4(5, 0, 0, 1), Vec4(0, 0, 1, 1), kHalfPi, parent);
    expectPoint(child.transform(Vec4(1, 0, 0, 1)), 5, 1, 100);
}

TEST(Placement, ZeroAxisSkipsTheRotation) {
    Matrix4 m = placement(Vec4(1, 2, 3, 1), Vec4(0, 0, 0, 0), 1.0f, Matrix4::identity());
    expectPoint(m.transform(Vec4(1, 0, 0, 1)), 2, 2, 3);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_FALSE(std::isnan(m.m[r][c]));
        }
    }
}
