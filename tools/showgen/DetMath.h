#pragma once

// Elementary functions built only from IEEE-754 additions, multiplications, divisions, floor and
// sqrt, so the generated content comes out bit for bit the same whatever C library, CPU
// dispatch or machine runs the generator.

namespace showgen::detmath {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 6.28318530717958647692;

double sin(double x);
double cos(double x);
double exp(double x);
// 2 to the power x.
double exp2(double x);
double tanh(double x);
// Natural logarithm of a positive x (0 or less yields a large negative number).
double log(double x);
double pow(double base, double exponent);
// Angle of (x, y) from the positive x axis, in (-pi, pi].
double atan2(double y, double x);

inline double clamp(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}
inline double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
inline double smoothstep(double edge0, double edge1, double x) {
    const double t = clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

} // namespace showgen::detmath
