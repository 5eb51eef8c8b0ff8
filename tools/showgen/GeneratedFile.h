#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace showgen {

// One file of the show's data directory, held in memory until it is written.
struct GeneratedFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

} // namespace showgen
