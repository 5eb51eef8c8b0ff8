#include "engine/rar/RarLzDecoder.h"

#include "engine/rar/RarDebugLog.h"
#include "engine/rar/RarPackedInput.h"

#include <cstring>

namespace rar {

namespace {

const uint8_t kLengthBase[28] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  10,  12,  14,  16,  20,
                                 24, 28, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224};
const uint8_t kLengthBits[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                                 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
const uint32_t kDistanceBase[48] = {
    0,      1,      2,      3,      4,      6,      8,      12,     16,     24,     32,     48,
    64,     96,     128,    192,    256,    384,    512,    768,    1024,   1536,   2048,   3072,
    4096,   6144,   8192,   12288,  16384,  24576,  32768,  49152,  65536,  98304,  131072, 196608,
    262144, 327680, 393216, 458752, 524288, 589824, 655360, 720896, 786432, 851968, 917504, 983040};
const uint8_t kDistanceBits[48] = {0,  0,  0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                   7,  7,  8,  8,  9,  9,  10, 10, 11, 11, 12, 12, 13, 13, 14, 14,
                                   15, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};
const uint8_t kShortBase[8] = {0, 4, 8, 16, 32, 64, 128, 192};
const uint8_t kShortBits[8] = {2, 2, 3, 4, 5, 6, 6, 6};

// Unflushed window bytes that trigger a copy-out; well below the window size so that no
// match can overwrite bytes not yet handed out.
constexpr uint32_t kFlushThreshold = 0x40000;

const char* const kOverrun = "Fatal! Buffer overrun during decompression!";
const char* const kCorrupt = "Corrupt compressed data - decompression stopped.";

} // namespace

void Rar20Decoder::reset() {
    if (m_window != nullptr && m_windowDirty) {
        std::memset(m_window, 0, kWindowSize);
    }
    m_windowDirty = false;
    m_unpPtr = 0;
    m_wrPtr = 0;
    std::memset(m_oldDist, 0, sizeof(m_oldDist));
    m_oldDistPtr = 0;
    m_lastDist = 0;
    m_lastLength = 0;
    m_literals.clear();
    m_distances.clear();
    m_repeats.clear();
    for (HuffmanTable& table : m_audio) {
        table.clear();
    }
    std::memset(m_oldTable, 0, sizeof(m_oldTable));
    m_tablesRead = false;
    m_audioBlock = false;
    m_channels = 1;
    m_currentChannel = 0;
    m_predictor.reset();
}

bool Rar20Decoder::decodeEntry(PackedInput& packed, BitInput& in, DebugLog& log,
                               uint64_t unpackedSize, bool continueSolid, OutputSink& sink) {
    if (m_window == nullptr) {
        return false;
    }
    if (!continueSolid) {
        reset();
    }
    m_windowDirty = true;
    in.reset();
    in.refill(packed, log);
    if ((!continueSolid || !m_tablesRead) && !readTables(packed, in, log)) {
        log.write(kLineCorruptData, "%s", kCorrupt);
        return false;
    }
    m_left = static_cast<int64_t>(unpackedSize);
    if (!decodeLoop(packed, in, log, sink)) {
        return false;
    }
    if (in.overrun()) {
        // The last code took bits the entry does not have.
        log.write(kLineCorruptData, "%s", kCorrupt);
        return false;
    }
    readTrailingTables(packed, in, log);
    return flush(sink, log, kLineOverrunFinal);
}

bool Rar20Decoder::decodeLoop(PackedInput& packed, BitInput& in, DebugLog& log, OutputSink& sink) {
    while (m_left > 0) {
        if (!in.refill(packed, log)) {
            log.write(kLineCorruptData, "%s", kCorrupt);
            return false;
        }
        if (((m_unpPtr - m_wrPtr) & kWindowMask) >= kFlushThreshold &&
            !flush(sink, log, m_audioBlock ? kLineOverrunAudio : kLineOverrunLiteral)) {
            return false;
        }
        if (m_audioBlock) {
            const int delta = m_audio[m_currentChannel].decode(in);
            if (delta == 256) {
                if (!readTables(packed, in, log)) {
                    log.write(kLineCorruptData, "%s", kCorrupt);
                    return false;
                }
                continue;
            }
            m_window[m_unpPtr] = m_predictor.decode(m_currentChannel, delta);
            m_unpPtr = (m_unpPtr + 1) & kWindowMask;
            if (++m_currentChannel == m_channels) {
                m_currentChannel = 0;
            }
            --m_left;
            continue;
        }
        const int number = m_literals.decode(in);
        if (number < 256) {
            m_window[m_unpPtr] = static_cast<uint8_t>(number);
            m_unpPtr = (m_unpPtr + 1) & kWindowMask;
            --m_left;
        } else if (number > 269) {
            const int code = number - 270;
            uint32_t length = kLengthBase[code] + 3u + extraBits(in, kLengthBits[code]);
            const int distCode = m_distances.decode(in);
            if (distCode >= kDistanceCodes) {
                log.write(kLineCorruptData, "%s", kCorrupt);
                return false;
            }
            const uint32_t distance =
                kDistanceBase[distCode] + 1u + extraBits(in, kDistanceBits[distCode]);
            if (distance >= 0x2000) {
                length++;
                if (distance >= 0x40000) {
                    length++;
                }
            }
            copyMatch(length, distance);
        } else if (number == 269) {
            if (!readTables(packed, in, log)) {
                log.write(kLineCorruptData, "%s", kCorrupt);
                return false;
            }
        } else if (number == 256) {
            copyMatch(m_lastLength, m_lastDist);
        } else if (number < 261) {
            const uint32_t distance = m_oldDist[(m_oldDistPtr - (number - 256)) & 3];
            const int code = m_repeats.decode(in);
            if (code >= kRepeatCodes) {
                log.write(kLineCorruptData, "%s", kCorrupt);
                return false;
            }
            uint32_t length = kLengthBase[code] + 2u + extraBits(in, kLengthBits[code]);
            if (distance >= 0x101) {
                length++;
                if (distance >= 0x2000) {
                    length++;
                    if (distance >= 0x40000) {
                        length++;
                    }
                }
            }
            copyMatch(length, distance);
        } else {
            const int code = number - 261;
            const uint32_t distance = kShortBase[code] + 1u + extraBits(in, kShortBits[code]);
            copyMatch(2, distance);
        }
    }
    return true;
}

void Rar20Decoder::copyMatch(uint32_t length, uint32_t distance) {
    m_oldDist[m_oldDistPtr++ & 3] = distance;
    m_lastDist = distance;
    m_lastLength = length;
    m_left -= length;
    uint32_t src = (m_unpPtr - distance) & kWindowMask;
    uint32_t dst = m_unpPtr;
    if (src + length < kWindowSize && dst + length < kWindowSize) {
        uint8_t* const window = m_window;
        if (distance >= length) {
            // The source may still overlap from above (a distance near the window size):
            // memmove then gives what a forward byte copy would.
            std::memmove(window + dst, window + src, length);
        } else {
            // Byte by byte on purpose: a short distance repeats the bytes just written.
            for (uint32_t i = 0; i < length; ++i) {
                window[dst + i] = window[src + i];
            }
        }
        m_unpPtr = dst + length;
        return;
    }
    for (uint32_t i = 0; i < length; ++i) {
        m_window[dst] = m_window[src];
        src = (src + 1) & kWindowMask;
        dst = (dst + 1) & kWindowMask;
    }
    m_unpPtr = dst;
}

bool Rar20Decoder::readTables(PackedInput& packed, BitInput& in, DebugLog& log) {
    if (!in.refill(packed, log)) {
        return false;
    }
    const uint32_t header = in.peek16();
    m_audioBlock = (header & 0x8000) != 0;
    if ((header & 0x4000) == 0) {
        std::memset(m_oldTable, 0, sizeof(m_oldTable));
    }
    in.skip(2);
    int tableSize = kLiteralCodes + kDistanceCodes + kRepeatCodes;
    if (m_audioBlock) {
        m_channels = static_cast<int>((header >> 12) & 3) + 1;
        if (m_currentChannel >= m_channels) {
            m_currentChannel = 0;
        }
        in.skip(2);
        tableSize = kAudioCodes * m_channels;
    }
    uint8_t table[kTableBytes] = {};
    if (!readTableLengths(packed, in, log, table, tableSize)) {
        return false;
    }
    m_tablesRead = true;
    if (m_audioBlock) {
        for (int channel = 0; channel < m_channels; ++channel) {
            m_audio[channel].build(table + channel * kAudioCodes, kAudioCodes);
        }
    } else {
        m_literals.build(table, kLiteralCodes);
        m_distances.build(table + kLiteralCodes, kDistanceCodes);
        m_repeats.build(table + kLiteralCodes + kDistanceCodes, kRepeatCodes);
    }
    std::memcpy(m_oldTable, table, sizeof(m_oldTable));
    return true;
}

bool Rar20Decoder::readTableLengths(PackedInput& packed, BitInput& in, DebugLog& log,
                                    uint8_t* table, int tableSize) {
    uint8_t lengthLengths[kLengthCodes];
    for (uint8_t& length : lengthLengths) {
        length = static_cast<uint8_t>(in.take(4));
    }
    HuffmanTable lengthCodes;
    lengthCodes.build(lengthLengths, kLengthCodes);
    for (int i = 0; i < tableSize;) {
        if (!in.refill(packed, log)) {
            return false;
        }
        const int number = lengthCodes.decode(in);
        if (number < 16) {
            table[i] = static_cast<uint8_t>((number + m_oldTable[i]) & 0x0F);
            ++i;
        } else if (number == 16) {
            if (i == 0) {
                return false; // nothing before to repeat
            }
            int count = static_cast<int>(in.take(2)) + 3;
            for (; count > 0 && i < tableSize; --count, ++i) {
                table[i] = table[i - 1];
            }
        } else {
            int count =
                number == 17 ? static_cast<int>(in.take(3)) + 3 : static_cast<int>(in.take(7)) + 11;
            for (; count > 0 && i < tableSize; --count, ++i) {
                table[i] = 0;
            }
        }
    }
    return !in.overrun();
}

void Rar20Decoder::readTrailingTables(PackedInput& packed, BitInput& in, DebugLog& log) {
    // A solid successor may start with the tables its predecessor announced at its very end.
    if (in.bytesLeft(packed) < 5) {
        return;
    }
    if (m_audioBlock) {
        if (m_audio[m_currentChannel].decode(in) == 256) {
            readTables(packed, in, log);
        }
    } else if (m_literals.decode(in) == 269) {
        readTables(packed, in, log);
    }
}

bool Rar20Decoder::flush(OutputSink& sink, DebugLog& log, unsigned line) {
    uint32_t pending = (m_unpPtr - m_wrPtr) & kWindowMask;
    if (sink.wanted && pending != 0) {
        const uint32_t done = *sink.produced;
        if (pending > sink.capacity - done) {
            log.write(line, "%s", kOverrun);
            return false;
        }
        uint8_t* dest = sink.block + done;
        const uint32_t first = kWindowSize - m_wrPtr < pending ? kWindowSize - m_wrPtr : pending;
        std::memcpy(dest, m_window + m_wrPtr, first);
        std::memcpy(dest + first, m_window, pending - first);
        *sink.produced = done + pending;
    }
    m_wrPtr = m_unpPtr;
    return true;
}

} // namespace rar
