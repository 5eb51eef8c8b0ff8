#include "engine/rar/RarBitInput.h"

#include "engine/rar/RarPackedInput.h"

#include <cstring>

namespace rar {

void BitInput::reset() {
    m_pos = 0;
    m_bit = 0;
    m_top = 0;
    m_atEnd = false;
    std::memset(m_buffer, 0, kSlack); // what lies behind the valid bytes reads as zeros
}

bool BitInput::refillSlow(PackedInput& input, DebugLog& log, size_t margin) {
    if (m_pos + margin <= m_top || m_atEnd) {
        return !overrun();
    }
    // While data remains the margin keeps the read position inside the valid bytes.
    const size_t keep = m_pos < m_top ? m_top - m_pos : 0;
    std::memmove(m_buffer, m_buffer + m_top - keep, keep);
    m_top = keep;
    m_pos = 0;
    // The cipher may pad the last block up to 16 bytes: leave room for it inside the slack.
    const size_t space = kCapacity - m_top;
    const size_t got = input.read(m_buffer + m_top, space, log);
    m_top += got;
    m_atEnd = input.left() == 0 || input.readFailed();
    std::memset(m_buffer + m_top, 0, kSlack);
    return !overrun();
}

uint64_t BitInput::bytesLeft(const PackedInput& input) const {
    return (m_pos < m_top ? m_top - m_pos : 0) + input.left();
}

} // namespace rar
