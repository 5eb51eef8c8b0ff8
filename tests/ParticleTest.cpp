#include "engine/render/Particle.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

struct Particles {
    explicit Particles(std::vector<float> keys) : records(keys.size()) {
        for (size_t i = 0; i < keys.size(); ++i) {
            records[i].depthKey = keys[i];
            queue.append(&records[i]);
        }
    }
    std::vector<float> keys() const {
        std::vector<float> result;
        for (const Particle* p : queue) {
            result.push_back(p->depthKey);
        }
        return result;
    }
    std::vector<Particle> records;
    GrowArray<Particle*> queue;
};

} // namespace

TEST(ParticleSort, FarthestFirst) {
    Particles p({3, 9, 1, 7, 5, 5, 2, 8, 0, 6, 4});
    sortParticlesFarToNear(p.queue);
    EXPECT_EQ(p.keys(), (std::vector<float>{9, 8, 7, 6, 5, 5, 4, 3, 2, 1, 0}));
}

TEST(ParticleSort, EqualKeysKeepTheirOrderAndShortQueuesAreUntouched) {
    for (size_t count : {0u, 1u, 5u}) {
        Particles p(std::vector<float>(count, 2.0f));
        sortParticlesFarToNear(p.queue);
        ASSERT_EQ(p.queue.count(), static_cast<int>(count));
        for (size_t i = 0; i < count; ++i) {
            EXPECT_EQ(p.queue[static_cast<int>(i)], &p.records[i]) << count;
        }
    }
}
TEST(ParticleSort, NanKeysStayInsideTheQueue) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Particles p({1, nan, 3, nan, 2, nan});
    sortParticlesFarToNear(p.queue);
    EXPECT_EQ(p.queue.count(), 6); // it terminates and only permutes; the order is undefined
}

TEST(ParticleDepth, ThirdComponentWithoutDivision) {
    Matrix4 viewProjection;
    viewProjection.m[2][2] = 2.0f;
    viewProjection.m[3][2] = 1.0f;
    viewProjection.m[2][3] = 1.0f;
    Particles p({0});
    p.records[0].position = Vec4(5, 6, 3, 1);
    computeDepthKeys(p.queue, viewProjection);
    EXPECT_FLOAT_EQ(p.records[0].depthKey, 7.0f); // 3 x 2 + 1 x 1, w is 3 but not divided
}

TEST(ParticleVertices, SixCornersWithCentreSizeAndColour) {
    Particle particle;
    particle.position = Vec4(1, 2, 3, 1);
    particle.size = 4.0f;
    particle.colour = Vec4(1.0f, 0.5f, 0.0f, 1.0f);
    GrowArray<ParticleVertex> vertices;
    appendParticleVertices(vertices, particle);
    appendParticleVertices(vertices, particle);
    ASSERT_EQ(vertices.count(), 12);
    const float corners[6][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vertices[i].cornerX, corners[i][0]);
        EXPECT_EQ(vertices[i].cornerY, corners[i][1]);
        EXPECT_EQ(vertices[i].cornerZ, 0.0f);
        EXPECT_EQ(vertices[i].colour, 0xFFFF7F00u);
        EXPECT_EQ(vertices[i].centreX, 1.0f);
        EXPECT_EQ(vertices[i].centreY, 2.0f);
        EXPECT_EQ(vertices[i].centreZ, 3.0f);
        EXPECT_EQ(vertices[i].size, 4.0f);
    }
    const auto* base = reinterpret_cast<const char*>(&vertices[0]);
    EXPECT_EQ(reinterpret_cast<const char*>(&vertices[6]) - base, 192);
}
