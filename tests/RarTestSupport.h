#pragma once

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// The shared real-world test archives, used in place.
std::string rarTestData(const std::string& relative);
std::string readWholeFile(const std::string& path);
// `bytes` with `with` written over it from `offset` on.
std::string patched(std::string bytes, size_t offset, const std::string& with);

struct Extraction {
    bool ok = false;
    std::string bytes;
};

// Extracts through the public entry point and checks its failure contract on the way.
Extraction extract(const std::string& archive, const std::string& entry,
                   const char* password = nullptr);

// One row of the archives' MANIFEST.tsv, its entry name unescaped to the stored bytes.
struct ManifestRow {
    std::string file;
    std::string entry;
    int unpackVersion = 0;
    uint32_t unpackedSize = 0;
    uint32_t crc = 0;
    bool encrypted = false;
};
std::vector<ManifestRow> readManifest();

// Points the debug log at a fresh temporary directory for the test's lifetime; the archives a
// test writes go there too.
class RarLogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string log() const { return readWholeFile(m_dir.file("debug_rar.txt")); }
    std::string write(const std::string& name, const std::string& bytes) const {
        return m_dir.write(name, bytes);
    }

    TempDir m_dir;

private:
    std::string m_oldTmp;
    bool m_hadTmp = false;
};
