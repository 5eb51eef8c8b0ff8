// The libFuzzer entry of every fuzz target: the build names the target's check from
// FuzzInputs.h in FUZZ_CHECK.
#include "FuzzInputs.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (const char* broken = FUZZ_CHECK(data, size)) {
        std::fprintf(stderr, "broken promise: %s\n", broken);
        std::abort();
    }
    return 0;
}
