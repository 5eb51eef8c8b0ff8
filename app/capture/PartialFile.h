#pragma once

#include <string>

// A file written under a temporary name beside the one asked for, which it takes only once it
// is complete: a write that fails, or a run that is stopped, never leaves a truncated file
// under the final name. The temporary name keeps the extension, from which ffmpeg picks the
// container.
class PartialFile {
public:
    explicit PartialFile(std::string finalPath);
    ~PartialFile(); // removes the temporary file unless it was committed
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    // Where to write.
    const std::string& path() const { return m_partialPath; }
    // Gives the written file its final name. False, with the reason in `error`, when it cannot.
    bool commit(std::string& error);

private:
    std::string m_finalPath;
    std::string m_partialPath;
    bool m_committed = false;
};

// True when a file can be created in `folder`; otherwise false, with the reason in `error`. A
// capture checks its output folder before the show is played, not after.
bool canCreateFilesIn(const std::string& folder, std::string& error);
