#include "tools/showgen/Noise.h"

#include "tools/showgen/Random.h"

#include <cmath>

namespace showgen {

namespace {

int wrap(int i, int n) {
    const int r = i % n;
    return r < 0 ? r + n : r;
}

double fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

double lattice(int x, int y, int cellsU, int cellsV, uint32_t seed) {
    return unitFromHash(hash2(wrap(x, cellsU), wrap(y, cellsV), seed));
}

} // namespace

double valueNoise(double u, double v, int cells, uint32_t seed) {
    return valueNoise(u, v, cells, cells, seed);
}

double valueNoise(double u, double v, int cellsU, int cellsV, uint32_t seed) {
    const double x = u * cellsU;
    const double y = v * cellsV;
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const double tx = fade(x - fx);
    const double ty = fade(y - fy);
    const double a = lattice(ix, iy, cellsU, cellsV, seed);
    const double b = lattice(ix + 1, iy, cellsU, cellsV, seed);
    const double c = lattice(ix, iy + 1, cellsU, cellsV, seed);
    const double d = lattice(ix + 1, iy + 1, cellsU, cellsV, seed);
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double fractalNoise(double u, double v, int cells, int octaves, double gain, uint32_t seed) {
    return fractalNoise(u, v, cells, cells, octaves, gain, seed);
}

double fractalNoise(double u, double v, int cellsU, int cellsV, int octaves, double gain,
                    uint32_t seed) {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += weight *
               valueNoise(u, v, cellsU << i, cellsV << i, seed + 977u * static_cast<uint32_t>(i));
        total += weight;
        weight *= gain;
    }
    return sum / total;
}

CellSample cellNoise(double u, double v, int cells, uint32_t seed) {
    const double x = u * cells;
    const double y = v * cells;
    const int cx = static_cast<int>(std::floor(x));
    const int cy = static_cast<int>(std::floor(y));
    CellSample best;
    best.nearest = 1.0e9;
    best.second = 1.0e9;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int gx = cx + dx;
            const int gy = cy + dy;
            const uint32_t h = hash2(wrap(gx, cells), wrap(gy, cells), seed);
            const double px = gx + 0.1 + 0.8 * unitFromHash(h);
            const double py = gy + 0.1 + 0.8 * unitFromHash(hash32(h ^ 0x5bd1e995U));
            const double d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < best.nearest) {
                best.second = best.nearest;
                best.nearest = d;
                best.id = h;
            } else if (d < best.second) {
                best.second = d;
            }
        }
    }
    return best;
}

} // namespace showgen
