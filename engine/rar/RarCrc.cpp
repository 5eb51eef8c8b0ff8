#include "engine/rar/RarCrc.h"

namespace rar {

void Crc32::buildTable() {
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1) != 0 ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        }
        m_table[i] = c;
    }
}

uint32_t Crc32::update(uint32_t crc, const uint8_t* data, size_t count) const {
    for (size_t i = 0; i < count; ++i) {
        crc = m_table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc;
}

} // namespace rar
