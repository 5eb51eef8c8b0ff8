#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace rar {

class DebugLog;
class PackedInput;

// Buffered, most-significant-bit-first reader over an entry's packed bytes. The buffer keeps
// zeroed slack behind the valid bytes, so peeking a few bytes past the end is always safe;
// consuming past the end of the entry's data marks the input as overrun.
class BitInput {
public:
    static constexpr size_t kCapacity = 0x8000;
    static constexpr size_t kSlack = 64;
    // Refill once fewer than this many valid bytes remain ahead of the read position.
    static constexpr size_t kRefillMargin = 30;

    void reset();
    // Tops the buffer up when fewer than `margin` bytes are left ahead. Returns false once the
    // reader has consumed bits beyond the entry's data: the stream is damaged.
    bool refill(PackedInput& input, DebugLog& log, size_t margin = kRefillMargin) {
        if (m_pos + margin <= m_top) {
            return true;
        }
        return refillSlow(input, log, margin);
    }

    uint32_t peek16() const {
        // Four bytes big-endian in one load; the slack makes the fourth always readable.
        uint32_t bits;
        std::memcpy(&bits, m_buffer + m_pos, sizeof(bits));
        bits = __builtin_bswap32(bits);
        return (bits << m_bit) >> 16;
    }
    void skip(unsigned bits) {
        bits += m_bit;
        m_pos += bits >> 3;
        m_bit = bits & 7;
    }
    uint32_t take(unsigned bits) {
        const uint32_t value = peek16() >> (16 - bits);
        skip(bits);
        return value;
    }

    // Bytes not yet consumed, counting those still in the archive.
    uint64_t bytesLeft(const PackedInput& input) const;
    bool overrun() const { return m_atEnd && m_pos > m_top; }

private:
    bool refillSlow(PackedInput& input, DebugLog& log, size_t margin);

    uint8_t m_buffer[kCapacity + kSlack] = {};
    size_t m_pos = 0;
    unsigned m_bit = 0;
    size_t m_top = 0;
    bool m_atEnd = false;
};

} // namespace rar
