#include "engine/resources/ResourceFile.h"

#include "engine/rar/RarArchive.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* archiveName = nullptr;

bool ResourceFile::open(const char* name) {
    if (m_data != nullptr) {
        return true;
    }
    reset();
    if (name == nullptr) {
        return false;
    }
    const size_t length = std::strlen(name);
    m_name = static_cast<char*>(std::malloc(length + 1));
    if (m_name == nullptr) {
        return false;
    }
    std::memcpy(m_name, name, length + 1);

    m_archive = archiveName;
    if (m_archive != nullptr) {
        uint32_t size = 0;
        extractFromArchive(&m_data, &size, m_name, m_archive, nullptr);
        m_size = m_data != nullptr ? size : 0;
        return m_data != nullptr;
    }
    return openPlain();
}

bool ResourceFile::openPlain() {
    FILE* file = std::fopen(m_name, "rb");
    if (file == nullptr) {
        return false;
    }
    long end = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        end = std::ftell(file);
    }
    // A directory, a pipe or a file past 4 GiB has no size we can hold: treat it as unreadable.
    if (end < 0 || static_cast<unsigned long>(end) >= 0xFFFFFFFFul ||
        std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return false;
    }
    const uint32_t size = static_cast<uint32_t>(end);
    uint8_t* data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size) + 1));
    if (data == nullptr) {
        std::fclose(file);
        return false;
    }
    const size_t got = std::fread(data, 1, size, file);
    std::fclose(file);
    if (got != size) {
        // The file shrank or failed under us: keep nothing rather than bytes we never read.
        std::free(data);
        return false;
    }
    data[size] = 0;
    m_data = data;
    m_size = size;
    return true;
}

void ResourceFile::close() {
    std::free(m_name);
    std::free(m_data);
    reset();
}

void ResourceFile::reset() {
    m_data = nullptr;
    m_name = nullptr;
    m_archive = nullptr;
    m_size = 0;
}
