#pragma once

#include "engine/rar/RarBitInput.h"

#include <cstdint>

namespace rar {

// A canonical Huffman decoding table built from code lengths (0 to 15 bits; 0 = unused
// symbol). Codes are assigned shortest first and, within one length, in symbol order. Damaged
// length sets (over- or under-subscribed) still decode to some symbol below the table's size.
class HuffmanTable {
public:
    static constexpr int kMaxSymbols = 298;

    void clear();
    void build(const uint8_t* lengths, int count);
    int decode(BitInput& in) const {
        const uint32_t bits = in.peek16();
        const uint16_t quick = m_quick[bits >> (16 - kQuickBits)];
        if (quick != 0) {
            in.skip(quick >> 12);
            return quick & 0x0FFF;
        }
        return decodeSlow(in, bits);
    }

private:
    static constexpr int kQuickBits = 10;

    int lengthOf(uint32_t bits) const;
    int symbolAt(int length, uint32_t bits) const;
    int decodeSlow(BitInput& in, uint32_t bits) const;

    uint32_t m_limit[16] = {};    // first left-justified code beyond each length
    uint32_t m_position[16] = {}; // index into m_symbols of each length's first code
    uint16_t m_symbols[kMaxSymbols] = {};
    int m_count = 0;
    // Codes of up to kQuickBits bits by their leading bits: length << 12 | symbol, 0 = slow path.
    uint16_t m_quick[1 << kQuickBits] = {};
};

} // namespace rar
