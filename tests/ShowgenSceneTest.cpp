#include "tools/showgen/DetMath.h"
#include "tools/showgen/Garden.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

// The scene is built once for all checks; it is deterministic, so sharing it is safe.
const scenefile::Scene& garden() {
    static const scenefile::Scene scene = showgen::buildGarden();
    return scene;
}

bool tilted(const scenefile::Vec3& axis) {
    const int zeros = (axis.x == 0.0f) + (axis.y == 0.0f) + (axis.z == 0.0f);
    return zeros < 2;
}

double distance(const scenefile::Vec3& a, const scenefile::Vec3& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

} // namespace

TEST(ShowgenScene, HeaderCamerasAndTiming) {
    const scenefile::Scene& scene = garden();
    EXPECT_EQ(scene.version, 110);
    EXPECT_EQ(scene.frameCount, 601);
    ASSERT_EQ(scene.cameras.size(), 3u);
    const char* names[3] = {"Camera01", "Camera02", "Camera03"};
    for (int i = 0; i < 3; ++i) {
        const scenefile::Camera& camera = scene.cameras[static_cast<size_t>(i)];
        EXPECT_EQ(camera.name, names[i]);
        ASSERT_TRUE(camera.animated);
        ASSERT_EQ(camera.eyes.size(), 601u);
        for (size_t f = 0; f < camera.fovs.size(); ++f) {
            EXPECT_GT(camera.fovs[f], 0.3f);
            EXPECT_LT(camera.fovs[f], 1.6f);
            // Well clear of the near plane at 2 units: the eye never sits on its target.
            EXPECT_GT(distance(camera.eyes[f], camera.targets[f]), 20.0);
            EXPECT_GT(camera.eyes[f].y, 5.0f);
        }
    }
    // Camera02 is first seen at 25 s: by then it has left its starting place.
    EXPECT_GT(distance(scene.cameras[1].eyes[0], scene.cameras[1].eyes[600]), 50.0);
}

TEST(ShowgenScene, LightsAnimatedAndStatic) {
    int animated = 0;
    int still = 0;
    for (const scenefile::Light& light : garden().lights) {
        EXPECT_GT(light.radius, 50.0f);
        if (!light.animated) {
            ++still;
            continue;
        }
        ++animated;
        ASSERT_EQ(light.positions.size(), 601u);
        // Coloured, moving, and looping without a jump.
        EXPECT_FALSE(light.color.x == light.color.y && light.color.y == light.color.z);
        EXPECT_GT(distance(light.positions[0], light.positions[150]), 10.0);
        EXPECT_LT(distance(light.positions[0], light.positions[600]), 0.01);
    }
    EXPECT_GE(animated, 6);
    EXPECT_GE(still, 2);
}

TEST(ShowgenScene, MaterialsUseEveryFeatureWithTexturesThatExist) {
    // The build wrote the show: every texture a material names must be there.
    auto exists = [](const std::string& name) {
        return std::filesystem::exists(std::string(TARNELIX_SHOW_DIR) + "/" + name);
    };
    int normalMapped = 0, neutral = 0, glowTextured = 0, glowFlat = 0, cutOut = 0;
    for (const scenefile::Material& m : garden().materials) {
        if (!m.normalMap.empty()) {
            EXPECT_TRUE(exists(m.normalMap)) << m.normalMap;
        }
        if (!m.colorTexture.empty()) {
            EXPECT_TRUE(exists(m.colorTexture)) << m.colorTexture;
        }
        normalMapped += !m.normalMap.empty();
        neutral += m.normalMap.empty();
        glowTextured += m.selfIllum && !m.colorTexture.empty();
        glowFlat += m.selfIllum && m.colorTexture.empty();
        cutOut += m.alphaTest && !m.selfIllum && !m.colorTexture.empty();
        // Cut-outs and glow masks need alpha, which only the PNG files carry.
        if (m.alphaTest || (m.selfIllum && !m.colorTexture.empty())) {
            EXPECT_NE(m.colorTexture.find(".png"), std::string::npos) << m.colorTexture;
        }
    }
    EXPECT_GE(normalMapped, 3);
    EXPECT_GE(neutral, 3);
    EXPECT_GE(glowTextured, 2);
    EXPECT_GE(glowFlat, 2);
    EXPECT_GE(cutOut, 2);
    EXPECT_TRUE(exists("bump_neutral.jpg"));
}

TEST(ShowgenScene, GeometryIsWellFormedAndLargeEnough) {
    const scenefile::Scene& scene = garden();
    size_t triangles = 0;
    for (const scenefile::Object& object : scene.objects) {
        ASSERT_GE(object.material, 0);
        ASSERT_LT(object.material, static_cast<int32_t>(scene.materials.size()));
        // The device keeps 16-bit indices.
        ASSERT_LT(object.vertices.size(), 65536u);
        ASSERT_EQ(object.indices.size() % 3, 0u);
        ASSERT_FALSE(object.indices.empty());
        for (uint32_t index : object.indices) {
            ASSERT_LT(index, object.vertices.size());
        }
        for (const scenefile::Vertex& v : object.vertices) {
            ASSERT_TRUE(std::isfinite(v.position.x) && std::isfinite(v.position.y) &&
                        std::isfinite(v.position.z) && std::isfinite(v.u) && std::isfinite(v.v));
        }
        triangles += object.indices.size() / 3;
    }
    EXPECT_GE(triangles, 50000u);
}

TEST(ShowgenScene, AnimatedObjectsTurnAboutTiltedAxesMoveAndLoop) {
    int tiltedTurning = 0;
    int moving = 0;
    for (const scenefile::Object& object : garden().objects) {
        if (!object.animated) {
            continue;
        }
        ASSERT_EQ(object.frames.size(), 601u);
        const scenefile::Placement& first = object.frames[0];
        const scenefile::Placement& last = object.frames[600];
        if (tilted(first.axis) && std::fabs(object.frames[100].angle - first.angle) > 0.5f) {
            ++tiltedTurning;
        }
        if (distance(first.position, object.frames[150].position) > 5.0) {
            ++moving;
        }
        // Frame 600 shows what frame 0 shows: the same place and a whole number of turns.
        EXPECT_LT(distance(first.position, last.position), 0.01);
        const double turns = (last.angle - first.angle) / showgen::detmath::kTwoPi;
        EXPECT_NEAR(turns, std::round(turns), 1e-4);
    }
    EXPECT_GE(tiltedTurning, 4);
    EXPECT_GE(moving, 6);
}

TEST(ShowgenScene, RotationMatchesThePlacementConvention) {
    // A quarter turn about z takes x to y, as the renderer's placements do.
    const scenefile::Vec3 p = showgen::rotateAboutAxis(showgen::vec(1, 0, 0), showgen::vec(0, 0, 2),
                                                       showgen::detmath::kPi / 2);
    EXPECT_NEAR(p.x, 0.0, 1e-6);
    EXPECT_NEAR(p.y, 1.0, 1e-6);
    EXPECT_NEAR(p.z, 0.0, 1e-6);
}
