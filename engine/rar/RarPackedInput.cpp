#include "engine/rar/RarPackedInput.h"

#include "engine/rar/RarDebugLog.h"

#include <cstring>

namespace rar {

void PackedInput::start(FILE* archive, uint64_t packedSize, Rar20Cipher* cipher,
                        int cipherVariant) {
    m_archive = archive;
    m_left = packedSize;
    m_cipher = cipher;
    m_variant = cipherVariant;
    m_readFailed = false;
}

size_t PackedInput::read(uint8_t* dest, size_t count, DebugLog& log) {
    if (count == 0 || m_archive == nullptr) {
        return 0;
    }
    size_t wanted = count < m_left ? count : static_cast<size_t>(m_left);
    // Keep every read but the last on a block boundary so that blocks never straddle reads.
    if (m_cipher != nullptr && wanted < m_left) {
        wanted -= wanted % Rar20Cipher::kBlockSize;
    }
    if (wanted == 0) {
        return 0;
    }
    const size_t got = std::fread(dest, 1, wanted, m_archive);
    if (got < wanted) {
        m_readFailed = true;
    }
    m_left -= got;
    if (m_cipher == nullptr || got == 0) {
        return got;
    }
    if (m_variant < 20) {
        log.write(kLineOldCrypt, "Old Crypt() not supported!");
        return got;
    }
    // A damaged archive may end mid-block: pad the last block with zeros before decrypting.
    const size_t tail = got % Rar20Cipher::kBlockSize;
    if (tail != 0) {
        std::memset(dest + got, 0, Rar20Cipher::kBlockSize - tail);
    }
    for (size_t offset = 0; offset < got; offset += Rar20Cipher::kBlockSize) {
        m_cipher->decryptBlock(dest + offset);
    }
    return got;
}

} // namespace rar
