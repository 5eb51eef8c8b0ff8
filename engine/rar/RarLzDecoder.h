#pragma once

#include "engine/rar/RarAudio.h"
#include "engine/rar/RarBitInput.h"
#include "engine/rar/RarHuffman.h"

#include <cstdint>

namespace rar {

class DebugLog;
class PackedInput;

// Where decoded bytes go: the caller's block while the entry is the wanted one, nowhere while
// an earlier entry of a solid archive is decoded only to build up the window.
struct OutputSink {
    uint8_t* block = nullptr;
    uint32_t capacity = 0;
    uint32_t* produced = nullptr;
    bool wanted = false;
};

// The RAR 2.0 decoder: LZ77 over a 1 MiB circular window with Huffman-coded literals, lengths
// and distances, or up to four audio channels with adaptive prediction. Its state carries over
// from entry to entry of a solid archive.
class Rar20Decoder {
public:
    static constexpr uint32_t kWindowSize = 0x100000;
    static constexpr uint32_t kWindowMask = kWindowSize - 1;

    // The window belongs to the caller and must hold kWindowSize zero bytes.
    void attachWindow(uint8_t* window) {
        m_window = window;
        m_windowDirty = false;
    }
    // Forgets everything of earlier entries: window contents, tables, distances, audio state.
    void reset();
    // Decodes one entry of `unpackedSize` bytes. `continueSolid` keeps the state and tables of
    // the entry before. Returns false on damaged data or when the output would overflow.
    bool decodeEntry(PackedInput& packed, BitInput& in, DebugLog& log, uint64_t unpackedSize,
                     bool continueSolid, OutputSink& sink);

private:
    static constexpr int kLiteralCodes = 298;
    static constexpr int kDistanceCodes = 48;
    static constexpr int kRepeatCodes = 28;
    static constexpr int kLengthCodes = 19;
    static constexpr int kAudioCodes = 257;
    static constexpr int kTableBytes = kAudioCodes * AudioPredictor::kMaxChannels;

    bool readTables(PackedInput& packed, BitInput& in, DebugLog& log);
    bool readTableLengths(PackedInput& packed, BitInput& in, DebugLog& log, uint8_t* table,
                          int tableSize);
    bool decodeLoop(PackedInput& packed, BitInput& in, DebugLog& log, OutputSink& sink);
    void readTrailingTables(PackedInput& packed, BitInput& in, DebugLog& log);
    void copyMatch(uint32_t length, uint32_t distance);
    uint32_t extraBits(BitInput& in, unsigned bits) { return bits != 0 ? in.take(bits) : 0; }
    bool flush(OutputSink& sink, DebugLog& log, unsigned line);

    uint8_t* m_window = nullptr;
    bool m_windowDirty = false; // a fresh window is already clear: skip the megabyte wipe
    uint32_t m_unpPtr = 0;
    uint32_t m_wrPtr = 0;
    int64_t m_left = 0;

    uint32_t m_oldDist[4] = {};
    uint32_t m_oldDistPtr = 0;
    uint32_t m_lastDist = 0;
    uint32_t m_lastLength = 0;

    HuffmanTable m_literals;
    HuffmanTable m_distances;
    HuffmanTable m_repeats;
    HuffmanTable m_audio[AudioPredictor::kMaxChannels];
    uint8_t m_oldTable[kTableBytes] = {};
    bool m_tablesRead = false;

    bool m_audioBlock = false;
    int m_channels = 1;
    int m_currentChannel = 0;
    AudioPredictor m_predictor;
};

} // namespace rar
