// Pictures whose alpha channel carries a mask: cut-outs (alpha test) and glow masks.
#include "tools/showgen/DetMath.h"
#include "tools/showgen/Noise.h"
#include "tools/showgen/Patterns.h"
#include "tools/showgen/Random.h"
#include "tools/showgen/Textures.h"

#include <algorithm>
#include <cmath>

namespace showgen {

using detmath::smoothstep;

namespace {

// Soft coverage of a shape whose signed distance (negative inside) is d, in pixels.
double coverage(double d) {
    return detmath::clamp(0.5 - d, 0.0, 1.0);
}

struct Leaf {
    double x, y;   // base of the stalk, pixels
    double angle;  // direction from base to tip
    double length; // pixels
    double width;  // widest half-width, pixels
    Colour tint;
};

// Signed distance-like value of a point to a pointed leaf blade (negative inside), in pixels.
double leafDistance(const Leaf& leaf, double px, double py, double& along, double& across) {
    const double c = detmath::cos(leaf.angle);
    const double s = detmath::sin(leaf.angle);
    const double dx = px - leaf.x;
    const double dy = py - leaf.y;
    along = (dx * c + dy * s) / leaf.length;
    across = -dx * s + dy * c;
    if (along < 0.0 || along > 1.0) {
        return 1.0e9;
    }
    const double half = leaf.width * detmath::pow(detmath::sin(along * detmath::kPi), 0.8);
    return std::fabs(across) - half;
}

} // namespace

Image leavesTexture() {
    const int size = 256;
    // The hidden texels carry the leaves' mean colour so filtering leaves no dark fringe.
    Image image(size, size, Colour(0.25, 0.45, 0.18, 0.0));
    Random random(2024);
    std::vector<Leaf> leaves;
    for (int i = 0; i < 22; ++i) {
        Leaf leaf;
        leaf.x = random.range(40.0, 216.0);
        leaf.y = random.range(40.0, 216.0);
        leaf.angle = random.range(0.0, detmath::kTwoPi);
        leaf.length = random.range(50.0, 80.0);
        leaf.width = leaf.length * random.range(0.2, 0.28);
        const double tone = random.unit();
        leaf.tint = mix(Colour(0.20, 0.42, 0.14), Colour(0.50, 0.70, 0.22), tone);
        leaves.push_back(leaf);
    }
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const double px = u * size;
        const double py = v * size;
        for (const Leaf& leaf : leaves) {
            double along = 0.0;
            double across = 0.0;
            const double d = leafDistance(leaf, px, py, along, across);
            const double cover = coverage(d);
            if (cover <= 0.0) {
                continue;
            }
            const double vein = 1.0 - smoothstep(0.6, 1.6, std::fabs(across));
            const double grain = fractalNoise(u, v, 32, 2, 0.5, 131u);
            Colour c = leaf.tint * (0.85 + 0.3 * grain + 0.25 * along);
            c = mix(c, Colour(0.75, 0.85, 0.45), vein * 0.6);
            c = mix(c, leaf.tint * 0.6, smoothstep(-2.5, 0.0, d) * 0.5);
            image.blend(x, y, Colour(c.r, c.g, c.b, 1.0), cover);
        }
    });
    return image;
}

Image grilleTexture() {
    const int size = 256;
    Image image(size, size, Colour(0.16, 0.15, 0.14, 0.0));
    const Colour iron(0.20, 0.19, 0.18);
    const Colour rust(0.46, 0.26, 0.14);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const double px = u * size;
        const double py = v * size;
        // Frame, upright bars, a ring in each quarter and scrolls between them.
        double d = std::min({px, size - px, py, size - py}) - 7.0;
        for (int bar = 1; bar < 8; ++bar) {
            d = std::min(d, std::fabs(px - bar * 32.0) - 2.5);
        }
        d = std::min(d, std::fabs(py - 128.0) - 4.0);
        for (int qy = 0; qy < 2; ++qy) {
            for (int qx = 0; qx < 2; ++qx) {
                const double cx = 64.0 + qx * 128.0 - px;
                const double cy = 64.0 + qy * 128.0 - py;
                const double r = std::sqrt(cx * cx + cy * cy);
                d = std::min(d, std::fabs(r - 40.0) - 3.5);
                d = std::min(d, std::fabs(r - 18.0) - 3.0);
            }
        }
        const double cover = coverage(d);
        const double corrosion = smoothstep(0.6, 0.85, fractalNoise(u, v, 16, 3, 0.5, 141u));
        const Colour metal = mix(iron, rust, corrosion);
        if (cover > 0.0) {
            image.set(x, y, Colour(metal.r, metal.g, metal.b, cover));
        }
    });
    return image;
}

Image lanternTexture() {
    const int size = 256;
    Image image(size, size);
    const Colour paper(1.0, 0.74, 0.40);
    const Colour painted(0.86, 0.30, 0.16);
    const Colour frame(0.22, 0.13, 0.08);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        // Bamboo ribs around the lantern and seams down it carry no glow (alpha 0).
        const double rib = std::fabs(v * 8.0 - std::floor(v * 8.0 + 0.5)) * 32.0;
        const double seam = std::fabs(u * 4.0 - std::floor(u * 4.0 + 0.5)) * 64.0;
        const double frameCover = 1.0 - smoothstep(1.5, 3.0, std::min(rib, seam));
        const double fibre = fractalNoise(u, v, 32, 3, 0.6, 151u);
        // A flower painted on every panel.
        const double cu = (u * 4.0 - std::floor(u * 4.0) - 0.5) * 64.0;
        const double cv = (v - 0.5) * 256.0;
        const double radius = std::sqrt(cu * cu + cv * cv);
        const double petals = 22.0 + 8.0 * detmath::cos(5.0 * detmath::atan2(cv, cu));
        const double flower = 1.0 - smoothstep(petals - 2.0, petals, radius);
        Colour glow = mix(paper * (0.9 + 0.1 * fibre), painted, flower * 0.8);
        glow.a = 0.92 + 0.08 * fibre;
        const Colour c = mix(glow, Colour(frame.r, frame.g, frame.b, 0.0), frameCover);
        image.set(x, y, c);
    });
    return image;
}

Image glyphTexture() {
    const int width = 512;
    const int height = 64;
    Image image(width, height, Colour(0.30, 0.22, 0.12, 0.0));
    Random random(77);
    // Eight glyphs, each a few strokes between the points of a 3 x 3 grid.
    std::vector<double> strokes; // x0, y0, x1, y1 in pixels
    for (int glyph = 0; glyph < 8; ++glyph) {
        const int count = 3 + random.below(3);
        for (int i = 0; i < count; ++i) {
            const int a = random.below(9);
            int b = random.below(9);
            if (b == a) {
                b = (a + 4) % 9;
            }
            const double left = glyph * 64.0 + 16.0;
            strokes.push_back(left + (a % 3) * 16.0);
            strokes.push_back(16.0 + (a / 3) * 16.0);
            strokes.push_back(left + (b % 3) * 16.0);
            strokes.push_back(16.0 + (b / 3) * 16.0);
        }
    }
    const Colour light(0.62, 1.0, 0.94);
    forEachPixel(width, height, [&](double, double, int x, int y) {
        const double px = x + 0.5;
        const double py = y + 0.5;
        double d = 1.0e9;
        for (size_t i = 0; i < strokes.size(); i += 4) {
            d = std::min(d, segmentDistance(px, py, strokes[i], strokes[i + 1], strokes[i + 2],
                                            strokes[i + 3]));
        }
        // Rails along both edges frame the band.
        const double rail = std::min(std::fabs(py - 4.0), std::fabs(py - 60.0)) - 1.5;
        const double stroke = coverage(d - 3.0);
        const double halo = (1.0 - smoothstep(3.0, 9.0, d)) * 0.55;
        const double a = std::max({stroke, halo, coverage(rail)});
        if (a > 0.0) {
            image.set(x, y, Colour(light.r, light.g, light.b, a));
        }
    });
    return image;
}

} // namespace showgen
