#pragma once

#include "engine/rar/RarCrc.h"

#include <cstdint>
#include <cstdio>

namespace rar {

class DebugLog;

constexpr uint8_t kMainHeaderType = 0x73;
constexpr uint8_t kFileHeaderType = 0x74;

constexpr uint16_t kMainVolume = 0x01;
constexpr uint16_t kMainSolid = 0x08;
constexpr uint16_t kMainNewNumbering = 0x10;
constexpr uint16_t kFileSplitBefore = 0x01;
constexpr uint16_t kFileSplitAfter = 0x02;
constexpr uint16_t kFileEncrypted = 0x04;
constexpr uint16_t kFileSolid = 0x10;
constexpr uint16_t kFileDirectoryMask = 0xE0;
constexpr uint16_t kBlockHasData = 0x8000;

constexpr size_t kMainHeaderBytes = 13;
constexpr size_t kFileHeaderBytes = 32;
// A block's own size field and, with kBlockHasData, the size of the data behind the header.
constexpr size_t kBlockBytes = 7;
constexpr size_t kLongBlockBytes = 11;
constexpr size_t kMaxNameLength = 259;

struct MainHeader {
    uint8_t type = 0;
    uint16_t flags = 0;
    uint16_t headerSize = 0;
};

struct FileHeader {
    uint16_t headerCrc = 0;
    uint8_t type = 0;
    uint16_t flags = 0;
    uint16_t headerSize = 0;
    uint32_t packedSize = 0;
    uint32_t unpackedSize = 0;
    uint8_t hostOs = 0;
    uint32_t fileCrc = 0;
    uint32_t fileTime = 0;
    uint8_t unpackVersion = 0;
    uint8_t method = 0;
    uint16_t nameSize = 0;
    uint32_t attributes = 0;
};

// Walks the blocks of one archive file: marker, main header, then block after block by their
// header and data sizes. Every size read is checked against the file before it is trusted.
class ArchiveWalker {
public:
    enum class Next { Found, End, Damaged };

    ArchiveWalker() = default;
    ~ArchiveWalker() { close(); } // every way out of a listing closes the archive
    ArchiveWalker(const ArchiveWalker&) = delete;
    ArchiveWalker& operator=(const ArchiveWalker&) = delete;

    void attach(DebugLog* log, const Crc32* crc) {
        m_log = log;
        m_crc = crc;
    }
    bool open(const char* path);
    void close();
    bool isOpen() const { return m_file != nullptr; }
    FILE* file() const { return m_file; }

    // Reads the marker and the main header and leaves the position at the first block.
    bool checkSignature();
    // Finds the next file header and reads its name. Every other block (old sub-blocks, comments,
    // recovery records, the end-of-archive block) is stepped over by its header size, plus its
    // data size when kBlockHasData is set.
    Next nextFileHeader();
    bool seekToNextBlock();
    // Moves to the block's data, past whatever the header holds beyond the name (a comment).
    bool seekToData();

    const MainHeader& mainHeader() const { return m_main; }
    const FileHeader& fileHeader() const { return m_fileHeader; }
    const char* storedName() const { return m_name; }
    bool storedNameTooLong() const { return m_nameTooLong; }
    // False when the file header's CRC matches neither the whole header nor its part up to the
    // end of the name (RAR 2.x leaves an embedded comment out).
    bool headerIntact() const { return m_headerIntact; }
    // True when the block's data lies wholly inside the archive file.
    bool dataInsideArchive() const { return m_nextPos <= m_fileSize; }
    int64_t dataPosition() const { return m_blockPos + m_fileHeader.headerSize; }

private:
    bool readMainHeader();
    size_t readBlockHeader(FileHeader& header);
    Next readFileHeaderRest(size_t got);
    bool readName();
    bool readCounted(size_t count, uint32_t& crc, char* keep);
    void logLine(unsigned line, const char* message);

    DebugLog* m_log = nullptr;
    const Crc32* m_crc = nullptr;
    FILE* m_file = nullptr;
    int64_t m_fileSize = 0;
    int64_t m_blockPos = 0;
    int64_t m_nextPos = 0;
    uint32_t m_headerCrc = 0;
    MainHeader m_main;
    FileHeader m_fileHeader;
    char m_name[kMaxNameLength + 1] = {};
    bool m_nameTooLong = false;
    bool m_headerIntact = true;
};

// Compares an asked-for name with a stored one: slashes and backslashes are alike, and so are
// upper and lower case letters a to z.
bool namesMatch(const char* wanted, const char* stored);

} // namespace rar
