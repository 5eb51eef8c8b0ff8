#include "engine/rar/RarHuffman.h"

#include <cstring>

namespace rar {

void HuffmanTable::clear() {
    std::memset(m_limit, 0, sizeof(m_limit));
    std::memset(m_position, 0, sizeof(m_position));
    std::memset(m_symbols, 0, sizeof(m_symbols));
    std::memset(m_quick, 0, sizeof(m_quick));
    m_count = 0;
}

void HuffmanTable::build(const uint8_t* lengths, int count) {
    clear();
    if (count > kMaxSymbols) {
        count = kMaxSymbols;
    }
    m_count = count;
    uint32_t lengthCount[16] = {};
    for (int i = 0; i < count; ++i) {
        lengthCount[lengths[i] & 0x0F]++;
    }
    lengthCount[0] = 0;
    uint32_t next[16] = {};
    uint32_t code = 0;
    for (int length = 1; length < 16; ++length) {
        code = 2 * (code + lengthCount[length]);
        uint32_t limit = code << (15 - length);
        // An over-subscribed set saturates: every later code falls into the last lengths.
        m_limit[length] = limit > 0x10000 ? 0x10000 : limit;
        m_position[length] = m_position[length - 1] + lengthCount[length - 1];
        next[length] = m_position[length];
    }
    for (int i = 0; i < count; ++i) {
        const int length = lengths[i] & 0x0F;
        if (length != 0) {
            m_symbols[next[length]++] = static_cast<uint16_t>(i);
        }
    }
    // Every prefix between two length limits decodes to a code of the upper length.
    uint32_t prefix = 0;
    for (int length = 1; length <= kQuickBits; ++length) {
        const uint32_t end = m_limit[length] >> (16 - kQuickBits);
        for (; prefix < end; ++prefix) {
            const uint32_t bits = prefix << (16 - kQuickBits);
            m_quick[prefix] = static_cast<uint16_t>(length << 12 | symbolAt(length, bits));
        }
    }
}

int HuffmanTable::lengthOf(uint32_t bits) const {
    bits &= 0xFFFE;
    for (int length = 1; length < 15; ++length) {
        if (bits < m_limit[length]) {
            return length;
        }
    }
    return 15;
}

int HuffmanTable::symbolAt(int length, uint32_t bits) const {
    bits &= 0xFFFE;
    const uint32_t base = m_limit[length - 1];
    const uint32_t offset = bits >= base ? (bits - base) >> (16 - length) : 0;
    uint32_t index = m_position[length] + offset;
    if (index >= static_cast<uint32_t>(m_count)) {
        index = 0;
    }
    return m_symbols[index];
}

int HuffmanTable::decodeSlow(BitInput& in, uint32_t bits) const {
    const int length = lengthOf(bits);
    in.skip(static_cast<unsigned>(length));
    return symbolAt(length, bits);
}

} // namespace rar
