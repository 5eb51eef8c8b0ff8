#include "engine/core/Matrix4.h"

#include <gtest/gtest.h>

namespace {

Matrix4 fromRows(std::initializer_list<float> values) {
    Matrix4 m;
    int i = 0;
    for (float v : values) {
        m.m[i / 4][i % 4] = v;
        ++i;
    }
    return m;
}

void expectNear(const Matrix4& a, const Matrix4& b, float tolerance) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(a.m[r][c], b.m[r][c], tolerance) << "at " << r << "," << c;
        }
    }
}

} // namespace

TEST(Matrix4, ProductAppliesLeftOperandFirst) {
    Matrix4 scale = fromRows({2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1});
    Matrix4 move = fromRows({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1});
    // Scale then translate: (1,0,0) -> (2,0,0) -> (12,0,0).
    EXPECT_EQ((scale * move).transform(Vec4(1, 0, 0, 1)), Vec4(12, 0, 0, 1));
    // Translate then scale: (1,0,0) -> (11,0,0) -> (22,0,0).
    EXPECT_EQ((move * scale).transform(Vec4(1, 0, 0, 1)), Vec4(22, 0, 0, 1));
}

TEST(Matrix4, TransformKeepsWAndColumnReadsDown) {
    Matrix4 m = fromRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    // No division by w.
    EXPECT_EQ(m.transform(Vec4(1, 0, 0, 0)), Vec4(1, 2, 3, 4));
    EXPECT_EQ(m.transform(Vec4(0, 0, 0, 2)), Vec4(26, 28, 30, 32));
    EXPECT_EQ(m.column(1), Vec4(2, 6, 10, 14));
}

TEST(Matrix4, InverseRoundTrip) {
    Matrix4 m = fromRows({2, 0, 1, 0, 1, 3, 0, 0, 0, 1, 4, 0, 5, -2, 7, 1});
    Matrix4 inv = m;
    ASSERT_TRUE(inv.invert());
    expectNear(m * inv, Matrix4::identity(), 1e-5f);
    expectNear(inv * m, Matrix4::identity(), 1e-5f);
    ASSERT_TRUE(inv.invert());
    expectNear(inv, m, 1e-4f);
}

TEST(Matrix4, SingularAndNearSingularAreRefusedUnchanged) {
    Matrix4 singular = fromRows({1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1});
    Matrix4 copy = singular;
    EXPECT_FALSE(singular.invert());
    expectNear(singular, copy, 0.0f);

    // det = 0.0004, just below the threshold; 0.0006 just above it.
    Matrix4 small = fromRows({0.0004f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    EXPECT_FALSE(small.invert());
    EXPECT_EQ(small.m[0][0], 0.0004f);
    Matrix4 enough = fromRows({0.0006f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    EXPECT_TRUE(enough.invert());
    EXPECT_NEAR(enough.m[0][0], 1.0f / 0.0006f, 0.5f);
}
