// The importer's transform and light rules on their own.
#include "tools/scene-import/ImportMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace sceneimport;

constexpr float kPi = 3.14159265f;

aiQuaternion turn(const aiVector3D& axis, float angle) {
    return aiQuaternion(axis, angle);
}

TEST(SceneImportMath, LightRadiusIsWhereTheFalloffReachesOneStep) {
    // Inverse-square: I / d² = 1/256 at d = 16 √I.
    EXPECT_NEAR(lightRadius(aiColor3D(1, 1, 1), 0, 0, 0), 16.0f, 1e-4f)
        << "no falloff at all is taken as inverse-square";
    EXPECT_NEAR(lightRadius(aiColor3D(1, 1, 1), 0, 2, 0), 128.0f, 1e-3f) << "linear: 256 / 2";
    EXPECT_NEAR(lightRadius(aiColor3D(1, 1, 1), 1, 0, 0.25f), std::sqrt(1020.0f), 1e-3f);
    EXPECT_EQ(lightRadius(aiColor3D(0, 0, 0), 1, 0, 1), 0.0f) << "a black light reaches nothing";
}

TEST(SceneImportMath, SplitKeepsEveryTransformWhole) {
    // Rotation, non-uniform scale, shear and a mirror: translation × rotation × rest gives the
    // matrix back, and the rotation is a proper one.
    aiMatrix4x4 rotation;
    aiMatrix4x4::Rotation(1.1f, aiVector3D(1, 2, 3).Normalize(), rotation);
    aiMatrix4x4 scale;
    aiMatrix4x4::Scaling(aiVector3D(-2, 0.5f, 3), scale);
    aiMatrix4x4 shear;
    shear.a2 = 0.4f;
    aiMatrix4x4 move;
    aiMatrix4x4::Translation(aiVector3D(4, 5, 6), move);
    const aiMatrix4x4 m = move * rotation * shear * scale;
    const SplitTransform split = splitTransform(m);
    EXPECT_EQ(split.position, aiVector3D(4, 5, 6));
    const aiMatrix3x3 r = split.rotation.GetMatrix();
    EXPECT_NEAR(r.Determinant(), 1.0f, 1e-5f);
    EXPECT_TRUE(nearlyEqual(r * split.rest, aiMatrix3x3(m), 1e-5f));
    EXPECT_LT(split.rest.Determinant(), 0.0f) << "the mirror stays with the vertices";
}

TEST(SceneImportMath, PlacementTracksTurnSmoothlyPastAHalfTurn) {
    // A full turn about -Y in 16 steps, starting at rest: quaternion signs and the axis that
    // axis/angle would pick both flip on the way; the samples must not.
    std::vector<aiVector3D> positions;
    std::vector<aiQuaternion> rotations;
    for (int i = 0; i <= 16; ++i) {
        positions.emplace_back(float(i), 0, 0);
        aiQuaternion q = turn(aiVector3D(0, -1, 0), 2 * kPi * i / 16);
        if (i % 3 == 1) {
            q = aiQuaternion(-q.w, -q.x, -q.y, -q.z); // the same rotation
        }
        rotations.push_back(q);
    }
    const std::vector<scenefile::Placement> track = placementTrack(positions, rotations);
    ASSERT_EQ(track.size(), 17u);
    EXPECT_NEAR(track[0].axis.y * track[0].axis.y, 1.0f, 1e-6f)
        << "the still first frame borrows the axis of the next";
    for (size_t i = 1; i < track.size(); ++i) {
        EXPECT_NEAR(std::fabs(track[i].angle - track[i - 1].angle), 2 * kPi / 16, 1e-4f) << i;
        EXPECT_GT(track[i].axis.y * track[i - 1].axis.y, 0.0f) << "axis flipped at " << i;
        EXPECT_EQ(track[i].position.x, float(i));
    }
}

TEST(SceneImportMath, VerticalAngleComesFromTheHorizontalOne) {
    EXPECT_FLOAT_EQ(verticalFov(1.2f, 1.5f, true), 0.8f) << "glTF: yfov × aspect undone";
    // A true horizontal angle: tan(h / 2) = aspect × tan(v / 2).
    EXPECT_NEAR(verticalFov(2.0f * std::atan(2.0f), 2.0f, false), kPi / 2, 1e-5f);
    EXPECT_FLOAT_EQ(verticalFov(0.9f, 0.0f, false), 0.9f) << "no aspect: taken as it is";
}

} // namespace
