#include "Refusal.h"

#include <cstdio>
#include <set>
#include <string>
#include <utility>

namespace tarnelix::d3d9 {

namespace {

std::set<std::pair<std::string, uint32_t>>& seen() {
    static std::set<std::pair<std::string, uint32_t>> pairs;
    return pairs;
}

} // namespace

void refuseOnce(const char* what, uint32_t value) {
    if (seen().insert({what, value}).second) {
        std::fprintf(stderr, "tarnelix d3d9: %s %u (0x%x) is not supported\n", what, value, value);
    }
}

int refusalCount() {
    return static_cast<int>(seen().size());
}

} // namespace tarnelix::d3d9
