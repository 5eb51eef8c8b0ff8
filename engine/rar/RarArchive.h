#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Extracts the entry `entryName` of the RAR archive `archiveName` into a block from the C heap
// (release it with free) of exactly the entry's unpacked size. `password` may be null. Returns
// non-zero on success; on failure `*output` is null and `*size` is 0.
int extractFromArchive(uint8_t** output, uint32_t* size, const char* entryName,
                       const char* archiveName, const char* password);

// One file entry of an archive as its header describes it.
struct RarEntryInfo {
    std::string name; // as stored, backslashes and all, cut at the first zero byte
    uint32_t packedSize = 0;
    uint32_t unpackedSize = 0;
    uint32_t crc32 = 0;
    uint8_t unpackVersion = 0;
    uint8_t method = 0;
    uint16_t flags = 0;
};

// Lists every file entry of an archive. Returns false, with `error` set, when the file is not
// a readable RAR archive or a header is damaged; the entries read until then are kept.
bool listRarArchive(const char* archiveName, std::vector<RarEntryInfo>& entries,
                    std::string& error);

// True when an asked-for entry name selects a stored one: slashes and backslashes are alike,
// and so are upper and lower case letters a to z.
bool rarEntryNamesMatch(const char* wanted, const char* stored);
