#pragma once

#include "tools/scenewriter/SceneWriter.h"

#include <cmath>

// Vector arithmetic on the scene file's 3-component vectors, for building geometry and paths.
namespace showgen {

using scenefile::Vec3;

inline Vec3 vec(double x, double y, double z) {
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}
inline Vec3 operator+(const Vec3& a, const Vec3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(const Vec3& a, double s) {
    return vec(a.x * s, a.y * s, a.z * s);
}
inline double dot(const Vec3& a, const Vec3& b) {
    return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y +
           static_cast<double>(a.z) * b.z;
}
inline Vec3 cross(const Vec3& a, const Vec3& b) {
    return vec(static_cast<double>(a.y) * b.z - static_cast<double>(a.z) * b.y,
               static_cast<double>(a.z) * b.x - static_cast<double>(a.x) * b.z,
               static_cast<double>(a.x) * b.y - static_cast<double>(a.y) * b.x);
}
inline double length(const Vec3& a) {
    return std::sqrt(dot(a, a));
}
inline Vec3 normalised(const Vec3& a) {
    const double l = length(a);
    return l > 0.0 ? a * (1.0 / l) : vec(0, 1, 0);
}
inline Vec3 lerp(const Vec3& a, const Vec3& b, double t) {
    return a + (b - a) * t;
}

} // namespace showgen
