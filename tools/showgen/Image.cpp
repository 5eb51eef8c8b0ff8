#include "tools/showgen/Image.h"

#include <cmath>

namespace showgen {

Colour mix(const Colour& a, const Colour& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

uint8_t toByte(double v) {
    if (!(v > 0.0)) {
        return 0;
    }
    if (v >= 1.0) {
        return 255;
    }
    return static_cast<uint8_t>(std::floor(v * 255.0 + 0.5));
}

Image::Image(int width, int height, const Colour& fill)
    : m_width(width), m_height(height), m_rgba(static_cast<size_t>(width) * height * 4) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            set(x, y, fill);
        }
    }
}

void Image::set(int x, int y, const Colour& c) {
    uint8_t* p = &m_rgba[(static_cast<size_t>(y) * m_width + x) * 4];
    p[0] = toByte(c.r);
    p[1] = toByte(c.g);
    p[2] = toByte(c.b);
    p[3] = toByte(c.a);
}

Colour Image::get(int x, int y) const {
    const uint8_t* p = &m_rgba[(static_cast<size_t>(y) * m_width + x) * 4];
    return {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, p[3] / 255.0};
}

void Image::blend(int x, int y, const Colour& c, double coverage) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    const double t = coverage * c.a;
    if (t <= 0.0) {
        return;
    }
    const Colour under = get(x, y);
    Colour out = mix(under, c, t);
    out.a = under.a + (1.0 - under.a) * t;
    set(x, y, out);
}

bool Image::opaque() const {
    for (size_t i = 3; i < m_rgba.size(); i += 4) {
        if (m_rgba[i] != 255) {
            return false;
        }
    }
    return true;
}

HeightField::HeightField(int width, int height)
    : m_width(width), m_height(height), m_values(static_cast<size_t>(width) * height, 0.0) {}

double HeightField::at(int x, int y) const {
    x = ((x % m_width) + m_width) % m_width;
    y = ((y % m_height) + m_height) % m_height;
    return m_values[static_cast<size_t>(y) * m_width + x];
}

Image normalMapFrom(const HeightField& heights, double strength) {
    Image out(heights.width(), heights.height());
    for (int y = 0; y < heights.height(); ++y) {
        for (int x = 0; x < heights.width(); ++x) {
            const double du = (heights.at(x + 1, y) - heights.at(x - 1, y)) * 0.5 * strength;
            const double dv = (heights.at(x, y + 1) - heights.at(x, y - 1)) * 0.5 * strength;
            const double len = std::sqrt(du * du + dv * dv + 1.0);
            const double nx = -du / len;
            const double ny = -dv / len;
            const double nz = 1.0 / len;
            out.set(x, y, Colour(nx * 0.5 + 0.5, ny * 0.5 + 0.5, nz * 0.5 + 0.5));
        }
    }
    return out;
}

bool isPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

} // namespace showgen
