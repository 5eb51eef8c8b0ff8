#pragma once

#include <cstdint>

// Extracts the entry `entryName` of the RAR archive `archiveName` into a block from the C heap
// (release it with free) of exactly the entry's unpacked size. `password` may be null. Returns
// non-zero on success; on failure `*output` is null and `*size` is 0.
int extractFromArchive(uint8_t** output, uint32_t* size, const char* entryName,
                       const char* archiveName, const char* password);
