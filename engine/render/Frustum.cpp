#include "engine/render/Frustum.h"

#include <cmath>

namespace {

Vec4 normalised(const Vec4& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return Vec4(v.x / length, v.y / length, v.z / length, v.w);
}

} // namespace

void Plane::fromPoints(const Vec4& a, const Vec4& b, const Vec4& c) {
    const Vec4 e1 = normalised(c - a);
    const Vec4 e2 = normalised(c - b);
    normal = normalised(e1.cross(e2));
    d = normal.dot(a);
}

void Frustum::build(const Matrix4& viewProjection) {
    Matrix4 inverse = viewProjection;
    inverse.invert(); // a singular matrix is used as it stands

    static const float kClipCorners[8][3] = {{-1, -1, 0}, {1, -1, 0}, {-1, 1, 0}, {1, 1, 0},
                                             {-1, -1, 1}, {1, -1, 1}, {-1, 1, 1}, {1, 1, 1}};
    for (int i = 0; i < 8; ++i) {
        const Vec4 clip(kClipCorners[i][0], kClipCorners[i][1], kClipCorners[i][2], 1.0f);
        const Vec4 p = inverse.transform(clip);
        m_corners[i] = Vec4(p.x / p.w, p.y / p.w, p.z / p.w, 1.0f);
    }
    const Vec4* c = m_corners;
    m_planes[Near].fromPoints(c[0], c[1], c[2]);
    m_planes[Far].fromPoints(c[6], c[7], c[5]);
    m_planes[Left].fromPoints(c[2], c[6], c[4]);
    m_planes[Right].fromPoints(c[7], c[3], c[5]);
    m_planes[Top].fromPoints(c[2], c[3], c[6]);
    m_planes[Bottom].fromPoints(c[1], c[0], c[4]);
}

bool Frustum::sphereVisible(const Vec4& centre, float radius) const {
    const Vec4 p(centre.x, centre.y, centre.z, 1.0f);
    for (const Plane& plane : m_planes) {
        if (plane.distance(p) < -radius) {
            return false;
        }
    }
    return true;
}

bool Frustum::boxVisible(const Matrix4& world, const Vec4& boxMin, const Vec4& boxMax) const {
    unsigned common = (1u << PlaneCount) - 1;
    for (int i = 0; i < 8; ++i) {
        const Vec4 local((i & 1) ? boxMax.x : boxMin.x, (i & 2) ? boxMax.y : boxMin.y,
                         (i & 4) ? boxMax.z : boxMin.z, 1.0f);
        const Vec4 corner = world.transform(local);
        unsigned outcode = 0;
        for (int p = 0; p < PlaneCount; ++p) {
            if (m_planes[p].distance(corner) < 0.0f) {
                outcode |= 1u << p;
            }
        }
        if (outcode == 0) {
            return true;
        }
        common &= outcode;
    }
    return common == 0;
}
