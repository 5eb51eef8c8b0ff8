#include "app/player/FileWatch.h"

#include <sys/stat.h>

FileWatch::FileWatch() : m_stamp(&FileWatch::fileStamp) {}

int64_t FileWatch::fileStamp(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return kMissing;
    }
    const int64_t nanoseconds =
        static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    // A rewrite within the file system's time resolution still changes the size, mostly.
    return (nanoseconds ^ (static_cast<int64_t>(info.st_size) << 40)) & INT64_MAX;
}

void FileWatch::watch(const std::string& path) {
    if (m_files.count(path) == 0) {
        File file;
        file.reported = m_stamp(path);
        file.pending = file.reported;
        m_files.emplace(path, file);
    }
}

std::vector<std::string> FileWatch::poll() {
    std::vector<std::string> changed;
    for (auto& [path, file] : m_files) {
        const int64_t now = m_stamp(path);
        if (now == file.reported || now == kMissing) {
            file.pending = now;
            continue;
        }
        if (now == file.pending) {
            file.reported = now;
            changed.push_back(path);
        } else {
            file.pending = now;
        }
    }
    return changed;
}
