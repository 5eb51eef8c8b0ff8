#pragma once

// Unsupported states, formats and calls are refused with one clear message each, never silently
// drawn wrong.

#include <cstdint>

namespace tarnelix::d3d9 {

// Prints "tarnelix d3d9: <what> <value> is not supported" on stderr the first time this pair
// is seen.
void refuseOnce(const char* what, uint32_t value);

// The number of distinct refusals so far (for tests).
int refusalCount();

} // namespace tarnelix::d3d9
