#pragma once

#include "engine/rar/RarCipher.h"
#include "engine/rar/RarEntryParts.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace rar {

class DebugLog;

// The packed bytes of the entry being decoded, read from the archive and decrypted on the way
// when the entry is encrypted. Never hands out more than the entry's packed size. The parts of
// an entry split across volumes come out as one stream.
class PackedInput {
public:
    PackedInput() = default;
    ~PackedInput() { closeOwnFile(); }
    PackedInput(const PackedInput&) = delete;
    PackedInput& operator=(const PackedInput&) = delete;

    // An entry of one part, read from where `archive` stands.
    void start(FILE* archive, uint64_t packedSize, Rar20Cipher* cipher, int cipherVariant);
    // An entry of several parts, each read from its own volume; a part that the next one
    // continues must match its packed CRC-32. `parts` must outlive the reading.
    void startParts(const EntryParts& parts, const Crc32& crc, Rar20Cipher* cipher,
                    int cipherVariant);
    // Reads up to `count` bytes into `dest`; returns the number read (0 at the end of the data
    // or on a read error). When decrypting, `dest` must have room up to the next multiple of
    // 16 bytes: the cipher works on whole blocks.
    size_t read(uint8_t* dest, size_t count, DebugLog& log);

    uint64_t left() const { return m_left; }
    bool readFailed() const { return m_readFailed; }
    bool encrypted() const { return m_cipher != nullptr; }
    // The part whose volume could not be opened or whose packed CRC-32 failed; null if none.
    const EntryPart* failedPart() const { return m_failedPart; }
    bool partCrcFailed() const { return m_partCrcFailed; }

private:
    size_t readRaw(uint8_t* dest, size_t count, DebugLog& log);
    bool nextPart(DebugLog& log);
    bool finishedPartIntact(DebugLog& log);
    void closeOwnFile();

    FILE* m_file = nullptr;
    bool m_ownsFile = false;
    uint64_t m_left = 0;
    uint64_t m_partLeft = 0;
    Rar20Cipher* m_cipher = nullptr;
    int m_variant = 0;
    bool m_readFailed = false;

    const EntryParts* m_parts = nullptr;
    size_t m_nextPart = 0;
    const Crc32* m_crc = nullptr;
    uint32_t m_partCrc = 0;
    bool m_checkPartCrc = false;
    const EntryPart* m_failedPart = nullptr;
    bool m_partCrcFailed = false;
};

} // namespace rar
