#include "tools/showgen/MeshBuilder.h"

#include "tools/showgen/DetMath.h"

#include <cmath>

namespace showgen {

using detmath::kPi;
using detmath::kTwoPi;

uint32_t MeshBuilder::vertex(const Vec3& position, const Vec3& normal, double u, double v) {
    scenefile::Vertex vertex;
    vertex.position = position;
    vertex.normal = normalised(normal);
    vertex.u = static_cast<float>(u);
    vertex.v = static_cast<float>(v);
    m_vertices.push_back(vertex);
    return static_cast<uint32_t>(m_vertices.size() - 1);
}

void MeshBuilder::triangle(uint32_t a, uint32_t b, uint32_t c) {
    const Vec3& pa = m_vertices[a].position;
    const Vec3& pb = m_vertices[b].position;
    const Vec3& pc = m_vertices[c].position;
    const Vec3 face = cross(pb - pa, pc - pa);
    // Degenerate triangles (at the poles of a sphere, say) would only disturb the tangents.
    if (dot(face, face) < 1e-14) {
        return;
    }
    const Vec3 facing = m_vertices[a].normal + m_vertices[b].normal + m_vertices[c].normal;
    if (dot(face, facing) > 0.0) {
        std::swap(b, c);
    }
    m_indices.push_back(a);
    m_indices.push_back(b);
    m_indices.push_back(c);
}

void MeshBuilder::quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    triangle(a, b, c);
    triangle(a, c, d);
}

void MeshBuilder::append(const MeshBuilder& other, const Vec3& offset) {
    const auto base = static_cast<uint32_t>(m_vertices.size());
    for (scenefile::Vertex v : other.m_vertices) {
        v.position = v.position + offset;
        m_vertices.push_back(v);
    }
    for (uint32_t index : other.m_indices) {
        m_indices.push_back(base + index);
    }
}

MeshBuilder box(const Vec3& min, const Vec3& max, double uvScale) {
    MeshBuilder m;
    // Each face: its normal and the two in-plane axes that carry u and v.
    struct Face {
        Vec3 normal;
        int uAxis;
        int vAxis;
    };
    const Face faces[6] = {{vec(1, 0, 0), 2, 1},  {vec(-1, 0, 0), 2, 1}, {vec(0, 1, 0), 0, 2},
                           {vec(0, -1, 0), 0, 2}, {vec(0, 0, 1), 0, 1},  {vec(0, 0, -1), 0, 1}};
    auto component = [](const Vec3& p, int axis) {
        return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
    };
    for (const Face& face : faces) {
        uint32_t corners[4];
        const double su[4] = {0, 1, 1, 0};
        const double sv[4] = {0, 0, 1, 1};
        for (int k = 0; k < 4; ++k) {
            Vec3 p = vec(face.normal.x > 0 ? max.x : min.x, face.normal.y > 0 ? max.y : min.y,
                         face.normal.z > 0 ? max.z : min.z);
            float* axes[3] = {&p.x, &p.y, &p.z};
            *axes[face.uAxis] = static_cast<float>(su[k] > 0 ? component(max, face.uAxis)
                                                             : component(min, face.uAxis));
            *axes[face.vAxis] = static_cast<float>(sv[k] > 0 ? component(max, face.vAxis)
                                                             : component(min, face.vAxis));
            // Texture v runs down the image: map it against height so pictures stand upright.
            corners[k] = m.vertex(p, face.normal, component(p, face.uAxis) * uvScale,
                                  -component(p, face.vAxis) * uvScale);
        }
        m.quad(corners[0], corners[1], corners[2], corners[3]);
    }
    return m;
}

MeshBuilder groundPatch(double x0, double z0, double x1, double z1, double y, int cells,
                        double uvScale) {
    MeshBuilder m;
    const int n = cells + 1;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const double x = x0 + (x1 - x0) * i / cells;
            const double z = z0 + (z1 - z0) * j / cells;
            m.vertex(vec(x, y, z), vec(0, 1, 0), x * uvScale, -z * uvScale);
        }
    }
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            const auto a = static_cast<uint32_t>(j * n + i);
            m.quad(a, a + 1, a + 1 + static_cast<uint32_t>(n), a + static_cast<uint32_t>(n));
        }
    }
    return m;
}

MeshBuilder lathe(const std::vector<ProfilePoint>& profile, int segments, double uRepeat,
                  double vRepeat) {
    MeshBuilder m;
    const int rows = static_cast<int>(profile.size());
    std::vector<double> along(profile.size(), 0.0);
    for (int i = 1; i < rows; ++i) {
        const double dr = profile[i].radius - profile[i - 1].radius;
        const double dh = profile[i].height - profile[i - 1].height;
        along[i] = along[i - 1] + std::sqrt(dr * dr + dh * dh);
    }
    const double total = along.back() > 0.0 ? along.back() : 1.0;
    for (int i = 0; i < rows; ++i) {
        const ProfilePoint& before = profile[i > 0 ? i - 1 : i];
        const ProfilePoint& after = profile[i + 1 < rows ? i + 1 : i];
        const double dr = after.radius - before.radius;
        const double dh = after.height - before.height;
        for (int j = 0; j <= segments; ++j) {
            const double angle = kTwoPi * j / segments;
            const double c = detmath::cos(angle);
            const double s = detmath::sin(angle);
            const Vec3 position =
                vec(profile[i].radius * c, profile[i].height, profile[i].radius * s);
            // Perpendicular to the profile in its plane, turned away from the axis.
            const Vec3 normal = vec(dh * c, -dr, dh * s);
            m.vertex(position, normal, uRepeat * j / segments, vRepeat * (1.0 - along[i] / total));
        }
    }
    const auto stride = static_cast<uint32_t>(segments + 1);
    for (int i = 0; i + 1 < rows; ++i) {
        for (int j = 0; j < segments; ++j) {
            const auto a = static_cast<uint32_t>(i) * stride + static_cast<uint32_t>(j);
            m.quad(a, a + 1, a + 1 + stride, a + stride);
        }
    }
    return m;
}

MeshBuilder sphere(double radius, int segments, int rings) {
    MeshBuilder m;
    for (int i = 0; i <= rings; ++i) {
        const double polar = kPi * i / rings;
        const double y = -detmath::cos(polar);
        const double r = detmath::sin(polar);
        for (int j = 0; j <= segments; ++j) {
            const double angle = kTwoPi * j / segments;
            const Vec3 normal = vec(r * detmath::cos(angle), y, r * detmath::sin(angle));
            m.vertex(normal * radius, normal, static_cast<double>(j) / segments,
                     1.0 - static_cast<double>(i) / rings);
        }
    }
    const auto stride = static_cast<uint32_t>(segments + 1);
    for (int i = 0; i < rings; ++i) {
        for (int j = 0; j < segments; ++j) {
            const auto a = static_cast<uint32_t>(i) * stride + static_cast<uint32_t>(j);
            m.quad(a, a + 1, a + 1 + stride, a + stride);
        }
    }
    return m;
}

MeshBuilder torus(double major, double minor, int segments, int sides, double uRepeat) {
    MeshBuilder m;
    for (int i = 0; i <= segments; ++i) {
        const double angle = kTwoPi * i / segments;
        const double c = detmath::cos(angle);
        const double s = detmath::sin(angle);
        for (int j = 0; j <= sides; ++j) {
            const double tube = kTwoPi * j / sides;
            const Vec3 normal =
                vec(detmath::cos(tube) * c, detmath::sin(tube), detmath::cos(tube) * s);
            const Vec3 centre = vec(major * c, 0.0, major * s);
            m.vertex(centre + normal * minor, normal, uRepeat * i / segments,
                     static_cast<double>(j) / sides);
        }
    }
    const auto stride = static_cast<uint32_t>(sides + 1);
    for (int i = 0; i < segments; ++i) {
        for (int j = 0; j < sides; ++j) {
            const auto a = static_cast<uint32_t>(i) * stride + static_cast<uint32_t>(j);
            m.quad(a, a + 1, a + 1 + stride, a + stride);
        }
    }
    return m;
}

MeshBuilder band(double radius, double y0, double y1, int segments, double uRepeat) {
    MeshBuilder m;
    for (int side = 0; side < 2; ++side) {
        const double facing = side == 0 ? 1.0 : -1.0;
        const auto base = static_cast<uint32_t>(m.vertexCount());
        for (int j = 0; j <= segments; ++j) {
            const double angle = kTwoPi * j / segments;
            const Vec3 out = vec(detmath::cos(angle), 0.0, detmath::sin(angle));
            const double u = uRepeat * j / segments;
            m.vertex(vec(out.x * radius, y0, out.z * radius), out * facing, u, 1.0);
            m.vertex(vec(out.x * radius, y1, out.z * radius), out * facing, u, 0.0);
        }
        for (int j = 0; j < segments; ++j) {
            const uint32_t a = base + static_cast<uint32_t>(j) * 2;
            m.quad(a, a + 2, a + 3, a + 1);
        }
    }
    return m;
}

MeshBuilder strut(const Vec3& from, const Vec3& to, double radiusFrom, double radiusTo,
                  int segments, double uRepeat, double vRepeat) {
    MeshBuilder m;
    const Vec3 axis = normalised(to - from);
    const Vec3 helper = std::fabs(axis.y) < 0.9 ? vec(0, 1, 0) : vec(1, 0, 0);
    const Vec3 side = normalised(cross(axis, helper));
    const Vec3 other = cross(side, axis);
    const double slope = (radiusFrom - radiusTo) / std::max(length(to - from), 1e-6);
    for (int j = 0; j <= segments; ++j) {
        const double angle = kTwoPi * j / segments;
        const Vec3 out = side * detmath::cos(angle) + other * detmath::sin(angle);
        const Vec3 normal = out + axis * slope;
        const double u = uRepeat * j / segments;
        m.vertex(from + out * radiusFrom, normal, u, vRepeat);
        m.vertex(to + out * radiusTo, normal, u, 0.0);
    }
    for (int j = 0; j < segments; ++j) {
        const auto a = static_cast<uint32_t>(j) * 2;
        m.quad(a, a + 2, a + 3, a + 1);
    }
    // Caps: fans around the two ends.
    for (int end = 0; end < 2; ++end) {
        const Vec3 centre = end == 0 ? from : to;
        const double radius = end == 0 ? radiusFrom : radiusTo;
        const Vec3 normal = end == 0 ? axis * -1.0 : axis;
        const uint32_t middle = m.vertex(centre, normal, 0.5, 0.5);
        const auto ring = static_cast<uint32_t>(m.vertexCount());
        for (int j = 0; j <= segments; ++j) {
            const double angle = kTwoPi * j / segments;
            const double c = detmath::cos(angle);
            const double s = detmath::sin(angle);
            m.vertex(centre + (side * c + other * s) * radius, normal, 0.5 + 0.5 * c,
                     0.5 + 0.5 * s);
        }
        for (int j = 0; j < segments; ++j) {
            m.triangle(middle, ring + static_cast<uint32_t>(j),
                       ring + static_cast<uint32_t>(j) + 1);
        }
    }
    return m;
}

MeshBuilder gear(double outer, double toothDepth, int teeth, double hole, double thickness) {
    // The outline: per tooth a flank up, a flat tip, a flank down and a stretch of root.
    std::vector<double> angles;
    std::vector<double> radii;
    const double pitch = kTwoPi / teeth;
    const double root = outer - toothDepth;
    const double shape[4][2] = {{0.0, root}, {0.15, outer}, {0.45, outer}, {0.6, root}};
    for (int t = 0; t < teeth; ++t) {
        for (const auto& point : shape) {
            angles.push_back((t + point[0]) * pitch);
            radii.push_back(point[1]);
        }
    }
    const size_t n = angles.size();
    const double half = thickness * 0.5;
    const double uv = 1.0 / (2.0 * outer);
    MeshBuilder m;
    auto at = [&](size_t i, double radius, double y) {
        return vec(radius * detmath::cos(angles[i % n]), y, radius * detmath::sin(angles[i % n]));
    };
    for (int face = 0; face < 2; ++face) {
        const double y = face == 0 ? half : -half;
        const Vec3 normal = vec(0, face == 0 ? 1 : -1, 0);
        const auto base = static_cast<uint32_t>(m.vertexCount());
        for (size_t i = 0; i < n; ++i) {
            const Vec3 rim = at(i, radii[i], y);
            const Vec3 inner = at(i, hole, y);
            m.vertex(rim, normal, 0.5 + rim.x * uv, 0.5 + rim.z * uv);
            m.vertex(inner, normal, 0.5 + inner.x * uv, 0.5 + inner.z * uv);
        }
        for (size_t i = 0; i < n; ++i) {
            const uint32_t a = base + static_cast<uint32_t>(i) * 2;
            const uint32_t b = base + static_cast<uint32_t>((i + 1) % n) * 2;
            m.quad(a, b, b + 1, a + 1);
        }
    }
    // Side walls, flat-shaded: outer outline facing out, hole facing in.
    double perimeter = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const Vec3 a = at(i, radii[i], 0.0);
        const Vec3 b = at(i + 1, radii[(i + 1) % n], 0.0);
        const Vec3 edge = b - a;
        const Vec3 out = normalised(vec(edge.z, 0.0, -edge.x));
        const Vec3 facing = dot(out, a + b) >= 0.0 ? out : out * -1.0;
        const double u0 = perimeter * uv;
        perimeter += length(edge);
        const double u1 = perimeter * uv;
        const uint32_t v0 = m.vertex(at(i, radii[i], half), facing, u0, 0.0);
        const uint32_t v1 = m.vertex(at(i + 1, radii[(i + 1) % n], half), facing, u1, 0.0);
        const uint32_t v2 =
            m.vertex(at(i + 1, radii[(i + 1) % n], -half), facing, u1, thickness * uv);
        const uint32_t v3 = m.vertex(at(i, radii[i], -half), facing, u0, thickness * uv);
        m.quad(v0, v1, v2, v3);
        const Vec3 inward = normalised(at(i, hole, 0.0) + at(i + 1, hole, 0.0)) * -1.0;
        const uint32_t w0 = m.vertex(at(i, hole, half), inward, u0, 0.0);
        const uint32_t w1 = m.vertex(at(i + 1, hole, half), inward, u1, 0.0);
        const uint32_t w2 = m.vertex(at(i + 1, hole, -half), inward, u1, thickness * uv);
        const uint32_t w3 = m.vertex(at(i, hole, -half), inward, u0, thickness * uv);
        m.quad(w0, w1, w2, w3);
    }
    return m;
}

MeshBuilder card(const Vec3& centre, const Vec3& across, const Vec3& up) {
    MeshBuilder m;
    const Vec3 normal = normalised(cross(across, up));
    for (int side = 0; side < 2; ++side) {
        const Vec3 n = side == 0 ? normal : normal * -1.0;
        const uint32_t a = m.vertex(centre - across - up, n, 0.0, 1.0);
        const uint32_t b = m.vertex(centre + across - up, n, 1.0, 1.0);
        const uint32_t c = m.vertex(centre + across + up, n, 1.0, 0.0);
        const uint32_t d = m.vertex(centre - across + up, n, 0.0, 0.0);
        m.quad(a, b, c, d);
    }
    return m;
}

} // namespace showgen
