#pragma once

#include <cstdint>

// What one frame asked of the device: its draw calls and the triangles they submitted, before
// the device clips or culls any. The benchmark reports them beside the frame times.
struct FrameStatistics {
    uint32_t drawCalls = 0;
    uint32_t triangles = 0;

    void addDraw(uint32_t triangleCount) {
        ++drawCalls;
        triangles += triangleCount;
    }
};
