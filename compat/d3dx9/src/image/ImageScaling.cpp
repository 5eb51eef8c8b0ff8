#include "image/ImageScaling.h"

#include <algorithm>
#include <cmath>

namespace tarnelix::d3dx {
namespace {

struct Tap {
    uint32_t index;
    float weight;
};

// For every destination position the source positions and normalised weights of a tent filter.
std::vector<std::vector<Tap>> tentTaps(uint32_t sourceSize, uint32_t targetSize) {
    std::vector<std::vector<Tap>> taps(targetSize);
    const float scale = static_cast<float>(sourceSize) / static_cast<float>(targetSize);
    const float radius = std::max(1.0f, scale);
    for (uint32_t t = 0; t < targetSize; ++t) {
        const float centre = (static_cast<float>(t) + 0.5f) * scale - 0.5f;
        const int first = static_cast<int>(std::floor(centre - radius)) + 1;
        const int last = static_cast<int>(std::ceil(centre + radius)) - 1;
        float total = 0.0f;
        for (int s = first; s <= last; ++s) {
            const float w = 1.0f - std::fabs(static_cast<float>(s) - centre) / radius;
            if (w <= 0.0f) {
                continue;
            }
            const int clamped = std::clamp(s, 0, static_cast<int>(sourceSize) - 1);
            taps[t].push_back({static_cast<uint32_t>(clamped), w});
            total += w;
        }
        for (Tap& tap : taps[t]) {
            tap.weight /= total;
        }
    }
    return taps;
}

} // namespace

uint32_t roundUpToPowerOfTwo(uint32_t size, uint32_t limit) {
    uint32_t p = 1;
    while (p < size && p < limit) {
        p <<= 1;
    }
    return p;
}

uint32_t fullMipLevelCount(uint32_t width, uint32_t height) {
    uint32_t levels = 1;
    for (uint32_t side = std::max(width, height); side > 1; side >>= 1) {
        ++levels;
    }
    return levels;
}

Image resampleImage(const Image& source, uint32_t width, uint32_t height) {
    if (source.width == width && source.height == height) {
        return source;
    }
    const auto columns = tentTaps(source.width, width);
    const auto rows = tentTaps(source.height, height);
    // Horizontal pass into floats, then vertical pass into bytes.
    std::vector<float> wide(static_cast<size_t>(width) * source.height * 4);
    for (uint32_t y = 0; y < source.height; ++y) {
        const uint8_t* in = &source.pixels[static_cast<size_t>(y) * source.width * 4];
        float* out = &wide[static_cast<size_t>(y) * width * 4];
        for (uint32_t x = 0; x < width; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (const Tap& tap : columns[x]) {
                for (int c = 0; c < 4; ++c) {
                    sum[c] += tap.weight * in[tap.index * 4 + c];
                }
            }
            std::copy(sum, sum + 4, out + x * 4);
        }
    }
    Image result;
    result.width = width;
    result.height = height;
    result.hasAlpha = source.hasAlpha;
    result.pixels.resize(static_cast<size_t>(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* out = &result.pixels[static_cast<size_t>(y) * width * 4];
        for (uint32_t x = 0; x < width * 4; ++x) {
            float sum = 0.0f;
            for (const Tap& tap : rows[y]) {
                sum += tap.weight * wide[static_cast<size_t>(tap.index) * width * 4 + x];
            }
            out[x] = static_cast<uint8_t>(std::clamp(sum + 0.5f, 0.0f, 255.0f));
        }
    }
    return result;
}

Image halveImage(const Image& source) {
    Image result;
    result.width = std::max(1u, source.width / 2);
    result.height = std::max(1u, source.height / 2);
    result.hasAlpha = source.hasAlpha;
    result.pixels.resize(static_cast<size_t>(result.width) * result.height * 4);
    const size_t stride = static_cast<size_t>(source.width) * 4;
    const uint32_t dx = source.width > 1 ? 4 : 0;
    const size_t dy = source.height > 1 ? stride : 0;
    for (uint32_t y = 0; y < result.height; ++y) {
        const uint8_t* top = &source.pixels[(source.height > 1 ? 2 * y : y) * stride];
        uint8_t* out = &result.pixels[static_cast<size_t>(y) * result.width * 4];
        for (uint32_t x = 0; x < result.width * 4; x += 4) {
            const uint8_t* p = top + (dx ? 2 * x : x);
            for (uint32_t c = 0; c < 4; ++c) {
                const uint32_t sum = p[c] + p[c + dx] + p[c + dy] + p[c + dx + dy];
                out[x + c] = static_cast<uint8_t>((sum + 2) / 4);
            }
        }
    }
    return result;
}

} // namespace tarnelix::d3dx
