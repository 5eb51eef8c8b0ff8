#pragma once

#include "engine/rar/RarCipher.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace rar {

class DebugLog;

// The packed bytes of the entry being decoded, read from the archive and decrypted on the way
// when the entry is encrypted. Never hands out more than the entry's packed size.
class PackedInput {
public:
    void start(FILE* archive, uint64_t packedSize, Rar20Cipher* cipher, int cipherVariant);
    // Reads up to `count` bytes into `dest`; returns the number read (0 at the end of the data
    // or on a read error). When decrypting, `dest` must have room up to the next multiple of
    // 16 bytes: the cipher works on whole blocks.
    size_t read(uint8_t* dest, size_t count, DebugLog& log);

    uint64_t left() const { return m_left; }
    bool readFailed() const { return m_readFailed; }
    bool encrypted() const { return m_cipher != nullptr; }

private:
    FILE* m_archive = nullptr;
    uint64_t m_left = 0;
    Rar20Cipher* m_cipher = nullptr;
    int m_variant = 0;
    bool m_readFailed = false;
};

} // namespace rar
