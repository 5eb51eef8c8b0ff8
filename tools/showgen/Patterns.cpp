#include "tools/showgen/Patterns.h"

#include "tools/showgen/Random.h"

#include <algorithm>
#include <cmath>

namespace showgen {

BondCell bondCell(double u, double v, int columns, int rows) {
    const double y = v * rows;
    const int row = static_cast<int>(std::floor(y));
    const double x = u * columns + ((row & 1) != 0 ? 0.5 : 0.0);
    const int column = static_cast<int>(std::floor(x));
    const double fx = x - column;
    const double fy = y - row;
    BondCell cell;
    cell.edgeU = std::min(fx, 1.0 - fx) / columns;
    cell.edgeV = std::min(fy, 1.0 - fy) / rows;
    cell.id = hash2(((column % columns) + columns) % columns, ((row % rows) + rows) % rows, 7u);
    return cell;
}

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0.0 ? ((px - ax) * dx + (py - ay) * dy) / lengthSquared : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double cx = ax + dx * t - px;
    const double cy = ay + dy * t - py;
    return std::sqrt(cx * cx + cy * cy);
}

} // namespace showgen
