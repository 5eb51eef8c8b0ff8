#include "engine/rar/RarArchive.h"

#include "engine/rar/RarVolumeWalker.h"

#include <cstdint>

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

// One line for all the parts of a split entry; the unpacked size is the whole entry's in
// every part's header already.
void addParts(RarEntryInfo& info, const EntryParts& parts) {
    info.packedSize =
        parts.packedSize < UINT32_MAX ? static_cast<uint32_t>(parts.packedSize) : UINT32_MAX;
    info.crc32 = parts.last.fileCrc;
    info.flags = static_cast<uint16_t>((info.flags & ~kFileSplitAfter) |
                                       (parts.last.flags & kFileSplitAfter));
}

} // namespace

} // namespace rar

bool listRarArchive(const char* archiveName, std::vector<RarEntryInfo>& entries,
                    std::string& error) {
    using namespace rar;
    // A walker of its own: listing never touches the extraction state or its debug log.
    Crc32 crc;
    crc.buildTable();
    VolumeWalker walker;
    walker.attach(nullptr, &crc);
    if (archiveName == nullptr || !walker.open(archiveName)) {
        error = "cannot open the archive";
        return false;
    }
    if (!walker.checkSignature()) {
        error = "not a RAR archive this reader can handle";
        return false;
    }
    EntryParts parts;
    for (;;) {
        VolumeWalker::Result next = walker.nextFileHeader();
        if (next == VolumeWalker::Result::End) {
            return true;
        }
        if (next == VolumeWalker::Result::Damaged) {
            error = "damaged file header in " + walker.volume();
            return false;
        }
        RarEntryInfo info = describe(walker.file());
        next = walker.collectParts(parts);
        if (next == VolumeWalker::Result::Found) {
            addParts(info, parts);
        }
        entries.push_back(info);
        if (next == VolumeWalker::Result::VolumeMissing) {
            error = "next volume " + walker.missingVolume() + " is missing";
            return false;
        }
        if (next == VolumeWalker::Result::Damaged) {
            error = "damaged file header in " + walker.volume();
            return false;
        }
        if (!walker.seekToNextBlock()) {
            return true;
        }
    }
}

bool rarEntryNamesMatch(const char* wanted, const char* stored) {
    return wanted != nullptr && stored != nullptr && rar::namesMatch(wanted, stored);
}
