#pragma once

#include "tools/showgen/Image.h"

#include <cstdint>

namespace showgen {

// Where a texture coordinate falls in a running-bond layout of `columns` x `rows` blocks,
// odd rows shifted by half a block. Distances are in texture units (0 to 1 across the image).
struct BondCell {
    double edgeU = 0.0; // distance to the nearest vertical joint
    double edgeV = 0.0; // distance to the nearest horizontal joint
    uint32_t id = 0;    // the same for every texel of one block
};
BondCell bondCell(double u, double v, int columns, int rows);

// Distance from point p to the segment from a to b.
double segmentDistance(double px, double py, double ax, double ay, double bx, double by);

// Calls paint(u, v, x, y) for every pixel, u and v at the pixel centre.
template <typename Paint> void forEachPixel(int width, int height, Paint paint) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            paint((x + 0.5) / width, (y + 0.5) / height, x, y);
        }
    }
}

} // namespace showgen
