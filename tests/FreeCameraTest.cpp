#include "app/player/FreeCamera.h"

#include <gtest/gtest.h>

namespace {

void expectNear(const Vec4& actual, const Vec4& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

} // namespace

TEST(FreeCameraTest, LooksWhereTheShowsCameraLooked) {
    FreeCamera camera;
    camera.lookFrom(Vec4(1, 2, 3, 1), Vec4(1, 2 + 3, 3 + 3, 1));
    expectNear(camera.eye(), Vec4(1, 2, 3, 1));
    const float half = 0.70710678f;
    expectNear(camera.direction(), Vec4(0, half, half, 1));
    // A target on the eye gives no direction: the heading stays.
    camera.lookFrom(Vec4(0, 0, 0, 1), Vec4(0, 0, 0, 1));
    expectNear(camera.direction(), Vec4(0, half, half, 1));
}

TEST(FreeCameraTest, MovesAlongTheViewAcrossItAndUp) {
    FreeCamera camera;
    camera.lookFrom(Vec4(0, 0, 0, 1), Vec4(0, 0, 1, 1)); // along +z
    camera.move(2.0f, 0.0f, 0.0f);
    expectNear(camera.eye(), Vec4(0, 0, 2, 1));
    camera.move(0.0f, 1.0f, 0.5f);
    expectNear(camera.eye(), Vec4(1, 0.5f, 2, 1)); // right of +z is +x with y up
    camera.turn(1.5707963f, 0.0f);                 // a quarter turn: now along +x, right is -z
    expectNear(camera.direction(), Vec4(1, 0, 0, 1));
    camera.move(0.0f, 1.0f, 0.0f);
    expectNear(camera.eye(), Vec4(1, 0.5f, 1, 1));
    expectNear(camera.target(), Vec4(2, 0.5f, 1, 1));
}

TEST(FreeCameraTest, PitchStopsShortOfStraightUpAndDown) {
    FreeCamera camera;
    camera.turn(0.0f, 10.0f);
    EXPECT_LT(camera.pitch(), 1.5708f);
    EXPECT_GT(camera.direction().z, 0.0f) << "the heading survives";
    camera.turn(0.0f, -20.0f);
    EXPECT_GT(camera.pitch(), -1.5708f);
}
