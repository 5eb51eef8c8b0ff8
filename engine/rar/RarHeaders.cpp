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
    std::memset(m_name, 0, sizeof(m_name));
    m_nameTooLong = false;
    m_headerIntact = true;
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
                                  "solid archives, volumes), SFX is NOT supported!)");
        return false;
    }
    if (!readMainHeader()) {
        return false;
    }
    // The rest of the main header (an archive comment, for one) is of no use here.
    const int64_t firstBlock = 7 + static_cast<int64_t>(m_main.headerSize);
    return firstBlock <= m_fileSize && fseeko(m_file, firstBlock, SEEK_SET) == 0;
}

bool ArchiveWalker::readMainHeader() {
    uint8_t bytes[kMainHeaderBytes] = {};
    if (std::fread(bytes, 1, sizeof(bytes), m_file) != sizeof(bytes)) {
        return false;
    }
    m_main.type = bytes[2];
    m_main.flags = get16(bytes + 3);
    m_main.headerSize = get16(bytes + 5);
    return m_main.headerSize >= kMainHeaderBytes;
}

size_t ArchiveWalker::readBlockHeader(FileHeader& h) {
    uint8_t bytes[kFileHeaderBytes] = {};
    const size_t got = std::fread(bytes, 1, sizeof(bytes), m_file);
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
    m_headerCrc =
        got > 2 && m_crc != nullptr ? m_crc->update(0xFFFFFFFFu, bytes + 2, got - 2) : 0xFFFFFFFFu;
    return got;
}

ArchiveWalker::Next ArchiveWalker::nextFileHeader() {
    for (;;) {
        const int64_t at = ftello(m_file);
        FileHeader h;
        const size_t got = readBlockHeader(h);
        if (at < 0 || got < kBlockBytes || h.headerSize < kBlockBytes) {
            return Next::End;
        }
        const bool hasData = (h.flags & kBlockHasData) != 0;
        if (hasData && h.headerSize < kLongBlockBytes) {
            // The data size would be read from whatever follows the header.
            logLine(kLineTruncated, "Block header damaged or cut short.");
            return Next::Damaged;
        }
        const int64_t next = at + h.headerSize + (hasData ? h.packedSize : 0);
        if (h.type == kFileHeaderType) {
            m_blockPos = at;
            m_nextPos = next;
            m_fileHeader = h;
            return readFileHeaderRest(got);
        }
        if (next > m_fileSize || fseeko(m_file, next, SEEK_SET) != 0) {
            return Next::End; // a block cut short ends the archive
        }
    }
}

ArchiveWalker::Next ArchiveWalker::readFileHeaderRest(size_t got) {
    const FileHeader& h = m_fileHeader;
    if (got < kFileHeaderBytes || kFileHeaderBytes + h.nameSize > h.headerSize) {
        logLine(kLineTruncated, "File header damaged or cut short.");
        return Next::Damaged;
    }
    if (!readName()) {
        return Next::Damaged;
    }
    // What follows the name (a comment, extended times) counts for the CRC too, except that
    // RAR 2.x leaves an embedded comment out: either way of counting is accepted.
    const uint32_t upToName = m_headerCrc;
    uint32_t whole = m_headerCrc;
    if (!readCounted(h.headerSize - kFileHeaderBytes - h.nameSize, whole, nullptr)) {
        logLine(kLineTruncated, "File header damaged or cut short.");
        return Next::Damaged;
    }
    m_headerIntact = ((~upToName) & 0xFFFF) == h.headerCrc || ((~whole) & 0xFFFF) == h.headerCrc;
    if (!m_headerIntact) {
        logLine(kLineHeaderBroken, "file header broken");
    }
    return Next::Found;
}

bool ArchiveWalker::readName() {
    // The whole name is read for the header CRC even when it is too long to keep.
    std::memset(m_name, 0, sizeof(m_name));
    m_nameTooLong = m_fileHeader.nameSize > kMaxNameLength;
    if (!readCounted(m_fileHeader.nameSize, m_headerCrc, m_nameTooLong ? nullptr : m_name)) {
        logLine(kLineTruncated, "File header damaged or cut short.");
        return false;
    }
    if (m_nameTooLong) {
        logLine(kLineStoredNameTooLong,
                "Entry name in the archive is longer than 259 bytes - entry never matches.");
    }
    return true;
}

bool ArchiveWalker::readCounted(size_t count, uint32_t& crc, char* keep) {
    uint8_t chunk[256];
    size_t done = 0;
    while (done < count) {
        const size_t want = count - done < sizeof(chunk) ? count - done : sizeof(chunk);
        if (std::fread(chunk, 1, want, m_file) != want) {
            return false;
        }
        if (keep != nullptr) {
            std::memcpy(keep + done, chunk, want);
        }
        if (m_crc != nullptr) {
            crc = m_crc->update(crc, chunk, want);
        }
        done += want;
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
