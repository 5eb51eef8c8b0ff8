#include "Rar20TestEncoder.h"

#include <cstdint>
#include <vector>

namespace {

const int kLengthBase[28] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  10,  12,  14,  16,  20,
                             24, 28, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224};
const int kLengthBits[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                             2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
const int kDistanceBits[48] = {0,  0,  0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                               7,  7,  8,  8,  9,  9,  10, 10, 11, 11, 12, 12, 13, 13, 14, 14,
                               15, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};

class BitWriter {
public:
    void put(uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            m_current = static_cast<uint8_t>(m_current << 1 | ((value >> i) & 1));
            if (++m_used == 8) {
                m_bytes += static_cast<char>(m_current);
                m_used = 0;
                m_current = 0;
            }
        }
    }
    std::string finish() {
        if (m_used != 0) {
            put(0, 8 - m_used);
        }
        return m_bytes;
    }

private:
    std::string m_bytes;
    uint8_t m_current = 0;
    int m_used = 0;
};

struct Code {
    uint32_t bits = 0;
    int length = 0;
};

// Canonical codes: shortest first, in symbol order within one length.
std::vector<Code> canonicalCodes(const std::vector<int>& lengths) {
    int count[16] = {};
    for (int length : lengths) {
        count[length]++;
    }
    count[0] = 0;
    uint32_t next[16] = {};
    uint32_t code = 0;
    for (int length = 1; length < 16; ++length) {
        code = (code + count[length - 1]) << 1;
        next[length] = code;
    }
    std::vector<Code> codes(lengths.size());
    for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
        if (lengths[symbol] != 0) {
            codes[symbol] = {next[lengths[symbol]]++, lengths[symbol]};
        }
    }
    return codes;
}

int lengthSlot(int value) {
    int slot = 27;
    while (kLengthBase[slot] > value) {
        --slot;
    }
    return slot;
}

int distanceSlot(uint32_t value, uint32_t& base) {
    uint32_t start = 0;
    int slot = 0;
    for (int i = 0; i < 48; ++i) {
        if (start > value) {
            break;
        }
        slot = i;
        base = start;
        start += 1u << kDistanceBits[i];
    }
    return slot;
}

class Encoder {
public:
    Encoder() {
        std::vector<int> lengths(298, 9);
        m_literals = canonicalCodes(lengths);
        m_distances = canonicalCodes(std::vector<int>(48, 6));
    }

    std::string run(const std::string& data) {
        writeTables();
        std::vector<int64_t> head(1 << 16, -1);
        size_t pos = 0;
        while (pos < data.size()) {
            uint32_t distance = 0;
            size_t length = 0;
            if (pos + 3 <= data.size()) {
                const uint32_t hash = hashAt(data, pos);
                if (head[hash] >= 0) {
                    distance = static_cast<uint32_t>(pos - head[hash]);
                    length = matchLength(data, pos, distance);
                }
                head[hash] = static_cast<int64_t>(pos);
            }
            const size_t minimum = 3 + (distance >= 0x2000) + (distance >= 0x40000);
            if (distance != 0 && distance < 0x100000 && length >= minimum) {
                writeMatch(static_cast<int>(length), distance);
                pos += length;
            } else {
                put(m_literals[static_cast<uint8_t>(data[pos])]);
                ++pos;
            }
        }
        return m_out.finish();
    }

private:
    static uint32_t hashAt(const std::string& data, size_t pos) {
        const uint32_t v = static_cast<uint8_t>(data[pos]) |
                           static_cast<uint8_t>(data[pos + 1]) << 8 |
                           static_cast<uint8_t>(data[pos + 2]) << 16;
        return (v * 2654435761u) >> 16;
    }

    static size_t matchLength(const std::string& data, size_t pos, uint32_t distance) {
        const size_t adjust = (distance >= 0x2000) + (distance >= 0x40000);
        const size_t longest = 255 + 3 + adjust;
        size_t length = 0;
        while (length < longest && pos + length < data.size() &&
               data[pos + length] == data[pos + length - distance]) {
            ++length;
        }
        return length;
    }

    void put(const Code& code) { m_out.put(code.bits, code.length); }

    void writeTables() {
        m_out.put(0, 2); // no audio, fresh tables
        // The code-length code: only the lengths 5, 6 and 9 are ever sent, two bits each.
        for (int symbol = 0; symbol < 19; ++symbol) {
            m_out.put(symbol == 5 || symbol == 6 || symbol == 9 ? 2 : 0, 4);
        }
        auto sendLength = [this](int length) {
            m_out.put(length == 5 ? 0 : length == 6 ? 1 : 2, 2);
        };
        for (int i = 0; i < 298; ++i) {
            sendLength(9);
        }
        for (int i = 0; i < 48; ++i) {
            sendLength(6);
        }
        for (int i = 0; i < 28; ++i) {
            sendLength(5);
        }
    }

    void writeMatch(int length, uint32_t distance) {
        const int encoded = length - 3 - (distance >= 0x2000) - (distance >= 0x40000);
        const int slot = lengthSlot(encoded);
        put(m_literals[270 + slot]);
        m_out.put(static_cast<uint32_t>(encoded - kLengthBase[slot]), kLengthBits[slot]);
        uint32_t base = 0;
        const int distSlot = distanceSlot(distance - 1, base);
        put(m_distances[distSlot]);
        m_out.put(distance - 1 - base, kDistanceBits[distSlot]);
    }

    BitWriter m_out;
    std::vector<Code> m_literals;
    std::vector<Code> m_distances;
};

} // namespace

std::string encodeRar20(const std::string& data) {
    return Encoder().run(data);
}
