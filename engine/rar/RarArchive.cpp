#include "engine/rar/RarArchive.h"

#include "engine/rar/RarEntryExtraction.h"
#include "engine/rar/RarState.h"

#include <cstdlib>
#include <cstring>

namespace rar {

namespace {

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

// A walk that stops short: the end of the set without the entry, a damaged header or a
// missing volume. A header that failed its CRC on the way is the likelier cause.
bool failWalk(RarState& s, VolumeWalker::Result result) {
    if (result == VolumeWalker::Result::VolumeMissing) {
        return s.fail(RarFailure::VolumeMissing, s.archive.missingVolume());
    }
    if (!s.archive.headersIntact()) {
        return s.fail(RarFailure::HeaderCrc, s.archive.volume());
    }
    return result == VolumeWalker::Result::End
               ? s.fail(RarFailure::NoSuchEntry)
               : s.fail(RarFailure::DamagedHeader, s.archive.volume());
}

bool openArchive(RarState& s) {
    if (!s.archive.open(s.archiveName)) {
        s.log.write(kLineOpenError, "Error opening file.");
        return s.fail(RarFailure::CannotOpen);
    }
    if (!s.archive.checkSignature()) {
        s.log.write(kLineNotRar, "Not a RAR file");
        return s.fail(RarFailure::NotAnArchive);
    }
    // calloc: a window this size comes straight from fresh zeroed pages.
    s.window = static_cast<uint8_t*>(std::calloc(1, Rar20Decoder::kWindowSize));
    if (s.window == nullptr) {
        s.log.write(kLineWindowAlloc, "Can't allocate memory for decompression!");
        return s.fail(RarFailure::OutOfMemory);
    }
    s.decoder.attachWindow(s.window);
    s.decoder.reset();
    return true;
}

bool extractEntry(RarState& s) {
    if (!openArchive(s)) {
        return false;
    }
    const bool solidArchive = (s.archive.setFlags() & kMainSolid) != 0;
    for (;;) {
        VolumeWalker::Result next = s.archive.nextFileHeader();
        if (next != VolumeWalker::Result::Found) {
            return failWalk(s, next);
        }
        const FileHeader first = s.archive.file().fileHeader();
        const ArchiveWalker& file = s.archive.file();
        s.found = !file.storedNameTooLong() && namesMatch(s.entryName, file.storedName());
        // The tail of an entry that began before the first volume of the walk: its start, and
        // with it the decoder state, is out of reach.
        const bool orphan = (first.flags & kFileSplitBefore) != 0;
        if (orphan && s.found) {
            s.log.write(kLineSplitStart, "Entry >%s< starts in a volume before >%s<.", s.entryName,
                        s.archiveName);
            return s.fail(RarFailure::StartsInEarlierVolume, s.archive.volume());
        }
        next = s.archive.collectParts(s.parts);
        if (next != VolumeWalker::Result::Found) {
            return failWalk(s, next);
        }
        if ((solidArchive || s.found) && !orphan && !extractCurrentEntry(s, first, solidArchive)) {
            return false;
        }
        if (s.found) {
            return true;
        }
        if (!s.archive.seekToNextBlock()) {
            return failWalk(s, VolumeWalker::Result::End);
        }
    }
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
    s.status = RarExtractStatus();

    bool ok = entryName != nullptr && archiveName != nullptr &&
              copyName(s.entryName, sizeof(s.entryName), entryName, "Entry name", s) &&
              copyName(s.archiveName, sizeof(s.archiveName), archiveName, "Archive name", s);
    if (ok && password != nullptr) {
        ok = copyName(s.password, sizeof(s.password), password, "Password", s);
        s.hasPassword = ok;
    }
    if (!ok) {
        s.fail(RarFailure::BadArguments);
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

const RarExtractStatus& rarLastExtractStatus() {
    return rar::rarState().status;
}
