#include "engine/rar/RarArchive.h"

#include <cstddef>

// No decoder is built in yet: every extraction fails cleanly.
int extractFromArchive(uint8_t** output, uint32_t* size, const char*, const char*, const char*) {
    if (output != nullptr) {
        *output = nullptr;
    }
    if (size != nullptr) {
        *size = 0;
    }
    return 0;
}
