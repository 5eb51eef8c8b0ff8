#include "engine/rar/RarArchive.h"

#include "engine/rar/RarHeaders.h"

namespace rar {

namespace {

RarEntryInfo describe(const ArchiveWalker& walker) {
    const FileHeader& h = walker.fileHeader();
    RarEntryInfo info;
    info.name = walker.storedNameTooLong() ? std::string() : std::string(walker.storedName());
    info.packedSize = h.packedSize;
    info.unpackedSize = h.unpackedSize;
    info.crc32 = h.fileCrc;
    info.unpackVersion = h.unpackVersion;
    info.method = h.method;
    info.flags = h.flags;
    return info;
}

} // namespace

} // namespace rar

bool listRarArchive(const char* archiveName, std::vector<RarEntryInfo>& entries,
                    std::string& error) {
    using namespace rar;
    // A walker of its own: listing never touches the extraction state or its debug log.
    Crc32 crc;
    crc.buildTable();
    ArchiveWalker walker;
    walker.attach(nullptr, &crc);
    if (archiveName == nullptr || !walker.open(archiveName)) {
        error = "cannot open the archive";
        return false;
    }
    if (!walker.checkSignature()) {
        error = "not a RAR archive this reader can handle";
        return false;
    }
    for (;;) {
        const ArchiveWalker::Next next = walker.nextBlock(kFileHeaderType, false);
        if (next == ArchiveWalker::Next::End) {
            return true;
        }
        if (next == ArchiveWalker::Next::Damaged) {
            error = "damaged file header";
            return false;
        }
        entries.push_back(describe(walker));
        if (!walker.seekToNextBlock()) {
            return true;
        }
    }
}

bool rarEntryNamesMatch(const char* wanted, const char* stored) {
    return wanted != nullptr && stored != nullptr && rar::namesMatch(wanted, stored);
}
