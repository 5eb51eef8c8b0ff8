#include "engine/rar/RarArchive.h"

#include "engine/rar/RarState.h"

#include <cstdlib>
#include <cstring>

namespace rar {

namespace {

constexpr uint8_t kMethodStored = 0x30;
constexpr uint8_t kOldestVersion = 13;
constexpr uint8_t kNewestVersion = 20;
// No RAR 2.0 code yields more than 260 bytes per bit; anything beyond is a lie.
constexpr uint64_t kMaxBytesPerPackedByte = 2100;

bool copyName(char* buffer, size_t capacity, const char* name, const char* what, RarState& s) {
    const size_t length = std::strlen(name);
    if (length >= capacity) {
        s.log.write(kLineNameTooLong, "%s is longer than %u characters - refused.", what,
                    static_cast<unsigned>(capacity - 1));
        return false;
    }
    std::memcpy(buffer, name, length + 1);
    return true;
}

bool sizeIsPlausible(const FileHeader& h) {
    if (h.method == kMethodStored) {
        return h.unpackedSize <= h.packedSize;
    }
    return h.unpackedSize <= (static_cast<uint64_t>(h.packedSize) + 1) * kMaxBytesPerPackedByte;
}

bool extractStored(RarState& s, const FileHeader& h) {
    uint8_t* const chunk = s.storedChunk;
    uint32_t copied = 0;
    while (copied < h.unpackedSize) {
        const size_t got = s.packed.read(chunk, RarState::kStoredChunk, s.log);
        if (got == 0) {
            break;
        }
        const uint32_t room = h.unpackedSize - copied;
        const uint32_t take = got < room ? static_cast<uint32_t>(got) : room;
        std::memcpy(s.output + copied, chunk, take);
        copied += take;
    }
    *s.callerSize = copied;
    if (copied < h.unpackedSize) {
        s.log.write(kLineStoredReadError, "Read error of stored file!");
        return false;
    }
    return true;
}

bool decodeCurrentEntry(RarState& s, const FileHeader& h, bool solidArchive) {
    if (h.unpackVersion < kOldestVersion || h.unpackVersion > kNewestVersion) {
        s.log.write(kLineUnknownMethod, "unknown compression method");
        return false;
    }
    if (!s.archive.dataInsideArchive()) {
        s.log.write(kLineTruncated, "Entry data runs past the end of the archive.");
        return false;
    }
    if (!sizeIsPlausible(h)) {
        s.log.write(kLineAbsurdSize, "Unpacked size %u is impossible for %u packed bytes.",
                    h.unpackedSize, h.packedSize);
        return false;
    }
    if (!s.archive.seekToData()) {
        s.log.write(kLineTruncated, "Entry data runs past the end of the archive.");
        return false;
    }
    const bool encrypted = s.hasPassword && (h.flags & kFileEncrypted) != 0;
    if (encrypted) {
        s.cipher.setKey(s.password, s.crc);
    }
    s.packed.start(s.archive.file(), h.packedSize, encrypted ? &s.cipher : nullptr,
                   h.unpackVersion);
    if (h.method == kMethodStored) {
        // Stored bytes never pass through the decoder: an unwanted one is simply skipped.
        return !s.found || extractStored(s, h);
    }
    if ((h.flags & kFileDirectoryMask) == kFileDirectoryMask ||
        (h.unpackedSize == 0 && h.packedSize == 0)) {
        return true; // nothing to decode, and the decoder state stays as it was
    }
    OutputSink sink;
    sink.block = s.output;
    sink.capacity = s.found ? h.unpackedSize : 0;
    sink.produced = s.callerSize;
    sink.wanted = s.found;
    const bool continueSolid = solidArchive && (h.flags & kFileSolid) != 0;
    return s.decoder.decodeEntry(s.packed, s.input, s.log, h.unpackedSize, continueSolid, sink);
}

bool allocateOutput(RarState& s, const FileHeader& h) {
    if (!sizeIsPlausible(h)) {
        s.log.write(kLineAbsurdSize, "Unpacked size %u is impossible for %u packed bytes.",
                    h.unpackedSize, h.packedSize);
        return false;
    }
    // One byte at least, so that an empty entry still hands back a block.
    s.output = static_cast<uint8_t*>(std::malloc(h.unpackedSize != 0 ? h.unpackedSize : 1));
    s.outputCapacity = h.unpackedSize;
    *s.callerSize = 0;
    if (s.output == nullptr) {
        s.log.write(kLineOutputAlloc, "can't allocate memory for the file decompression");
        return false;
    }
    return true;
}

bool extractEntry(RarState& s) {
    if (!s.archive.open(s.archiveName)) {
        s.log.write(kLineOpenError, "Error opening file.");
        return false;
    }
    if (!s.archive.checkSignature()) {
        s.log.write(kLineNotRar, "Not a RAR file");
        return false;
    }
    // calloc: a window this size comes straight from fresh zeroed pages.
    s.window = static_cast<uint8_t*>(std::calloc(1, Rar20Decoder::kWindowSize));
    if (s.window == nullptr) {
        s.log.write(kLineWindowAlloc, "Can't allocate memory for decompression!");
        return false;
    }
    s.decoder.attachWindow(s.window);
    s.decoder.reset();
    const bool solidArchive = (s.archive.mainHeader().flags & kMainSolid) != 0;
    while (!s.found) {
        const ArchiveWalker::Next next = s.archive.nextBlock(kFileHeaderType, true);
        if (next != ArchiveWalker::Next::Found) {
            return false;
        }
        if (s.archive.block().type == kSubBlockType) {
            s.log.write(kLineSubHeader, "Sorry, sub-headers not supported.");
            return false;
        }
        const FileHeader header = s.archive.fileHeader();
        s.found = !s.archive.storedNameTooLong() && namesMatch(s.entryName, s.archive.storedName());
        if (s.found && !allocateOutput(s, header)) {
            return false;
        }
        if (solidArchive || s.found) {
            if (!decodeCurrentEntry(s, header, solidArchive)) {
                return false;
            }
            if (s.found && (*s.callerSize != header.unpackedSize ||
                            s.crc.of(s.output, header.unpackedSize) != header.fileCrc)) {
                s.log.write(kLineCrcError,
                            "CRC32 error - file couldn't be decompressed correctly!");
                return false;
            }
        }
        if (!s.found && !s.archive.seekToNextBlock()) {
            return false;
        }
    }
    return true;
}

} // namespace

} // namespace rar

int extractFromArchive(uint8_t** output, uint32_t* size, const char* entryName,
                       const char* archiveName, const char* password) {
    using namespace rar;
    RarState& s = rarState();
    s.log.startOnce();
    s.crc.buildTable();
    s.archive.attach(&s.log, &s.crc);
    uint32_t ignoredSize = 0;
    s.callerSize = size != nullptr ? size : &ignoredSize;
    *s.callerSize = 0;
    s.output = nullptr;
    s.outputCapacity = 0;
    s.found = false;

    bool ok = entryName != nullptr && archiveName != nullptr &&
              copyName(s.entryName, sizeof(s.entryName), entryName, "Entry name", s) &&
              copyName(s.archiveName, sizeof(s.archiveName), archiveName, "Archive name", s);
    if (ok && password != nullptr) {
        ok = copyName(s.password, sizeof(s.password), password, "Password", s);
        s.hasPassword = ok;
    }
    // The password itself never reaches the log: only whether one was given.
    s.log.write(kLineExtracting, "Extracting >%s< from >%s< (password is >%s<)...",
                entryName != nullptr ? entryName : "", archiveName != nullptr ? archiveName : "",
                password != nullptr ? "********" : "");
    ok = ok && extractEntry(s);
    s.releaseWork();

    if (!ok) {
        std::free(s.output);
        s.output = nullptr;
        *s.callerSize = 0;
        s.log.write(kLineResult,
                    "Error - couldn't extract >%s< and allocated %u Bytes of unused memory!",
                    entryName != nullptr ? entryName : "", s.outputCapacity);
    } else {
        s.log.write(kLineResult, "Extracted %u Bytes.", *s.callerSize);
    }
    if (output != nullptr) {
        *output = s.output;
    } else {
        std::free(s.output);
    }
    s.output = nullptr;
    s.outputCapacity = 0;
    s.callerSize = nullptr;
    return ok ? 1 : 0;
}
