#include "engine/rar/RarEntryExtraction.h"

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

bool sizeIsPlausible(const FileHeader& h, uint64_t packedSize) {
    if (h.method == kMethodStored) {
        return h.unpackedSize <= packedSize;
    }
    return h.unpackedSize <= (packedSize + 1) * kMaxBytesPerPackedByte;
}

bool refuseImpossibleSize(RarState& s, const FileHeader& h) {
    s.log.write(kLineAbsurdSize, "Unpacked size %u is impossible for %llu packed bytes.",
                h.unpackedSize, static_cast<unsigned long long>(s.parts.packedSize));
    return s.fail(RarFailure::DamagedHeader, s.archive.volume());
}

bool refuseTruncated(RarState& s) {
    s.log.write(kLineTruncated, "Entry data runs past the end of the archive.");
    return s.fail(RarFailure::DamagedData, s.archive.volume());
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
        return s.fail(RarFailure::DamagedData);
    }
    return true;
}

void startPackedInput(RarState& s, const FileHeader& h) {
    const bool encrypted = s.hasPassword && (h.flags & kFileEncrypted) != 0;
    if (encrypted) {
        s.cipher.setKey(s.password, s.crc);
    }
    Rar20Cipher* const cipher = encrypted ? &s.cipher : nullptr;
    if (s.parts.list.size() == 1) {
        s.packed.start(s.archive.stream(), s.parts.packedSize, cipher, h.unpackVersion);
    } else {
        s.packed.startParts(s.parts, s.crc, cipher, h.unpackVersion);
    }
}

bool decodeCurrentEntry(RarState& s, const FileHeader& h, bool solidArchive) {
    if (h.unpackVersion < kOldestVersion || h.unpackVersion > kNewestVersion) {
        s.log.write(kLineUnknownMethod, "unknown compression method");
        s.status.unpackVersion = h.unpackVersion;
        return s.fail(RarFailure::UnknownMethod);
    }
    if (!s.parts.dataInsideVolumes) {
        return refuseTruncated(s);
    }
    if (!sizeIsPlausible(h, s.parts.packedSize)) {
        return refuseImpossibleSize(s, h);
    }
    if (s.parts.list.size() == 1 && !s.archive.seekToData()) {
        return refuseTruncated(s);
    }
    startPackedInput(s, h);
    if (h.method == kMethodStored) {
        // Stored bytes never pass through the decoder: an unwanted one is simply skipped.
        return !s.found || extractStored(s, h);
    }
    if ((h.flags & kFileDirectoryMask) == kFileDirectoryMask ||
        (h.unpackedSize == 0 && s.parts.packedSize == 0)) {
        return true; // nothing to decode, and the decoder state stays as it was
    }
    OutputSink sink;
    sink.block = s.output;
    sink.capacity = s.found ? h.unpackedSize : 0;
    sink.produced = s.callerSize;
    sink.wanted = s.found;
    const bool continueSolid = solidArchive && (h.flags & kFileSolid) != 0;
    if (!s.decoder.decodeEntry(s.packed, s.input, s.log, h.unpackedSize, continueSolid, sink)) {
        return s.fail(RarFailure::DamagedData);
    }
    return true;
}

bool allocateOutput(RarState& s, const FileHeader& h) {
    if (!sizeIsPlausible(h, s.parts.packedSize)) {
        return refuseImpossibleSize(s, h);
    }
    // One byte at least, so that an empty entry still hands back a block.
    s.output = static_cast<uint8_t*>(std::malloc(h.unpackedSize != 0 ? h.unpackedSize : 1));
    s.outputCapacity = h.unpackedSize;
    *s.callerSize = 0;
    if (s.output == nullptr) {
        s.log.write(kLineOutputAlloc, "can't allocate memory for the file decompression");
        return s.fail(RarFailure::OutOfMemory);
    }
    return true;
}

// Damaged data and CRC errors are often no damage at all but a missing or wrong password; a
// damaged header or a volume's packed part failing its own CRC-32 is damage whatever the
// password.
bool blameFailure(RarState& s, const FileHeader& h) {
    const EntryPart* part = s.packed.failedPart();
    if (!s.parts.headersIntact) {
        return s.fail(RarFailure::HeaderCrc, s.archive.volume());
    }
    if (part != nullptr) {
        return s.fail(s.packed.partCrcFailed() ? RarFailure::DataCrc : RarFailure::VolumeMissing,
                      part->volume);
    }
    const bool dataFailed =
        s.status.failure == RarFailure::DamagedData || s.status.failure == RarFailure::DataCrc;
    if (dataFailed && (h.flags & kFileEncrypted) != 0) {
        return s.fail(s.hasPassword ? RarFailure::WrongPassword : RarFailure::NeedsPassword);
    }
    return false;
}

} // namespace

bool extractCurrentEntry(RarState& s, const FileHeader& first, bool solidArchive) {
    if (s.found && !allocateOutput(s, first)) {
        return blameFailure(s, first);
    }
    if (!decodeCurrentEntry(s, first, solidArchive)) {
        return blameFailure(s, first);
    }
    // A split entry's last header holds the CRC-32 of the whole entry.
    if (s.found && (*s.callerSize != first.unpackedSize ||
                    s.crc.of(s.output, first.unpackedSize) != s.parts.last.fileCrc)) {
        s.log.write(kLineCrcError, "CRC32 error - file couldn't be decompressed correctly!");
        s.fail(RarFailure::DataCrc);
        return blameFailure(s, first);
    }
    return true;
}

} // namespace rar
