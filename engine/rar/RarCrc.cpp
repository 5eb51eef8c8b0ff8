#include "engine/rar/RarCrc.h"

namespace rar {

void Crc32::buildTable() {
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1) != 0 ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        }
        m_table[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i) {
        for (int k = 1; k < 8; ++k) {
            m_table[k][i] = (m_table[k - 1][i] >> 8) ^ m_table[0][m_table[k - 1][i] & 0xFF];
        }
    }
}

uint32_t Crc32::update(uint32_t crc, const uint8_t* data, size_t count) const {
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const uint32_t low =
            crc ^
            (static_cast<uint32_t>(data[i]) | static_cast<uint32_t>(data[i + 1]) << 8 |
             static_cast<uint32_t>(data[i + 2]) << 16 | static_cast<uint32_t>(data[i + 3]) << 24);
        crc = m_table[7][low & 0xFF] ^ m_table[6][(low >> 8) & 0xFF] ^
              m_table[5][(low >> 16) & 0xFF] ^ m_table[4][low >> 24] ^ m_table[3][data[i + 4]] ^
              m_table[2][data[i + 5]] ^ m_table[1][data[i + 6]] ^ m_table[0][data[i + 7]];
    }
    for (; i < count; ++i) {
        crc = m_table[0][(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc;
}

} // namespace rar
