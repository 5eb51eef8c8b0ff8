#include "engine/rar/RarPackedInput.h"

#include "engine/rar/RarDebugLog.h"

#include <cstring>

namespace rar {

void PackedInput::start(FILE* archive, uint64_t packedSize, Rar20Cipher* cipher,
                        int cipherVariant) {
    closeOwnFile();
    m_file = archive;
    m_left = packedSize;
    m_partLeft = packedSize;
    m_cipher = cipher;
    m_variant = cipherVariant;
    m_readFailed = false;
    m_parts = nullptr;
    m_nextPart = 0;
    m_crc = nullptr;
    m_checkPartCrc = false;
    m_failedPart = nullptr;
    m_partCrcFailed = false;
}

void PackedInput::startParts(const EntryParts& parts, const Crc32& crc, Rar20Cipher* cipher,
                             int cipherVariant) {
    start(nullptr, parts.packedSize, cipher, cipherVariant);
    m_partLeft = 0; // the first read opens the first part
    m_parts = &parts;
    m_crc = &crc;
}

size_t PackedInput::read(uint8_t* dest, size_t count, DebugLog& log) {
    if (count == 0 || (m_file == nullptr && m_parts == nullptr)) {
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
    const size_t got = readRaw(dest, wanted, log);
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

size_t PackedInput::readRaw(uint8_t* dest, size_t count, DebugLog& log) {
    size_t done = 0;
    while (done < count && !m_readFailed) {
        if (m_partLeft == 0 && !nextPart(log)) {
            m_readFailed = true;
            break;
        }
        const size_t want = count - done < m_partLeft ? count - done : m_partLeft;
        const size_t got = std::fread(dest + done, 1, want, m_file);
        if (m_checkPartCrc) {
            // The packed CRC-32 is of the bytes as stored, before any decryption.
            m_partCrc = m_crc->update(m_partCrc, dest + done, got);
        }
        m_partLeft -= got;
        done += got;
        if (got < want) {
            m_readFailed = true;
        }
    }
    return done;
}

bool PackedInput::nextPart(DebugLog& log) {
    if (m_parts == nullptr || m_nextPart >= m_parts->list.size() || !finishedPartIntact(log)) {
        return false;
    }
    const EntryPart& part = m_parts->list[m_nextPart++];
    closeOwnFile();
    m_file = std::fopen(part.volume.c_str(), "rb");
    m_ownsFile = m_file != nullptr;
    if (m_file == nullptr || fseeko(m_file, part.dataPosition, SEEK_SET) != 0) {
        m_failedPart = &part;
        return false;
    }
    m_partLeft = part.packedSize;
    m_partCrc = 0xFFFFFFFFu;
    m_checkPartCrc = part.continues;
    return true;
}

bool PackedInput::finishedPartIntact(DebugLog& log) {
    if (m_nextPart == 0) {
        return true;
    }
    const EntryPart& part = m_parts->list[m_nextPart - 1];
    if (!part.continues || ~m_partCrc == part.packedCrc) {
        return true;
    }
    log.write(kLinePartCrc, "CRC32 error in the packed data of volume >%s<.", part.volume.c_str());
    m_failedPart = &part;
    m_partCrcFailed = true;
    return false;
}

void PackedInput::closeOwnFile() {
    if (m_ownsFile && m_file != nullptr) {
        std::fclose(m_file);
    }
    m_file = nullptr;
    m_ownsFile = false;
}

} // namespace rar
