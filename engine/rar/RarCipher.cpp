#include "engine/rar/RarCipher.h"

#include "engine/rar/RarSubstTable.h"

#include <cstring>

namespace rar {

namespace {

constexpr int kRounds = 32;
constexpr uint32_t kInitialKey[4] = {0xD3A3B879u, 0x3F6D12F7u, 0x7515A235u, 0xA4E7F123u};

uint32_t rotl(uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

uint32_t load32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void store32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

} // namespace

void Rar20Cipher::setKey(const char* password, const Crc32& crc) {
    m_crc = &crc;
    std::memcpy(m_key, kInitialKey, sizeof(m_key));
    std::memcpy(m_table, kInitialSubstTable, sizeof(m_table));
    const size_t length = std::strlen(password);
    // The pairs read one byte past an odd-length password: its terminating zero.
    for (uint32_t j = 0; j < 256; ++j) {
        for (size_t i = 0; i < length; i += 2) {
            uint32_t n1 = crc.entry(static_cast<uint8_t>(static_cast<uint8_t>(password[i]) - j));
            uint32_t n2 =
                crc.entry(static_cast<uint8_t>(static_cast<uint8_t>(password[i + 1]) + j));
            n1 &= 0xFF;
            n2 &= 0xFF;
            for (uint32_t k = 1; n1 != n2; n1 = (n1 + 1) & 0xFF, ++k) {
                const uint32_t other = (n1 + i + k) & 0xFF;
                const uint8_t swap = m_table[n1];
                m_table[n1] = m_table[other];
                m_table[other] = swap;
            }
        }
    }
    uint8_t block[kBlockSize];
    for (size_t i = 0; i < length; i += kBlockSize) {
        std::memset(block, 0, sizeof(block));
        std::memcpy(block, password + i, length - i < kBlockSize ? length - i : kBlockSize);
        encryptBlock(block);
    }
    std::memset(block, 0, sizeof(block));
}

uint32_t Rar20Cipher::substitute(uint32_t t) const {
    return static_cast<uint32_t>(m_table[t & 0xFF]) |
           static_cast<uint32_t>(m_table[(t >> 8) & 0xFF]) << 8 |
           static_cast<uint32_t>(m_table[(t >> 16) & 0xFF]) << 16 |
           static_cast<uint32_t>(m_table[(t >> 24) & 0xFF]) << 24;
}

void Rar20Cipher::encryptBlock(uint8_t* block) {
    uint32_t a = load32(block) ^ m_key[0];
    uint32_t b = load32(block + 4) ^ m_key[1];
    uint32_t c = load32(block + 8) ^ m_key[2];
    uint32_t d = load32(block + 12) ^ m_key[3];
    for (int i = 0; i < kRounds; ++i) {
        const uint32_t ta = a ^ substitute((c + rotl(d, 11)) ^ m_key[i & 3]);
        const uint32_t tb = b ^ substitute((d ^ rotl(c, 17)) + m_key[i & 3]);
        a = c;
        b = d;
        c = ta;
        d = tb;
    }
    store32(block, c ^ m_key[0]);
    store32(block + 4, d ^ m_key[1]);
    store32(block + 8, a ^ m_key[2]);
    store32(block + 12, b ^ m_key[3]);
    updateKeys(block);
}

void Rar20Cipher::decryptBlock(uint8_t* block) {
    uint8_t cipherText[kBlockSize];
    std::memcpy(cipherText, block, sizeof(cipherText));
    uint32_t a = load32(block) ^ m_key[0];
    uint32_t b = load32(block + 4) ^ m_key[1];
    uint32_t c = load32(block + 8) ^ m_key[2];
    uint32_t d = load32(block + 12) ^ m_key[3];
    for (int i = kRounds - 1; i >= 0; --i) {
        const uint32_t ta = a ^ substitute((c + rotl(d, 11)) ^ m_key[i & 3]);
        const uint32_t tb = b ^ substitute((d ^ rotl(c, 17)) + m_key[i & 3]);
        a = c;
        b = d;
        c = ta;
        d = tb;
    }
    store32(block, c ^ m_key[0]);
    store32(block + 4, d ^ m_key[1]);
    store32(block + 8, a ^ m_key[2]);
    store32(block + 12, b ^ m_key[3]);
    // The keys move on with the ciphertext, so both directions stay in step.
    updateKeys(cipherText);
}

void Rar20Cipher::updateKeys(const uint8_t* block) {
    if (m_crc == nullptr) {
        return;
    }
    for (int i = 0; i < kBlockSize; i += 4) {
        m_key[0] ^= m_crc->entry(block[i]);
        m_key[1] ^= m_crc->entry(block[i + 1]);
        m_key[2] ^= m_crc->entry(block[i + 2]);
        m_key[3] ^= m_crc->entry(block[i + 3]);
    }
}

void Rar20Cipher::clear() {
    volatile uint8_t* table = m_table;
    for (size_t i = 0; i < sizeof(m_table); ++i) {
        table[i] = 0;
    }
    volatile uint32_t* key = m_key;
    for (int i = 0; i < 4; ++i) {
        key[i] = 0;
    }
    m_crc = nullptr;
}

} // namespace rar
