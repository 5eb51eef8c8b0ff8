#pragma once

#include <cstdint>

namespace showgen {

// Integer hashing for lattice noise: the same inputs give the same value on every machine.
inline uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

inline uint32_t hash2(int32_t x, int32_t y, uint32_t seed) {
    return hash32(static_cast<uint32_t>(x) * 0x8da6b343U ^ hash32(static_cast<uint32_t>(y) ^ seed));
}

// A value in [0, 1) from a hash.
inline double unitFromHash(uint32_t h) {
    return (h >> 8) * (1.0 / 16777216.0);
}

// A small sequential generator (xorshift with a multiplier) for placement and composition.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed * 0x9e3779b97f4a7c15ULL + 1) {}

    uint32_t next() {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return static_cast<uint32_t>((m_state * 0x2545f4914f6cdd1dULL) >> 32);
    }
    // Uniform in [0, 1).
    double unit() { return unitFromHash(next()); }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }

private:
    uint64_t m_state;
};

} // namespace showgen
