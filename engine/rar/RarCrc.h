#pragma once

#include <cstddef>
#include <cstdint>

namespace rar {

// The reflected CRC-32 (polynomial 0xEDB88320) that guards headers and unpacked data; the cipher
// also draws on its table for its key schedule.
class Crc32 {
public:
    void buildTable();
    // Continues a CRC register (preset 0xFFFFFFFF, complemented by the caller at the end).
    uint32_t update(uint32_t crc, const uint8_t* data, size_t count) const;
    uint32_t entry(uint8_t index) const { return m_table[0][index]; }

    // CRC-32 of a whole block, preset and complement included.
    uint32_t of(const uint8_t* data, size_t count) const {
        return ~update(0xFFFFFFFFu, data, count);
    }

private:
    // m_table[0] is the classic byte table; the others fold in eight bytes per step.
    uint32_t m_table[8][256] = {};
};

} // namespace rar
