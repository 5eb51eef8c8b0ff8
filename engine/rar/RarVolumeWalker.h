#pragma once

#include "engine/rar/RarEntryParts.h"
#include "engine/rar/RarHeaders.h"

#include <string>

namespace rar {

// Walks the file headers of an archive, or of a set of volumes one after the other: a volume
// ends, and the walk goes on in the next one by name, for as long as there is one. Listing and
// extraction share it, so that both see the same entries.
class VolumeWalker {
public:
    enum class Result { Found, End, Damaged, VolumeMissing };

    void attach(DebugLog* log, const Crc32* crc);
    // Opens the file the walk starts with; checkSignature() then reads its marker and main
    // header, whose flags decide for the whole set.
    bool open(const char* path);
    bool checkSignature();
    void close();

    // The next file header of the set. Never VolumeMissing: a set may end with any volume.
    Result nextFileHeader();
    // Follows the entry whose header was read last through the volumes it continues in,
    // checking that each one carries its next part. Leaves the walk at the last part's header.
    Result collectParts(EntryParts& parts);
    bool seekToNextBlock() { return m_file.seekToNextBlock(); }
    bool seekToData() { return m_file.seekToData(); }

    // The first volume's main header: whether the set is solid, say.
    uint16_t setFlags() const { return m_setFlags; }
    const ArchiveWalker& file() const { return m_file; }
    FILE* stream() const { return m_file.file(); }
    const std::string& volume() const { return m_volume; }
    // The volume that was looked for last and not found.
    const std::string& missingVolume() const { return m_missing; }
    // False once a file header with a wrong CRC was read.
    bool headersIntact() const { return m_headersIntact; }

private:
    Result openVolume(const std::string& name);
    std::string nextVolume() const;
    void addPart(EntryParts& parts) const;
    Result continueInNextVolume(const std::string& entryName);
    Result found();

    DebugLog* m_log = nullptr;
    ArchiveWalker m_file;
    std::string m_volume;
    std::string m_missing;
    uint16_t m_setFlags = 0;
    bool m_headersIntact = true;
};

} // namespace rar
