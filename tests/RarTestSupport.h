#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The shared real-world test archives, used in place.
std::string rarTestData(const std::string& relative);
std::string readWholeFile(const std::string& path);

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
