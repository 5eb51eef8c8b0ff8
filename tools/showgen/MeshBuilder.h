#pragma once

#include "tools/showgen/SceneMath.h"

#include <cstdint>
#include <vector>

namespace showgen {

// Collects the vertices and triangles of one scene object. Triangles are wound from the vertex
// normals: the renderer culls clockwise triangles, so every triangle is ordered to appear
// counter-clockwise when seen from the side its normals face.
class MeshBuilder {
public:
    uint32_t vertex(const Vec3& position, const Vec3& normal, double u, double v);
    void triangle(uint32_t a, uint32_t b, uint32_t c);
    void quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d);

    // Adds another mesh moved by an offset.
    void append(const MeshBuilder& other, const Vec3& offset);

    size_t triangleCount() const { return m_indices.size() / 3; }
    size_t vertexCount() const { return m_vertices.size(); }
    std::vector<scenefile::Vertex>& vertices() { return m_vertices; }
    std::vector<uint32_t>& indices() { return m_indices; }
    const std::vector<scenefile::Vertex>& vertices() const { return m_vertices; }
    const std::vector<uint32_t>& indices() const { return m_indices; }

private:
    std::vector<scenefile::Vertex> m_vertices;
    std::vector<uint32_t> m_indices;
};

// Primitives, built around their own origin. `uvScale` is texture repeats per unit of length
// where a primitive's texture follows its size.

// An axis-aligned box from min to max; textures repeat every 1 / uvScale units on every face.
MeshBuilder box(const Vec3& min, const Vec3& max, double uvScale);
// A horizontal patch of ground at height y, split into cells, facing up.
MeshBuilder groundPatch(double x0, double z0, double x1, double z1, double y, int cells,
                        double uvScale);
// A surface of revolution about the y axis through profile points (radius, height), u around
// (repeated uRepeat times), v along the profile. Normals point away from the axis.
struct ProfilePoint {
    double radius;
    double height;
};
MeshBuilder lathe(const std::vector<ProfilePoint>& profile, int segments, double uRepeat,
                  double vRepeat);
MeshBuilder sphere(double radius, int segments, int rings);
// A ring in the xz plane: major radius around y, minor radius of the tube.
MeshBuilder torus(double major, double minor, int segments, int sides, double uRepeat);
// An open cylinder band (both faces), radius r, from y0 to y1, texture once top to bottom.
MeshBuilder band(double radius, double y0, double y1, int segments, double uRepeat);
// A cylinder with caps from `from` to `to`, for posts, arms and branches.
MeshBuilder strut(const Vec3& from, const Vec3& to, double radiusFrom, double radiusTo,
                  int segments, double uRepeat, double vRepeat);
// A flat toothed wheel in the xz plane, centred on the origin, with a hole for the hub.
MeshBuilder gear(double outer, double toothDepth, int teeth, double hole, double thickness);
// A square card facing both ways (two layers of opposite normals), centred on `centre`, spanned
// by the vectors `across` and `up` (each half the card's side).
MeshBuilder card(const Vec3& centre, const Vec3& across, const Vec3& up);

} // namespace showgen
