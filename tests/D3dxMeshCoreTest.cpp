#include "SceneVertex.h"

#include "mesh/MeshCore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <random>

using namespace tarnelix::d3dx;

namespace {

using Vertex = SceneVertex;

const TangentLayout kLayout{0, 12, 24, 32, 44};

Vertex vertex(float x, float y, float u, float v) {
    Vertex out{};
    out.position[0] = x;
    out.position[1] = y;
    out.normal[2] = -1.0f;
    out.uv[0] = u;
    out.uv[1] = v;
    out.tangent[0] = 123.0f; // stale bytes that must be overwritten
    out.binormal[1] = -7.0f;
    return out;
}

MeshView view(std::vector<Vertex>& vertices, const std::vector<uint32_t>& indices) {
    MeshView mesh;
    mesh.vertices = reinterpret_cast<uint8_t*>(vertices.data());
    mesh.vertexCount = static_cast<uint32_t>(vertices.size());
    mesh.stride = sizeof(Vertex);
    mesh.indices = indices.data();
    mesh.indices32 = true;
    mesh.faceCount = static_cast<uint32_t>(indices.size() / 3);
    return mesh;
}

void expectVector(const float* v, float x, float y, float z) {
    EXPECT_NEAR(v[0], x, 1e-5f);
    EXPECT_NEAR(v[1], y, 1e-5f);
    EXPECT_NEAR(v[2], z, 1e-5f);
}

} // namespace

TEST(TangentFrame, QuadInTheXyPlaneFollowsTheTextureAxes) {
    // u grows with x, v grows downward (with -y), as image rows do.
    std::vector<Vertex> quad = {vertex(-1, 1, 0, 0), vertex(1, 1, 1, 0), vertex(-1, -1, 0, 1),
                                vertex(1, -1, 1, 1)};
    const std::vector<uint32_t> indices = {0, 1, 2, 2, 1, 3};
    computeTangentFrame(view(quad, indices), kLayout);
    for (const Vertex& v : quad) {
        expectVector(v.tangent, 1, 0, 0);
        expectVector(v.binormal, 0, -1, 0);
    }
}

TEST(TangentFrame, MirroredCoordinatesFlipTheTangentNotTheNormal) {
    std::vector<Vertex> quad = {vertex(-1, 1, 1, 0), vertex(1, 1, 0, 0), vertex(-1, -1, 1, 1),
                                vertex(1, -1, 0, 1)};
    const std::vector<uint32_t> indices = {0, 1, 2, 2, 1, 3};
    computeTangentFrame(view(quad, indices), kLayout);
    for (const Vertex& v : quad) {
        expectVector(v.tangent, -1, 0, 0);
        expectVector(v.binormal, 0, -1, 0);
        expectVector(v.normal, 0, 0, -1);
    }
}

TEST(TangentFrame, TangentIsMadeOrthogonalToABentNormal) {
    std::vector<Vertex> quad = {vertex(-1, 1, 0, 0), vertex(1, 1, 1, 0), vertex(-1, -1, 0, 1)};
    for (Vertex& v : quad) {
        v.normal[0] = 1.0f; // normal (1, 0, -1), not normalised
    }
    const std::vector<uint32_t> indices = {0, 1, 2};
    computeTangentFrame(view(quad, indices), kLayout);
    const float s = std::sqrt(0.5f);
    expectVector(quad[0].tangent, s, 0, s);
    expectVector(quad[0].binormal, 0, -1, 0);
}

TEST(TangentFrame, DegenerateCoordinatesStillGiveAFiniteUnitFrame) {
    std::vector<Vertex> tri = {vertex(0, 0, 0.5f, 0.5f), vertex(1, 0, 0.5f, 0.5f),
                               vertex(0, 1, 0.5f, 0.5f), vertex(5, 5, 0, 0)};
    tri[3].normal[2] = 0.0f;                                  // an unused vertex without a normal
    const std::vector<uint32_t> indices = {0, 1, 2, 0, 1, 7}; // the second face is out of range
    computeTangentFrame(view(tri, indices), kLayout);
    for (const Vertex& v : tri) {
        const float t =
            v.tangent[0] * v.tangent[0] + v.tangent[1] * v.tangent[1] + v.tangent[2] * v.tangent[2];
        const float b = v.binormal[0] * v.binormal[0] + v.binormal[1] * v.binormal[1] +
                        v.binormal[2] * v.binormal[2];
        EXPECT_NEAR(t, 1.0f, 1e-5f);
        EXPECT_NEAR(b, 1.0f, 1e-5f);
    }
    EXPECT_NEAR(tri[0].tangent[2], 0.0f, 1e-6f); // perpendicular to the normal (0, 0, -1)
}

TEST(BoundingBox, CoversEveryPositionWithTheStride) {
    std::vector<Vertex> vertices = {vertex(-0.5f, 2, 0, 0), vertex(3, -1, 0, 0)};
    vertices[1].position[2] = -4.0f;
    float min[3], max[3];
    ASSERT_TRUE(computeBoundingBox(reinterpret_cast<uint8_t*>(vertices.data()), 2, 56, min, max));
    expectVector(min, -0.5f, -1, -4);
    expectVector(max, 3, 2, 0);
    EXPECT_FALSE(computeBoundingBox(nullptr, 2, 56, min, max));
    EXPECT_FALSE(computeBoundingBox(reinterpret_cast<uint8_t*>(vertices.data()), 0, 56, min, max));
}

TEST(VertexCache, OptimisationKeepsEveryTriangleAndVertex) {
    // A shuffled grid: the same triangles must come out, in a cache-friendlier order.
    const uint32_t side = 20;
    std::vector<Vertex> vertices;
    for (uint32_t y = 0; y <= side; ++y) {
        for (uint32_t x = 0; x <= side; ++x) {
            vertices.push_back(vertex(float(x), float(y), 0, 0));
        }
    }
    vertices.push_back(vertex(99, 99, 0, 0)); // unreferenced
    std::vector<std::array<uint32_t, 3>> faces;
    for (uint32_t y = 0; y < side; ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            const uint32_t a = y * (side + 1) + x, b = a + 1, c = a + side + 1, d = c + 1;
            faces.push_back({a, b, c});
            faces.push_back({c, b, d});
        }
    }
    std::shuffle(faces.begin(), faces.end(), std::mt19937(7));
    std::vector<uint32_t> indices;
    for (const auto& f : faces) {
        indices.insert(indices.end(), f.begin(), f.end());
    }
    std::vector<uint32_t> faceOrder, vertexOrder, newIndices;
    ASSERT_TRUE(
        optimizeForVertexCache(view(vertices, indices), faceOrder, vertexOrder, newIndices));
    ASSERT_EQ(vertexOrder.size(), vertices.size());
    ASSERT_EQ(newIndices.size(), indices.size());
    EXPECT_EQ(vertexOrder.back(), vertices.size() - 1);
    std::vector<uint32_t> sortedFaces = faceOrder;
    std::sort(sortedFaces.begin(), sortedFaces.end());
    for (uint32_t f = 0; f < sortedFaces.size(); ++f) {
        ASSERT_EQ(sortedFaces[f], f);
    }
    // Each new face names, through the vertex order, the old face it came from, same winding.
    for (size_t f = 0; f < faceOrder.size(); ++f) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(vertexOrder[newIndices[3 * f + k]], indices[3 * faceOrder[f] + k]);
        }
    }
    EXPECT_NE(faceOrder, sortedFaces); // it did reorder
}

TEST(VertexCache, RefusesIndicesBeyondTheVertices) {
    std::vector<Vertex> vertices = {vertex(0, 0, 0, 0), vertex(1, 0, 0, 0), vertex(0, 1, 0, 0)};
    const std::vector<uint32_t> indices = {0, 1, 3};
    std::vector<uint32_t> faceOrder, vertexOrder, newIndices;
    EXPECT_FALSE(
        optimizeForVertexCache(view(vertices, indices), faceOrder, vertexOrder, newIndices));
}
