#include "engine/rar/RarCipher.h"
#include "engine/rar/RarSubstTable.h"

#include <gtest/gtest.h>

#include <bitset>
#include <cstring>

namespace {

rar::Crc32 crcTable() {
    rar::Crc32 crc;
    crc.buildTable();
    return crc;
}

} // namespace

TEST(Rar20Cipher, DecryptionUndoesEncryptionBlockAfterBlock) {
    const rar::Crc32 crc = crcTable();
    uint8_t text[48];
    for (int i = 0; i < 48; ++i) {
        text[i] = static_cast<uint8_t>(i * 37 + 5);
    }
    uint8_t data[48];
    std::memcpy(data, text, sizeof(data));
    rar::Rar20Cipher encrypt;
    encrypt.setKey("password", crc);
    for (int block = 0; block < 3; ++block) {
        encrypt.encryptBlock(data + 16 * block);
    }
    EXPECT_NE(std::memcmp(data, text, 16), 0);
    // The keys move on with every block: equal plaintext blocks encrypt differently.
    EXPECT_NE(std::memcmp(data, data + 16, 16), 0);

    rar::Rar20Cipher decrypt;
    decrypt.setKey("password", crc);
    for (int block = 0; block < 3; ++block) {
        decrypt.decryptBlock(data + 16 * block);
    }
    EXPECT_EQ(std::memcmp(data, text, sizeof(data)), 0);
}

TEST(Rar20Cipher, InitialSubstitutionIsAPermutation) {
    std::bitset<256> seen;
    for (const uint8_t value : rar::kInitialSubstTable) {
        EXPECT_FALSE(seen.test(value)) << "repeated " << int(value);
        seen.set(value);
    }
    EXPECT_TRUE(seen.all());
}
