#pragma once

#include "engine/rar/RarHeaders.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rar {

// One volume's share of an entry's packed data.
struct EntryPart {
    std::string volume;
    int64_t dataPosition = 0;
    uint32_t packedSize = 0;
    // With `continues` set the entry goes on in the next volume, and `packedCrc` is the CRC-32
    // of this part's packed bytes only.
    uint32_t packedCrc = 0;
    bool continues = false;
};

// All the parts of one entry, in volume order; an entry of a single archive has one.
struct EntryParts {
    std::vector<EntryPart> list;
    uint64_t packedSize = 0;
    // The last part's header: its CRC-32 is the one of the whole unpacked entry.
    FileHeader last;
    bool dataInsideVolumes = true;
    bool headersIntact = true;
};

} // namespace rar
