#pragma once

#include <cstdint>

// What the timeline needs from around it each frame: a window message handled, the previous
// frame shown, and a tick counter. The program answers with the message queue, the display and
// the high-resolution counter; the capture tool with a fixed time step and a read-back of every
// frame it shows.
class FrameHost {
public:
    virtual ~FrameHost() = default;
    // Handles at most one waiting window message; false when the quit message was taken.
    virtual bool pumpMessage() = 0;
    // Shows the frame drawn by the last step.
    virtual void present() = 0;
    // Ticks per second; false when there is no counter.
    virtual bool queryFrequency(int64_t& ticksPerSecond) = 0;
    virtual bool queryCounter(int64_t& ticks) = 0;
    // False for a frame nobody will see: the timeline then steps the show's state through it
    // (segment clocks, animation tracks, the engine's frame count) without drawing, which leaves
    // every later frame exactly as if it had been drawn. The program draws every frame.
    virtual bool drawsNextFrame() { return true; }
    // Called before segment `index` (0-based in the table) is set up.
    virtual void segmentStarting(int index) { (void)index; }
};
