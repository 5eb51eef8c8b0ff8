#pragma once

#include "engine/core/Matrix4.h"

// A plane n . p = d; the signed distance of a point is positive on the side n points to.
struct Plane {
    Vec4 normal;
    float d = 0.0f;

    // Through a, b and c; the normal is normalise(normalise(c - a) x normalise(c - b)).
    void fromPoints(const Vec4& a, const Vec4& b, const Vec4& c);
    float distance(const Vec4& p) const {
        return normal.x * p.x + normal.y * p.y + normal.z * p.z - d * p.w;
    }
};

// The view volume in world space: eight corners and six planes facing inwards, rebuilt from the
// camera's view-projection matrix once per frame.
class Frustum {
public:
    enum PlaneIndex { Near, Far, Left, Right, Top, Bottom, PlaneCount };

    void build(const Matrix4& viewProjection);

    // False only when the sphere lies wholly behind one plane.
    bool sphereVisible(const Vec4& centre, float radius) const;

    // The object-space box placed by `world`. False only when all eight corners lie behind one
    // and the same plane; a box outside near an edge or corner may still count as visible.
    bool boxVisible(const Matrix4& world, const Vec4& boxMin, const Vec4& boxMax) const;

    const Vec4& corner(int i) const { return m_corners[i]; }
    const Plane& plane(int i) const { return m_planes[i]; }

private:
    Vec4 m_corners[8];
    Plane m_planes[PlaneCount];
};
