#pragma once

namespace tarnelix::d3d9 {

// Keeps freed heap memory in the process instead of handing it back to the kernel.
//
// A software OpenGL driver allocates and frees buffers of hundreds of kilobytes for every draw
// (transformed vertices, binned triangles). With glibc's defaults each free that leaves the top
// of the heap large gives it back to the kernel, and the next draw faults the same pages in
// again, zeroed: about a sixth of a frame's CPU time in the show. Windows' heap keeps such memory,
// so this only restores what the device's callers would expect of an allocator. Applied once, at
// the first device creation; a no-op where the C library is not glibc.
void keepFreedHeapMemory();

} // namespace tarnelix::d3d9
