#include "engine/scene/Placement.h"

#include <cmath>

void translate(Matrix4& m, const Vec4& v) {
    Matrix4 t;
    t.m[3][0] = v.x;
    t.m[3][1] = v.y;
    t.m[3][2] = v.z;
    t.m[3][3] = v.w;
    m = t * m;
}

void rotateAxis(Matrix4& m, float angle, const Vec4& axis) {
    const float len = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    const float x = axis.x / len;
    const float y = axis.y / len;
    const float z = axis.z / len;
    const float s = std::sin(angle);
    const float c = std::cos(angle);
    const float C = 1.0f - c;

    Matrix4 r;
    r.m[0][0] = C * x * x + c;
    r.m[0][1] = C * x * y + s * z;
    r.m[0][2] = C * x * z - s * y;
    r.m[1][0] = C * x * y - s * z;
    r.m[1][1] = C * y * y + c;
    r.m[1][2] = C * y * z + s * x;
    r.m[2][0] = C * x * z + s * y;
    r.m[2][1] = C * y * z - s * x;
    r.m[2][2] = C * z * z + c;
    m = r * m;
}

Matrix4 placement(const Vec4& position, const Vec4& axis, float angle, const Matrix4& start) {
    Matrix4 m = start;
    translate(m, position);
    if (Vec4(axis.x, axis.y, axis.z, 1.0f) != Vec4(0.0f, 0.0f, 0.0f, 1.0f)) {
        rotateAxis(m, angle, axis);
    }
    return m;
}
