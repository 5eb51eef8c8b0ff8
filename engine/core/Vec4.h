#pragma once

#include <cmath>
#include <cstdint>

// Four floats used as a point or direction (w = 1 for points) and as a colour (r, g, b, a).
struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    Vec4() = default;
    Vec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    // Ordered comparisons on purpose: a NaN component never makes two vectors different.
    bool operator!=(const Vec4& o) const {
        return x < o.x || x > o.x || y < o.y || y > o.y || z < o.z || z > o.z || w < o.w || w > o.w;
    }
    bool operator==(const Vec4& o) const { return !(*this != o); }

    Vec4 operator+(const Vec4& o) const { return Vec4(x + o.x, y + o.y, z + o.z, 1.0f); }
    Vec4 operator-(const Vec4& o) const { return Vec4(x - o.x, y - o.y, z - o.z, 1.0f); }

    float dot(const Vec4& o) const { return x * o.x + y * o.y + z * o.z; }

    Vec4 cross(const Vec4& o) const {
        return Vec4(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x, 1.0f);
    }

    // Scales x, y, z to the given length; w is kept.
    Vec4 scaledTo(float length) const {
        float f = length / std::sqrt(x * x + y * y + z * z);
        return Vec4(x * f, y * f, z * f, w);
    }
};

// A colour channel as an 8-bit device value: times 255, truncated toward zero, low 8 bits kept
// (so 2.0 wraps to 254 rather than saturating). Values beyond the int range are pinned first so
// that the conversion itself stays defined.
inline uint32_t colorChannelByte(float c) {
    float scaled = c * 255.0f;
    if (!(scaled > -2147483648.0f)) {
        scaled = scaled != scaled ? 0.0f : -2147483648.0f;
    } else if (scaled >= 2147483647.0f) {
        scaled = 2147483647.0f;
    }
    return static_cast<uint32_t>(static_cast<int32_t>(scaled)) & 0xFFu;
}

// Packs a colour as a Direct3D ARGB value.
inline uint32_t colorToArgb(const Vec4& c) {
    return (colorChannelByte(c.w) << 24) | (colorChannelByte(c.x) << 16) |
           (colorChannelByte(c.y) << 8) | colorChannelByte(c.z);
}
