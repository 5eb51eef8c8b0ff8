#include "CallRecordingDevice.h"

#include "engine/render/RenderCamera.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(RenderCamera, PerspectiveNearTwoFarFiveThousand) {
    CallRecordingDevice device;
    RenderCamera camera;
    camera.setProjection(1.57079632679f, 2.0f);
    camera.update(&device);
    const Matrix4& p = camera.projection();
    EXPECT_NEAR(p.m[1][1], 1.0f, 1e-5f);
    EXPECT_NEAR(p.m[0][0], 0.5f, 1e-5f);
    EXPECT_NEAR(p.m[2][2], 5000.0f / 4998.0f, 1e-5f);
    EXPECT_EQ(p.m[2][3], 1.0f);
    EXPECT_NEAR(p.m[3][2], -2.0f * 5000.0f / 4998.0f, 1e-4f);
    EXPECT_EQ(p.m[3][3], 0.0f);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"SetTransform(3)", "SetTransform(2)"}));
}

TEST(RenderCamera, LookAtAndItsProduct) {
    CallRecordingDevice device;
    RenderCamera camera;
    camera.setView(Vec4(0, 0, -10, 1), Vec4(0, 0, 0, 1), Vec4(0, 1, 0, 1));
    camera.update(&device);
    const Matrix4& view = camera.view();
    const Vec4 origin = view.transform(Vec4(0, 0, 0, 1));
    EXPECT_NEAR(origin.z, 10.0f, 1e-5f);
    EXPECT_NEAR(view.transform(Vec4(1, 0, 0, 1)).x, 1.0f, 1e-5f);
    EXPECT_NEAR(view.transform(Vec4(0, 1, 0, 1)).y, 1.0f, 1e-5f);
    const Matrix4 product = camera.view() * camera.projection();
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(camera.viewProjection().m[r][c], product.m[r][c]);
        }
    }
}
