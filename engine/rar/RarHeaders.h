#pragma once

#include "engine/rar/RarCrc.h"

#include <cstdint>
#include <cstdio>

namespace rar {

class DebugLog;

constexpr uint8_t kMainHeaderType = 0x73;
constexpr uint8_t kFileHeaderType = 0x74;
constexpr uint8_t kSubBlockType = 0x77;

constexpr uint16_t kMainSolid = 0x08;
constexpr uint16_t kFileEncrypted = 0x04;
constexpr uint16_t kFileSolid = 0x10;
constexpr uint16_t kFileDirectoryMask = 0xE0;
constexpr uint16_t kBlockHasData = 0x8000;

constexpr size_t kMainHeaderBytes = 13;
constexpr size_t kFileHeaderBytes = 32;
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

// The common fields of the block read last, whatever its type.
struct BlockRecord {
    uint16_t crc = 0;
    uint8_t type = 0;
    uint16_t flags = 0;
    uint16_t headerSize = 0;
    uint32_t dataSize = 0;
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
    // Finds the next block of `wantedType` (or a sub-block when accepted), reading the name
    // of a file header. Other block types are skipped.
    Next nextBlock(uint8_t wantedType, bool acceptSubBlocks);
    bool seekToNextBlock();
    // Moves to the block's data, past whatever the header holds beyond the name (a comment).
    bool seekToData();

    const MainHeader& mainHeader() const { return m_main; }
    const FileHeader& fileHeader() const { return m_fileHeader; }
    const BlockRecord& block() const { return m_block; }
    const char* storedName() const { return m_name; }
    bool storedNameTooLong() const { return m_nameTooLong; }
    // True when the block's data lies wholly inside the archive file.
    bool dataInsideArchive() const { return m_nextPos <= m_fileSize; }

private:
    size_t readHeaderFields(bool mainHeader);
    bool readName();
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
    BlockRecord m_block;
    char m_name[kMaxNameLength + 1] = {};
    bool m_nameTooLong = false;
};

// Compares an asked-for name with a stored one: slashes and backslashes are alike, and so are
// upper and lower case letters a to z.
bool namesMatch(const char* wanted, const char* stored);

} // namespace rar
