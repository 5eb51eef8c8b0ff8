#pragma once

#include <string>
#include <vector>

// What the device was asked to draw for one frame.
struct FrameLoad {
    double drawCalls = 0.0;
    double triangles = 0.0;
};

// Frame times of a benchmark run, with each frame's load, kept per segment of the show.
class FrameStats {
public:
    void add(int segment, double seconds, FrameLoad load = FrameLoad());

    struct Summary {
        int segment;
        size_t frames;
        double medianMs;
        double p95Ms;
        double fps;         // from the median
        FrameLoad meanLoad; // per frame
    };
    // One summary per segment that has frames, in segment order, and one for all (segment -1).
    std::vector<Summary> summarise() const;
    // The summaries as a table for a terminal.
    std::string report() const;

private:
    struct Frame {
        double seconds;
        FrameLoad load;
    };
    static Summary summarise(int segment, const std::vector<Frame>& frames);
    std::vector<std::vector<Frame>> m_frames;
};
