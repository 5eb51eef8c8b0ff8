#pragma once

#include <string>

// A fresh directory under the system's temporary folder, removed with everything in it when the
// object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }
    // Writes `bytes` to the named file and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};
