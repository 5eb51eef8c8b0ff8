#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace showgen {

// A colour with components nominally in [0, 1].
struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 1.0;

    Colour() = default;
    Colour(double r_, double g_, double b_, double a_ = 1.0) : r(r_), g(g_), b(b_), a(a_) {}

    Colour operator*(double s) const { return {r * s, g * s, b * s, a}; }
    Colour operator*(const Colour& o) const { return {r * o.r, g * o.g, b * o.b, a}; }
    Colour operator+(const Colour& o) const { return {r + o.r, g + o.g, b + o.b, a}; }
};

// Blends colour channels (and alpha) from a to b.
Colour mix(const Colour& a, const Colour& b, double t);

// An 8-bit RGBA picture, rows top to bottom.
class Image {
public:
    Image() = default;
    Image(int width, int height, const Colour& fill = Colour(0, 0, 0, 1));

    int width() const { return m_width; }
    int height() const { return m_height; }
    const std::vector<uint8_t>& rgba() const { return m_rgba; }

    void set(int x, int y, const Colour& c);
    Colour get(int x, int y) const;
    // Alpha-blends c over the pixel with weight `coverage` * c.a.
    void blend(int x, int y, const Colour& c, double coverage);
    // True when every pixel has alpha 255.
    bool opaque() const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint8_t> m_rgba;
};

uint8_t toByte(double v);

// Heights in [0, 1] on a grid that wraps at its edges.
class HeightField {
public:
    HeightField(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    double at(int x, int y) const;
    void set(int x, int y, double h) { m_values[static_cast<size_t>(y) * m_width + x] = h; }

private:
    int m_width;
    int m_height;
    std::vector<double> m_values;
};

// A tangent-space normal map from a height field: red follows u (right), green follows v
// (down the image), blue the surface normal. `strength` scales the slopes (height units per
// texel).
Image normalMapFrom(const HeightField& heights, double strength);

bool isPowerOfTwo(int n);

} // namespace showgen
