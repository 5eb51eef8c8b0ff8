#include "engine/rar/RarHeaders.h"

#include "engine/rar/RarDebugLog.h"

#include <cstring>

namespace rar {

namespace {

const uint8_t kRarMarker[7] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
const uint8_t kOstrakMarker[7] = {'O', 's', 't', 'r', 'a', 'k', '!'};
const uint8_t kOldMarker[4] = {0x52, 0x45, 0x7E, 0x5E};

uint16_t get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

char normalised(char c) {
    if (c == '\\' || c == '/') {
        return '_';
    }
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool ArchiveWalker::open(const char* path) {
    close();
    m_file = std::fopen(path, "rb");
    if (m_file == nullptr) {
        return false;
    }
    if (fseeko(m_file, 0, SEEK_END) != 0 || (m_fileSize = ftello(m_file)) < 0 ||
        fseeko(m_file, 0, SEEK_SET) != 0) {
        close();
        return false;
    }
    return true;
}

void ArchiveWalker::close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
    m_file = nullptr;
    m_fileSize = 0;
    m_blockPos = 0;
    m_nextPos = 0;
    m_main = MainHeader();
    m_fileHeader = FileHeader();
    m_block = BlockRecord();
    std::memset(m_name, 0, sizeof(m_name));
    m_nameTooLong = false;
}

void ArchiveWalker::logLine(unsigned line, const char* message) {
    if (m_log != nullptr) {
        m_log->write(line, "%s", message);
    }
}

bool ArchiveWalker::checkSignature() {
    uint8_t marker[7];
    if (std::fread(marker, 1, sizeof(marker), m_file) != sizeof(marker)) {
        return false;
    }
    if (std::memcmp(marker, kOldMarker, sizeof(kOldMarker)) == 0) {
        logLine(kLineOldFormat, "Attention: format as OLD detected! Can't handel archive!");
        return false;
    }
    if (std::memcmp(marker, kRarMarker, 7) != 0 && std::memcmp(marker, kOstrakMarker, 7) != 0) {
        logLine(kLineUnknownType, "unknown archive type (only plain RAR supported (normal and "
                                  "solid archives), SFX and Volumes are NOT supported!)");
        return false;
    }
    if (readHeaderFields(true) != kMainHeaderBytes || m_main.headerSize < kMainHeaderBytes) {
        return false;
    }
    // The rest of the main header (an archive comment, for one) is of no use here.
    const int64_t firstBlock = 7 + static_cast<int64_t>(m_main.headerSize);
    return firstBlock <= m_fileSize && fseeko(m_file, firstBlock, SEEK_SET) == 0;
}

size_t ArchiveWalker::readHeaderFields(bool mainHeader) {
    uint8_t bytes[kFileHeaderBytes] = {};
    const size_t wanted = mainHeader ? kMainHeaderBytes : kFileHeaderBytes;
    const size_t got = std::fread(bytes, 1, wanted, m_file);
    if (mainHeader) {
        m_main.type = bytes[2];
        m_main.flags = get16(bytes + 3);
        m_main.headerSize = get16(bytes + 5);
    } else {
        FileHeader& h = m_fileHeader;
        h.headerCrc = get16(bytes);
        h.type = bytes[2];
        h.flags = get16(bytes + 3);
        h.headerSize = get16(bytes + 5);
        h.packedSize = get32(bytes + 7);
        h.unpackedSize = get32(bytes + 11);
        h.hostOs = bytes[15];
        h.fileCrc = get32(bytes + 16);
        h.fileTime = get32(bytes + 20);
        h.unpackVersion = bytes[24];
        h.method = bytes[25];
        h.nameSize = get16(bytes + 26);
        h.attributes = get32(bytes + 28);
    }
    m_headerCrc =
        got > 2 && m_crc != nullptr ? m_crc->update(0xFFFFFFFFu, bytes + 2, got - 2) : 0xFFFFFFFFu;
    return got;
}

ArchiveWalker::Next ArchiveWalker::nextBlock(uint8_t wantedType, bool acceptSubBlocks) {
    const FileHeader kept = m_fileHeader;
    size_t got = 0;
    for (;;) {
        m_blockPos = ftello(m_file);
        got = readHeaderFields(false);
        if (got < 7 || m_fileHeader.headerSize < 7 || m_blockPos < 0) {
            m_fileHeader = kept;
            return Next::End;
        }
        m_nextPos = m_blockPos + m_fileHeader.headerSize;
        if ((m_fileHeader.flags & kBlockHasData) != 0) {
            m_nextPos += m_fileHeader.packedSize;
        }
        const uint8_t type = m_fileHeader.type;
        if (wantedType == 0 || type == wantedType || (acceptSubBlocks && type == kSubBlockType)) {
            break;
        }
        if (fseeko(m_file, m_nextPos, SEEK_SET) != 0) {
            m_fileHeader = kept;
            return Next::End;
        }
    }
    m_block.crc = m_fileHeader.headerCrc;
    m_block.type = m_fileHeader.type;
    m_block.flags = m_fileHeader.flags;
    m_block.headerSize = m_fileHeader.headerSize;
    m_block.dataSize = (m_fileHeader.flags & kBlockHasData) != 0 ? m_fileHeader.packedSize : 0;
    if (m_block.type != kFileHeaderType) {
        m_fileHeader = kept;
        fseeko(m_file, m_blockPos, SEEK_SET);
        return Next::Found;
    }
    if (got < kFileHeaderBytes ||
        kFileHeaderBytes + m_fileHeader.nameSize > m_fileHeader.headerSize) {
        logLine(kLineTruncated, "File header damaged or cut short.");
        return Next::Damaged;
    }
    return readName() ? Next::Found : Next::Damaged;
}

bool ArchiveWalker::readName() {
    // The whole name is read for the header CRC even when it is too long to keep.
    std::memset(m_name, 0, sizeof(m_name));
    m_nameTooLong = m_fileHeader.nameSize > kMaxNameLength;
    uint32_t crc = m_headerCrc;
    uint8_t chunk[256];
    size_t done = 0;
    while (done < m_fileHeader.nameSize) {
        const size_t want = m_fileHeader.nameSize - done < sizeof(chunk)
                                ? m_fileHeader.nameSize - done
                                : sizeof(chunk);
        if (std::fread(chunk, 1, want, m_file) != want) {
            logLine(kLineTruncated, "File header damaged or cut short.");
            return false;
        }
        if (!m_nameTooLong) {
            std::memcpy(m_name + done, chunk, want);
        }
        if (m_crc != nullptr) {
            crc = m_crc->update(crc, chunk, want);
        }
        done += want;
    }
    if (m_nameTooLong) {
        std::memset(m_name, 0, sizeof(m_name));
        logLine(kLineStoredNameTooLong,
                "Entry name in the archive is longer than 259 bytes - entry never matches.");
    }
    if (((~crc) & 0xFFFF) != m_fileHeader.headerCrc) {
        logLine(kLineHeaderBroken, "file header broken");
    }
    return true;
}

bool ArchiveWalker::seekToNextBlock() {
    return m_nextPos > m_blockPos && fseeko(m_file, m_nextPos, SEEK_SET) == 0;
}

bool ArchiveWalker::seekToData() {
    return fseeko(m_file, m_blockPos + m_fileHeader.headerSize, SEEK_SET) == 0;
}

bool namesMatch(const char* wanted, const char* stored) {
    size_t i = 0;
    for (; wanted[i] != 0 && stored[i] != 0; ++i) {
        if (normalised(wanted[i]) != normalised(stored[i])) {
            return false;
        }
    }
    return wanted[i] == stored[i];
}

} // namespace rar
