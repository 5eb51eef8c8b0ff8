#include "mesh/MeshCore.h"

#include <cmath>
#include <cstring>

namespace tarnelix::d3dx {
namespace {

struct V3 {
    float x = 0, y = 0, z = 0;
};

V3 operator+(V3 a, V3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 operator*(V3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
float dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float length(V3 a) {
    return std::sqrt(dot(a, a));
}
bool finite(V3 a) {
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z);
}

bool normalise(V3& a) {
    const float l = length(a);
    if (!(l > 1e-20f) || !std::isfinite(l)) {
        return false;
    }
    a = a * (1.0f / l);
    return true;
}

V3 load3(const uint8_t* p) {
    V3 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void store3(uint8_t* p, V3 v) {
    std::memcpy(p, &v, sizeof v);
}

// Any unit vector perpendicular to n (n a unit vector).
V3 perpendicular(V3 n) {
    const V3 axis = std::fabs(n.x) < 0.9f ? V3{1, 0, 0} : V3{0, 1, 0};
    V3 t = cross(axis, n);
    normalise(t);
    return t;
}

} // namespace

void computeTangentFrame(const MeshView& mesh, const TangentLayout& layout) {
    std::vector<V3> tangents(mesh.vertexCount);
    std::vector<V3> binormals(mesh.vertexCount);
    auto at = [&](uint32_t v, uint32_t offset) {
        return mesh.vertices + size_t(v) * mesh.stride + offset;
    };

    for (uint32_t f = 0; f < mesh.faceCount; ++f) {
        const uint32_t i[3] = {mesh.index(3 * size_t(f)), mesh.index(3 * size_t(f) + 1),
                               mesh.index(3 * size_t(f) + 2)};
        if (i[0] >= mesh.vertexCount || i[1] >= mesh.vertexCount || i[2] >= mesh.vertexCount) {
            continue;
        }
        const V3 p0 = load3(at(i[0], layout.position));
        const V3 e1 = load3(at(i[1], layout.position)) - p0;
        const V3 e2 = load3(at(i[2], layout.position)) - p0;
        float uv[3][2];
        for (int k = 0; k < 3; ++k) {
            std::memcpy(uv[k], at(i[k], layout.texcoord), sizeof uv[k]);
        }
        const float du1 = uv[1][0] - uv[0][0], dv1 = uv[1][1] - uv[0][1];
        const float du2 = uv[2][0] - uv[0][0], dv2 = uv[2][1] - uv[0][1];
        const float det = du1 * dv2 - du2 * dv1;
        if (!(std::fabs(det) > 1e-20f)) {
            continue; // no texture-space derivative: the vertex falls back below
        }
        // dP/du and dP/dv, normalised so that every face weighs the same.
        V3 t = (e1 * dv2 - e2 * dv1) * (1.0f / det);
        V3 b = (e2 * du1 - e1 * du2) * (1.0f / det);
        if (!normalise(t) || !normalise(b)) {
            continue;
        }
        for (uint32_t v : i) {
            tangents[v] = tangents[v] + t;
            binormals[v] = binormals[v] + b;
        }
    }

    for (uint32_t v = 0; v < mesh.vertexCount; ++v) {
        V3 n = load3(at(v, layout.normal));
        if (!finite(n) || !normalise(n)) {
            n = {0, 0, 1};
        }
        V3 t = tangents[v] - n * dot(n, tangents[v]);
        if (!finite(t) || !normalise(t)) {
            t = perpendicular(n);
        }
        V3 b = binormals[v] - n * dot(n, binormals[v]) - t * dot(t, binormals[v]);
        if (!finite(b) || !normalise(b)) {
            b = cross(n, t);
        }
        store3(at(v, layout.tangent), t);
        store3(at(v, layout.binormal), b);
    }
}

bool computeBoundingBox(const uint8_t* positions, uint32_t count, uint32_t stride, float min[3],
                        float max[3]) {
    if (positions == nullptr || count == 0) {
        return false;
    }
    for (uint32_t v = 0; v < count; ++v) {
        float p[3];
        std::memcpy(p, positions + size_t(v) * stride, sizeof p);
        for (int k = 0; k < 3; ++k) {
            if (v == 0 || p[k] < min[k]) {
                min[k] = p[k];
            }
            if (v == 0 || p[k] > max[k]) {
                max[k] = p[k];
            }
        }
    }
    return true;
}

} // namespace tarnelix::d3dx
