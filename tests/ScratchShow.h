#pragma once

#include "TempDir.h"

#include <initializer_list>
#include <string>

// A scratch copy of the show's folder, made of links to its files, in which a test replaces or
// removes files to damage the show without touching the original.
class ScratchShow {
public:
    explicit ScratchShow(const std::string& showDir);

    const std::string& path() const { return m_path; }
    // A folder beside the show for what a test writes.
    std::string output(const std::string& name) const { return m_dir.file(name); }

    void remove(const std::string& name) const;
    void replace(const std::string& name, const std::string& bytes) const;
    // Keeps only the first `size` bytes of the show's file.
    void truncate(const std::string& name, size_t size) const;

private:
    TempDir m_dir;
    std::string m_showDir;
    std::string m_path;
};

// How many lines of `text` (a program's messages) hold all of `parts`.
int linesWith(const std::string& text, std::initializer_list<const char*> parts);
