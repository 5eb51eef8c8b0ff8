#pragma once

#include <cstdint>

// When set, resources are taken from this RAR archive instead of loose files. Nothing in the
// show sets it; tools and tests may.
extern const char* archiveName;

// Reads one resource whole into memory, from a plain file or from the archive named by
// archiveName. A plain file's bytes are followed by one zero byte that `size` does not count.
class ResourceFile {
public:
    ResourceFile() = default;
    ~ResourceFile() { close(); }
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;

    // Reads the resource. A file that already holds data keeps it, whatever the name.
    bool open(const char* name);
    void close();

    uint8_t* data() const { return m_data; }
    uint32_t size() const { return m_size; }
    const char* name() const { return m_name; }
    const char* archive() const { return m_archive; }

private:
    bool openPlain();
    void reset();

    uint8_t* m_data = nullptr; // malloc'd: the archive reader hands over malloc'd blocks too
    char* m_name = nullptr;
    const char* m_archive = nullptr;
    uint32_t m_size = 0;
};
