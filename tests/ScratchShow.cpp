#include "ScratchShow.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

ScratchShow::ScratchShow(const std::string& showDir)
    : m_showDir(showDir), m_path(m_dir.file("show")) {
    fs::create_directory(m_path);
    for (const fs::directory_entry& entry : fs::directory_iterator(showDir)) {
        fs::create_symlink(entry.path(), fs::path(m_path) / entry.path().filename());
    }
}

void ScratchShow::remove(const std::string& name) const {
    fs::remove(fs::path(m_path) / name);
}

void ScratchShow::replace(const std::string& name, const std::string& bytes) const {
    remove(name);
    std::ofstream(fs::path(m_path) / name, std::ios::binary) << bytes;
}

void ScratchShow::truncate(const std::string& name, size_t size) const {
    std::ifstream in(fs::path(m_showDir) / name, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes.resize(std::min(bytes.size(), size));
    replace(name, bytes);
}

int linesWith(const std::string& text, std::initializer_list<const char*> parts) {
    std::istringstream in(text);
    int found = 0;
    for (std::string line; std::getline(in, line);) {
        bool all = true;
        for (const char* part : parts) {
            all = all && line.find(part) != std::string::npos;
        }
        found += all ? 1 : 0;
    }
    return found;
}
