#pragma once

#include <cstdint>

// Tileable noise for textures: every function repeats with period 1 in u and v, so the images
// wrap without seams when the renderer repeats them.

namespace showgen {

// Smooth value noise on a lattice of `cells` x `cells` over the unit square, in [0, 1].
double valueNoise(double u, double v, int cells, uint32_t seed);

// The same on a lattice of cellsU x cellsV, for patterns stretched along one axis.
double valueNoise(double u, double v, int cellsU, int cellsV, uint32_t seed);

// Fractal sum of value noise: octave i has 2^i times the cells and gain^i the weight. Result
// normalised to [0, 1].
double fractalNoise(double u, double v, int cells, int octaves, double gain, uint32_t seed);
double fractalNoise(double u, double v, int cellsU, int cellsV, int octaves, double gain,
                    uint32_t seed);

// Distances to the nearest and second-nearest feature points of a jittered grid of
// `cells` x `cells` (in units of one cell), and a hash identifying the nearest cell.
struct CellSample {
    double nearest = 0.0;
    double second = 0.0;
    uint32_t id = 0;
};
CellSample cellNoise(double u, double v, int cells, uint32_t seed);

} // namespace showgen
