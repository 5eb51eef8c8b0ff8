#include "app/capture/PartialFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {

// Beside the file asked for, whichever separators the system's paths have.
std::string partialName(const std::string& finalPath) {
    const std::filesystem::path path(finalPath);
    return (path.parent_path() / (".partial-" + path.filename().string())).string();
}

} // namespace

PartialFile::PartialFile(std::string finalPath)
    : m_finalPath(std::move(finalPath)), m_partialPath(partialName(m_finalPath)) {}

PartialFile::~PartialFile() {
    if (!m_committed) {
        std::remove(m_partialPath.c_str());
    }
}

bool PartialFile::commit(std::string& error) {
    if (std::rename(m_partialPath.c_str(), m_finalPath.c_str()) != 0) {
        error = "cannot write " + m_finalPath + ": " + std::strerror(errno);
        return false;
    }
    m_committed = true;
    return true;
}

bool canCreateFilesIn(const std::string& folder, std::string& error) {
    const std::string where = folder.empty() ? "." : folder;
    std::string probe = where + "/.tarnelix-probe-XXXXXX";
    const int fd = mkstemp(probe.data());
    if (fd < 0) {
        error = "cannot write into " + where + ": " + std::strerror(errno);
        return false;
    }
    close(fd);
    unlink(probe.c_str());
    return true;
}
