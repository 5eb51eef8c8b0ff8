#pragma once

#include "engine/rar/RarCrc.h"

#include <cstdint>

namespace rar {

// The RAR 2.0 block cipher: 16-byte blocks, 32 rounds, a key schedule drawn from the password
// and a substitution table, and keys that change after every block.
class Rar20Cipher {
public:
    static constexpr int kBlockSize = 16;

    void setKey(const char* password, const Crc32& crc);
    void decryptBlock(uint8_t* block);
    void encryptBlock(uint8_t* block);
    // Wipes the keys and the table so nothing derived from a password outlives an extraction.
    void clear();

private:
    uint32_t substitute(uint32_t value) const;
    void updateKeys(const uint8_t* block);

    const Crc32* m_crc = nullptr;
    uint32_t m_key[4] = {};
    uint8_t m_table[256] = {};
};

} // namespace rar
