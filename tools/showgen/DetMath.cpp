#include "tools/showgen/DetMath.h"

#include <cmath>

namespace showgen::detmath {

namespace {

// sin on [-pi/2, pi/2] by its Taylor series; the truncation error stays below 1e-11.
double sinReduced(double r) {
    const double r2 = r * r;
    double term = r;
    double sum = r;
    for (int n = 1; n <= 8; ++n) {
        term *= -r2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

} // namespace

double sin(double x) {
    // Bring x into [-pi, pi], then fold onto [-pi/2, pi/2] with sin(pi - r) = sin(r).
    double r = x - std::floor(x / kTwoPi + 0.5) * kTwoPi;
    if (r > kPi / 2) {
        r = kPi - r;
    } else if (r < -kPi / 2) {
        r = -kPi - r;
    }
    return sinReduced(r);
}

double cos(double x) {
    return sin(x + kPi / 2);
}

double exp(double x) {
    if (x > 700.0) {
        x = 700.0;
    }
    if (x < -700.0) {
        return 0.0;
    }
    constexpr double kLn2 = 0.69314718055994530942;
    const double k = std::floor(x / kLn2 + 0.5);
    const double r = x - k * kLn2;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 13; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

double exp2(double x) {
    return exp(x * 0.69314718055994530942);
}

double tanh(double x) {
    if (x > 20.0) {
        return 1.0;
    }
    if (x < -20.0) {
        return -1.0;
    }
    const double e = exp(2.0 * x);
    return (e - 1.0) / (e + 1.0);
}

double log(double x) {
    if (x <= 0.0) {
        return -1.0e300;
    }
    // x = m * 2^e with m in [0.5, 1); ln(m) through the series of atanh((m - 1) / (m + 1)).
    int e = 0;
    const double m = std::frexp(x, &e);
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double term = s;
    double sum = s;
    for (int n = 3; n <= 41; n += 2) {
        term *= s2;
        sum += term / n;
    }
    return 2.0 * sum + e * 0.69314718055994530942;
}

double pow(double base, double exponent) {
    if (base <= 0.0) {
        return 0.0;
    }
    return exp(exponent * log(base));
}

double atan2(double y, double x) {
    if (x == 0.0 && y == 0.0) {
        return 0.0;
    }
    // atan of the smaller ratio, halved twice with atan(t) = 2 atan(t / (1 + sqrt(1 + t^2)))
    // so the series converges quickly, then unfolded to the quadrant.
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    const bool swapped = ay > ax;
    double t = swapped ? ax / ay : ay / ax;
    for (int i = 0; i < 2; ++i) {
        t = t / (1.0 + std::sqrt(1.0 + t * t));
    }
    const double t2 = t * t;
    double term = t;
    double sum = t;
    for (int n = 3; n <= 25; n += 2) {
        term *= -t2;
        sum += term / n;
    }
    double angle = sum * 4.0;
    if (swapped) {
        angle = kPi / 2 - angle;
    }
    if (x < 0.0) {
        angle = kPi - angle;
    }
    return y < 0.0 ? -angle : angle;
}

} // namespace showgen::detmath
