#include "engine/render/Frustum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The camera at the origin looking along +z, fov 90 degrees, aspect 1, near 2, far 5000.
Matrix4 lookingAlongZ() {
    const float n = 2.0f;
    const float f = 5000.0f;
    Matrix4 projection;
    projection.m[0][0] = 1.0f / std::tan(0.78539816f);
    projection.m[1][1] = projection.m[0][0];
    projection.m[2][2] = f / (f - n);
    projection.m[2][3] = 1.0f;
    projection.m[3][2] = -n * f / (f - n);
    projection.m[3][3] = 0.0f;
    return projection; // the view is the identity
}

Frustum frustum() {
    Frustum f;
    f.build(lookingAlongZ());
    return f;
}

Matrix4 at(float x, float y, float z) {
    Matrix4 m;
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    return m;
}

} // namespace

TEST(Frustum, PlanesFaceInwards) {
    const Frustum f = frustum();
    EXPECT_NEAR(f.plane(Frustum::Near).distance(Vec4(0, 0, 2, 1)), 0.0f, 1e-3f);
    for (int p = 0; p < Frustum::PlaneCount; ++p) {
        EXPECT_GT(f.plane(p).distance(Vec4(0, 0, 10, 1)), 0.0f) << "plane " << p;
    }
    EXPECT_NEAR(f.corner(0).z, 2.0f, 1e-3f);
    EXPECT_NEAR(f.corner(7).z, 5000.0f, 1.0f);
}

TEST(Frustum, SphereAtTheNearPlaneBoundary) {
    const Frustum f = frustum();
    // Centre 1 unit in front of the camera: 1 unit behind the near plane at z = 2.
    const float behind = -f.plane(Frustum::Near).distance(Vec4(0, 0, 1, 1));
    EXPECT_TRUE(f.sphereVisible(Vec4(0, 0, 1, 1), behind));
    EXPECT_FALSE(f.sphereVisible(Vec4(0, 0, 1, 1), behind - 0.001f));
    EXPECT_TRUE(f.sphereVisible(Vec4(0, 0, 100, 1), 0.0f));
    EXPECT_FALSE(f.sphereVisible(Vec4(0, 0, 6000, 1), 10.0f));
}

TEST(Frustum, BoxOutcodes) {
    const Frustum f = frustum();
    const Vec4 low(-1, -1, -1, 1);
    const Vec4 high(1, 1, 1, 1);
    EXPECT_TRUE(f.boxVisible(at(0, 0, 50), low, high));
    // Straddling the left plane (x = -z at z = 50).
    EXPECT_TRUE(f.boxVisible(at(-50, 0, 50), low, high));
    // Wholly beyond the far plane, some corners also outside the sides.
    EXPECT_FALSE(f.boxVisible(at(5000, 0, 6000), low, high));
    EXPECT_FALSE(f.boxVisible(at(0, 0, 6000), low, high));
    // Behind the camera.
    EXPECT_FALSE(f.boxVisible(at(0, 0, -50), low, high));
    // Outside across the top-left edge: a slanted box whose corners lie behind the left plane
    // or behind the top plane, none behind both, so no single plane separates it.
    Matrix4 slanted = at(-60, 40, 50);
    const float axes[3][3] = {{20, 20, 0}, {0, 0, 1}, {1, -1, 0}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            slanted.m[r][c] = axes[r][c];
        }
    }
    EXPECT_TRUE(f.boxVisible(slanted, Vec4(0, 0, 0, 1), Vec4(1, 1, 1, 1)));
    // The same box moved further left is behind the left plane entirely.
    slanted.m[3][0] = -200;
    EXPECT_FALSE(f.boxVisible(slanted, Vec4(0, 0, 0, 1), Vec4(1, 1, 1, 1)));
}
