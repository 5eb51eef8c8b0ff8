#include "image/ImageScaling.h"

#include <algorithm>
#include <cmath>
#include <map>

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

namespace {

// One source row filtered across to the target width, in floats.
void filterRow(const Image& source, uint32_t y, const std::vector<std::vector<Tap>>& columns,
               std::vector<float>& out) {
    const uint8_t* in = &source.pixels[static_cast<size_t>(y) * source.width * 4];
    out.resize(columns.size() * 4);
    for (size_t x = 0; x < columns.size(); ++x) {
        float sum[4] = {0, 0, 0, 0};
        for (const Tap& tap : columns[x]) {
            for (int c = 0; c < 4; ++c) {
                sum[c] += tap.weight * in[tap.index * 4 + c];
            }
        }
        std::copy(sum, sum + 4, &out[x * 4]);
    }
}

} // namespace

Image resampleImage(const Image& source, uint32_t width, uint32_t height) {
    if (source.width == width && source.height == height) {
        return source;
    }
    const auto columns = tentTaps(source.width, width);
    const auto rows = tentTaps(source.height, height);
    Image result;
    result.width = width;
    result.height = height;
    result.hasAlpha = source.hasAlpha;
    result.pixels.resize(static_cast<size_t>(width) * height * 4);
    // Horizontal pass into floats, then vertical pass into bytes. Only the source rows the
    // current output row reads are kept filtered: a whole filtered copy of a large picture
    // would take several times its own memory.
    std::map<uint32_t, std::vector<float>> filtered;
    std::vector<const float*> taps;
    for (uint32_t y = 0; y < height; ++y) {
        taps.clear();
        for (const Tap& tap : rows[y]) {
            auto [row, added] = filtered.try_emplace(tap.index);
            if (added) {
                filterRow(source, tap.index, columns, row->second);
            }
            taps.push_back(row->second.data());
        }
        uint8_t* out = &result.pixels[static_cast<size_t>(y) * width * 4];
        for (uint32_t x = 0; x < width * 4; ++x) {
            float sum = 0.0f;
            for (size_t t = 0; t < taps.size(); ++t) {
                sum += rows[y][t].weight * taps[t][x];
            }
            out[x] = static_cast<uint8_t>(std::clamp(sum + 0.5f, 0.0f, 255.0f));
        }
        // Rows go down the source as they go down the target: drop what the next one skips.
        if (y + 1 < height && !rows[y + 1].empty()) {
            uint32_t next = rows[y + 1].front().index;
            for (const Tap& tap : rows[y + 1]) {
                next = std::min(next, tap.index);
            }
            filtered.erase(filtered.begin(), filtered.lower_bound(next));
        }
    }
    return result;
}

Image boxReduce(const Image& source, uint32_t factorX, uint32_t factorY) {
    factorX = std::max(1u, factorX);
    factorY = std::max(1u, factorY);
    Image result;
    result.width = (source.width + factorX - 1) / factorX;
    result.height = (source.height + factorY - 1) / factorY;
    result.hasAlpha = source.hasAlpha;
    result.pixels.resize(static_cast<size_t>(result.width) * result.height * 4);
    std::vector<uint32_t> sums(static_cast<size_t>(result.width) * 4);
    for (uint32_t y = 0; y < result.height; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        const uint32_t firstRow = y * factorY;
        const uint32_t rowCount = std::min(factorY, source.height - firstRow);
        for (uint32_t sy = firstRow; sy < firstRow + rowCount; ++sy) {
            const uint8_t* in = &source.pixels[static_cast<size_t>(sy) * source.width * 4];
            for (uint32_t sx = 0; sx < source.width; ++sx) {
                for (uint32_t c = 0; c < 4; ++c) {
                    sums[(sx / factorX) * 4 + c] += in[sx * 4 + c];
                }
            }
        }
        uint8_t* out = &result.pixels[static_cast<size_t>(y) * result.width * 4];
        for (uint32_t x = 0; x < result.width; ++x) {
            const uint32_t count = rowCount * std::min(factorX, source.width - x * factorX);
            for (uint32_t c = 0; c < 4; ++c) {
                out[x * 4 + c] = static_cast<uint8_t>((sums[x * 4 + c] + count / 2) / count);
            }
        }
    }
    return result;
}

Image resizeImage(const Image& source, uint32_t width, uint32_t height) {
    const uint32_t factorX = width ? source.width / width : 1;
    const uint32_t factorY = height ? source.height / height : 1;
    if (factorX < 2 && factorY < 2) {
        return resampleImage(source, width, height);
    }
    return resampleImage(boxReduce(source, factorX, factorY), width, height);
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
