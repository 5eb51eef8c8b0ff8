#include "engine/rar/RarVolumeWalker.h"

#include "engine/rar/RarDebugLog.h"
#include "engine/rar/RarVolumeName.h"

#include <cstring>

namespace rar {

void VolumeWalker::attach(DebugLog* log, const Crc32* crc) {
    m_log = log;
    m_file.attach(log, crc);
}

bool VolumeWalker::open(const char* path) {
    close();
    if (!m_file.open(path)) {
        return false;
    }
    m_volume = path;
    return true;
}

bool VolumeWalker::checkSignature() {
    if (!m_file.checkSignature()) {
        return false;
    }
    m_setFlags = m_file.mainHeader().flags;
    return true;
}

void VolumeWalker::close() {
    m_file.close();
    m_volume.clear();
    m_missing.clear();
    m_setFlags = 0;
    m_headersIntact = true;
}

VolumeWalker::Result VolumeWalker::nextFileHeader() {
    for (;;) {
        const ArchiveWalker::Next next = m_file.nextFileHeader();
        if (next == ArchiveWalker::Next::Found) {
            return found();
        }
        if (next == ArchiveWalker::Next::Damaged) {
            return Result::Damaged;
        }
        if ((m_file.mainHeader().flags & kMainVolume) == 0) {
            return Result::End;
        }
        // Nothing says which volume is the last: the set ends where the names run out.
        const std::string name = nextVolume();
        if (name.empty()) {
            return Result::End;
        }
        const Result opened = openVolume(name);
        if (opened != Result::Found) {
            return opened == Result::VolumeMissing ? Result::End : opened;
        }
    }
}

VolumeWalker::Result VolumeWalker::collectParts(EntryParts& parts) {
    parts.list.clear();
    parts.packedSize = 0;
    parts.dataInsideVolumes = true;
    parts.headersIntact = true;
    addPart(parts);
    while ((m_file.fileHeader().flags & kFileSplitAfter) != 0) {
        const std::string entryName = m_file.storedName();
        const Result next = continueInNextVolume(entryName);
        if (next != Result::Found) {
            return next;
        }
        addPart(parts);
    }
    parts.last = m_file.fileHeader();
    return Result::Found;
}

void VolumeWalker::addPart(EntryParts& parts) const {
    const FileHeader& h = m_file.fileHeader();
    EntryPart part;
    part.volume = m_volume;
    part.dataPosition = m_file.dataPosition();
    part.packedSize = h.packedSize;
    part.packedCrc = h.fileCrc;
    part.continues = (h.flags & kFileSplitAfter) != 0;
    parts.list.push_back(part);
    parts.packedSize += h.packedSize;
    parts.dataInsideVolumes = parts.dataInsideVolumes && m_file.dataInsideArchive();
    parts.headersIntact = parts.headersIntact && m_file.headerIntact();
}

VolumeWalker::Result VolumeWalker::continueInNextVolume(const std::string& entryName) {
    const std::string name = nextVolume();
    if (name.empty()) {
        if (m_log != nullptr) {
            m_log->write(kLineVolumeMissing, "No volume name follows >%s<.", m_volume.c_str());
        }
        return Result::Damaged;
    }
    const Result opened = openVolume(name);
    if (opened == Result::VolumeMissing) {
        m_missing = name;
        if (m_log != nullptr) {
            m_log->write(kLineVolumeMissing, "Next volume >%s< is missing.", name.c_str());
        }
        return Result::VolumeMissing;
    }
    const bool continues =
        opened == Result::Found && m_file.nextFileHeader() == ArchiveWalker::Next::Found &&
        (m_file.fileHeader().flags & kFileSplitBefore) != 0 && entryName == m_file.storedName();
    if (!continues) {
        if (m_log != nullptr) {
            m_log->write(kLineVolumeMismatch, "Volume >%s< does not continue >%s<.", name.c_str(),
                         entryName.c_str());
        }
        return Result::Damaged;
    }
    return found();
}

VolumeWalker::Result VolumeWalker::openVolume(const std::string& name) {
    if (!m_file.open(name.c_str())) {
        return Result::VolumeMissing;
    }
    m_volume = name;
    return m_file.checkSignature() ? Result::Found : Result::Damaged;
}

std::string VolumeWalker::nextVolume() const {
    return nextVolumeName(m_volume, (m_file.mainHeader().flags & kMainNewNumbering) != 0);
}

VolumeWalker::Result VolumeWalker::found() {
    m_headersIntact = m_headersIntact && m_file.headerIntact();
    return Result::Found;
}

} // namespace rar
