// Colour pictures of the garden's surfaces, some with the height fields of their relief.
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

SurfaceImage makeSurface(int size, double strength) {
    SurfaceImage s;
    s.colour = Image(size, size);
    s.height = HeightField(size, size);
    s.reliefStrength = strength;
    return s;
}

// A small per-block shift of brightness and hue, so no two stones look alike.
Colour varied(const Colour& base, uint32_t id, double amount) {
    const double shade = 1.0 + (unitFromHash(id) - 0.5) * amount;
    const double warm = (unitFromHash(hash32(id)) - 0.5) * amount * 0.5;
    return Colour(base.r * shade + warm, base.g * shade, base.b * shade - warm);
}

} // namespace

SurfaceImage pavingTexture() {
    const int size = 512;
    SurfaceImage s = makeSurface(size, 40.0);
    const Colour sandstone(0.80, 0.74, 0.62);
    const Colour mortar(0.42, 0.40, 0.36);
    const Colour moss(0.30, 0.42, 0.20);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const BondCell cell = bondCell(u, v, 4, 4);
        const double edge = std::min(cell.edgeU, cell.edgeV);
        const double grain = fractalNoise(u, v, 8, 5, 0.55, 11u);
        const double pits = fractalNoise(u, v, 64, 2, 0.5, 12u);
        const double slab = smoothstep(0.006, 0.022, edge);
        s.height.set(x, y, slab * (0.75 + 0.2 * grain + 0.05 * pits));
        Colour stone = varied(sandstone, cell.id, 0.22) * (0.8 + 0.4 * grain);
        const double mossy = smoothstep(0.55, 0.75, fractalNoise(u, v, 16, 3, 0.5, 13u));
        const Colour joint = mix(mortar, moss, mossy);
        s.colour.set(x, y, mix(joint, stone * (0.92 + 0.08 * pits), slab));
    });
    return s;
}

SurfaceImage brickTexture() {
    const int size = 512;
    SurfaceImage s = makeSurface(size, 30.0);
    const Colour clay(0.72, 0.38, 0.26);
    const Colour lime(0.78, 0.76, 0.70);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const BondCell cell = bondCell(u, v, 4, 8);
        const double edge = std::min(cell.edgeU, cell.edgeV);
        const double grain = fractalNoise(u, v, 16, 4, 0.6, 21u);
        const double brick = smoothstep(0.004, 0.012, edge);
        s.height.set(x, y, brick * (0.8 + 0.2 * grain));
        const Colour fired = varied(clay, cell.id, 0.35) * (0.8 + 0.35 * grain);
        s.colour.set(x, y, mix(lime * (0.85 + 0.2 * grain), fired, brick));
    });
    return s;
}

SurfaceImage brassTexture() {
    const int size = 256;
    SurfaceImage s = makeSurface(size, 10.0);
    const Colour brass(0.92, 0.72, 0.36);
    const Colour patina(0.36, 0.62, 0.52);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const CellSample dent = cellNoise(u, v, 12, 31u);
        const double hammer = std::min(1.0, dent.nearest * dent.nearest * 1.6);
        const double tarnish = fractalNoise(u, v, 4, 4, 0.55, 32u);
        s.height.set(x, y, hammer);
        const Colour metal = brass * (0.78 + 0.3 * hammer + 0.1 * unitFromHash(dent.id));
        s.colour.set(x, y, mix(metal, patina, smoothstep(0.62, 0.85, tarnish) * 0.8));
    });
    return s;
}

SurfaceImage barkTexture() {
    const int size = 256;
    SurfaceImage s = makeSurface(size, 24.0);
    const Colour bark(0.46, 0.36, 0.27);
    const Colour lichen(0.58, 0.64, 0.44);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const double streak = fractalNoise(u, v, 12, 2, 4, 0.5, 41u);
        const double ridge = 1.0 - std::fabs(2.0 * streak - 1.0);
        const double fine = fractalNoise(u, v, 32, 3, 0.5, 42u);
        const double height = smoothstep(0.35, 0.9, ridge) * 0.8 + 0.2 * fine;
        s.height.set(x, y, height);
        const double spots = smoothstep(0.68, 0.8, fractalNoise(u, v, 8, 3, 0.5, 43u));
        s.colour.set(x, y, mix(bark * (0.55 + 0.6 * height), lichen, spots * 0.7));
    });
    return s;
}

SurfaceImage waterTexture() {
    const int size = 256;
    SurfaceImage s = makeSurface(size, 6.0);
    const Colour deep(0.20, 0.48, 0.55);
    const Colour shallow(0.45, 0.75, 0.78);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const double swell = fractalNoise(u, v, 4, 4, 0.6, 51u);
        const double ripple = detmath::sin((u * 6.0 + v * 3.0 + swell * 2.0) * detmath::kTwoPi);
        const double height = 0.5 + 0.25 * ripple + 0.25 * swell;
        s.height.set(x, y, height);
        s.colour.set(x, y, mix(deep, shallow, smoothstep(0.3, 0.9, height)));
    });
    return s;
}

SurfaceImage rockPlanetTexture() {
    const int size = 256;
    SurfaceImage s = makeSurface(size, 16.0);
    const Colour dust(0.74, 0.58, 0.44);
    const Colour basalt(0.40, 0.36, 0.38);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const CellSample crater = cellNoise(u, v, 8, 61u);
        const double radius = 0.25 + 0.2 * unitFromHash(crater.id);
        const double d = crater.nearest / radius;
        double bowl = 0.0;
        if (d < 1.0) {
            bowl = -0.6 * (1.0 - d * d);
        } else if (d < 1.4) {
            bowl = 0.25 * (1.0 - (d - 1.0) / 0.4);
        }
        const double land = fractalNoise(u, v, 6, 5, 0.55, 62u);
        s.height.set(x, y, std::clamp(0.45 + bowl * 0.5 + 0.3 * land, 0.0, 1.0));
        s.colour.set(x, y, mix(basalt, dust, smoothstep(0.3, 0.7, land)) * (0.85 - bowl * 0.3));
    });
    return s;
}

Image grassTexture() {
    const int size = 256;
    Image image(size, size);
    const Colour lush(0.34, 0.62, 0.24);
    const Colour dry(0.58, 0.66, 0.30);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const double patch = fractalNoise(u, v, 4, 4, 0.55, 71u);
        const double blades = fractalNoise(u, v, 64, 16, 2, 0.5, 72u);
        const double daisies = smoothstep(0.80, 0.86, valueNoise(u, v, 48, 73u));
        Colour c = mix(lush, dry, smoothstep(0.45, 0.75, patch)) * (0.75 + 0.45 * blades);
        image.set(x, y, mix(c, Colour(0.98, 0.96, 0.85), daisies * 0.8));
    });
    return image;
}

Image hedgeTexture() {
    const int size = 256;
    Image image(size, size);
    const Colour dark(0.12, 0.30, 0.12);
    const Colour light(0.32, 0.58, 0.24);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const CellSample leaf = cellNoise(u, v, 20, 81u);
        const double body = 1.0 - smoothstep(0.0, 0.12, leaf.second - leaf.nearest);
        const double tone = unitFromHash(leaf.id);
        const Colour c = mix(dark, light, tone * 0.8 + 0.2 * (1.0 - leaf.nearest));
        image.set(x, y, mix(c, dark * 0.5, body * 0.7));
    });
    return image;
}

Image marbleTexture() {
    const int size = 256;
    Image image(size, size);
    const Colour white(0.94, 0.93, 0.90);
    const Colour vein(0.52, 0.56, 0.62);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const double turbulence = fractalNoise(u, v, 4, 5, 0.6, 91u);
        const double wave = detmath::sin((u * 2.0 + v + turbulence * 3.0) * detmath::kTwoPi);
        const double line = 1.0 - smoothstep(0.0, 0.18, std::fabs(wave));
        const double cloud = fractalNoise(u, v, 8, 3, 0.5, 92u);
        image.set(x, y, mix(white * (0.92 + 0.08 * cloud), vein, line * 0.75));
    });
    return image;
}

Image woodTexture() {
    const int size = 256;
    Image image(size, size);
    const Colour oak(0.66, 0.46, 0.28);
    const Colour late(0.44, 0.28, 0.16);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const int plank = static_cast<int>(v * 4.0);
        const double offset = unitFromHash(hash32(static_cast<uint32_t>(plank) + 5u));
        const double wobble = fractalNoise(u, v, 4, 16, 3, 0.5, 101u);
        const double rings = v * 24.0 + wobble * 3.0 + offset * 7.0;
        const double ring = rings - std::floor(rings);
        const double across = v * 4.0 - plank;
        const double seam = smoothstep(0.0, 0.04, std::min(across, 1.0 - across));
        const Colour c = mix(oak, late, smoothstep(0.55, 0.95, ring)) * (0.85 + 0.3 * offset);
        image.set(x, y, c * (0.4 + 0.6 * seam));
    });
    return image;
}

Image gasPlanetTexture() {
    const int size = 256;
    Image image(size, size);
    const Colour cream(0.96, 0.86, 0.68);
    const Colour rust(0.80, 0.46, 0.26);
    const Colour storm(0.62, 0.30, 0.22);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const double swirl = fractalNoise(u, v, 8, 4, 4, 0.55, 111u);
        const double band = detmath::sin((v * 7.0 + swirl * 0.6) * detmath::kTwoPi);
        Colour c = mix(cream, rust, smoothstep(-0.4, 0.6, band));
        const double du = std::min(std::fabs(u - 0.3), 1.0 - std::fabs(u - 0.3)) * 2.0;
        const double dv = (v - 0.62) * 4.0;
        const double eye = 1.0 - smoothstep(0.05, 0.09, du * du + dv * dv);
        image.set(x, y, mix(c, storm, eye));
    });
    return image;
}

Image icePlanetTexture() {
    const int size = 256;
    Image image(size, size);
    const Colour ice(0.86, 0.94, 1.0);
    const Colour crack(0.40, 0.62, 0.82);
    forEachPixel(size, size, [&](double u, double v, int x, int y) {
        const CellSample floe = cellNoise(u, v, 10, 121u);
        const double line = 1.0 - smoothstep(0.0, 0.06, floe.second - floe.nearest);
        const double frost = fractalNoise(u, v, 16, 3, 0.5, 122u);
        image.set(x, y, mix(ice * (0.88 + 0.12 * frost), crack, line * 0.8));
    });
    return image;
}

} // namespace showgen
