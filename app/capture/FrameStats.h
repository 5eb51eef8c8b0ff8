#pragma once

#include <string>
#include <vector>

// Frame times of a benchmark run, kept per segment of the show.
class FrameStats {
public:
    void add(int segment, double seconds);

    struct Summary {
        int segment;
        size_t frames;
        double medianMs;
        double p95Ms;
        double fps; // from the median
    };
    // One summary per segment that has frames, in segment order, and one for all (segment -1).
    std::vector<Summary> summarise() const;
    // The summaries as a table for a terminal.
    std::string report() const;

private:
    static Summary summarise(int segment, std::vector<double> times);
    std::vector<std::vector<double>> m_times;
};
