#pragma once

#include <cstddef>

// Counts the heap allocations made by the program's own code (the executable's statically
// linked engine and device stand-in), not those of shared libraries such as the GL driver.
// Counting runs only between start and stop.
namespace counting_allocator {

void start();
void stop();
size_t allocations();
// Prints the functions that allocated while counting, most frequent first.
void printCallers(int limit);

} // namespace counting_allocator
