#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Notices files that changed on disk. A file's stamp (its modification time and size) is
// taken when it is first watched; a later poll names every file whose stamp differs, once per
// change. A change is reported only after the same new stamp was seen on two polls in a row,
// so that a file still being written is not read half-way.
class FileWatch {
public:
    // The stamp of a file; any value that changes when the file does. kMissing when it cannot
    // be read.
    using Stamp = std::function<int64_t(const std::string& path)>;
    static constexpr int64_t kMissing = -1;

    FileWatch();
    explicit FileWatch(Stamp stamp) : m_stamp(std::move(stamp)) {}

    // Watching a file already watched keeps its stamp.
    void watch(const std::string& path);
    bool watching(const std::string& path) const { return m_files.count(path) != 0; }
    // The files that changed since the last poll that named them, in name order. A file that
    // went missing is not named until it is back.
    std::vector<std::string> poll();

    // Modification time in nanoseconds mixed with the size, from the file system.
    static int64_t fileStamp(const std::string& path);

private:
    struct File {
        int64_t reported = kMissing; // the stamp the last report (or the first look) saw
        int64_t pending = kMissing;  // a new stamp seen once, waiting to be seen again
    };
    Stamp m_stamp;
    std::map<std::string, File> m_files;
};
