#include "app/capture/FrameStats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

void FrameStats::add(int segment, double seconds, FrameLoad load) {
    if (segment < 0) {
        return;
    }
    if (static_cast<size_t>(segment) >= m_frames.size()) {
        m_frames.resize(static_cast<size_t>(segment) + 1);
    }
    m_frames[static_cast<size_t>(segment)].push_back({seconds, load});
}

FrameStats::Summary FrameStats::summarise(int segment, const std::vector<Frame>& frames) {
    Summary s{segment, frames.size(), 0.0, 0.0, 0.0, FrameLoad()};
    if (frames.empty()) {
        return s;
    }
    std::vector<double> times;
    for (const Frame& frame : frames) {
        times.push_back(frame.seconds);
        s.meanLoad.drawCalls += frame.load.drawCalls / static_cast<double>(frames.size());
        s.meanLoad.triangles += frame.load.triangles / static_cast<double>(frames.size());
    }
    std::sort(times.begin(), times.end());
    // Nearest-rank percentiles.
    auto rank = [&](double p) {
        size_t index = static_cast<size_t>(std::ceil(p * static_cast<double>(times.size())));
        return times[std::min(times.size(), std::max<size_t>(index, 1)) - 1];
    };
    s.medianMs = rank(0.5) * 1000.0;
    s.p95Ms = rank(0.95) * 1000.0;
    s.fps = s.medianMs > 0.0 ? 1000.0 / s.medianMs : 0.0;
    return s;
}

std::vector<FrameStats::Summary> FrameStats::summarise() const {
    std::vector<Summary> out;
    std::vector<Frame> all;
    for (size_t i = 0; i < m_frames.size(); ++i) {
        if (!m_frames[i].empty()) {
            out.push_back(summarise(static_cast<int>(i), m_frames[i]));
            all.insert(all.end(), m_frames[i].begin(), m_frames[i].end());
        }
    }
    out.push_back(summarise(-1, all));
    return out;
}

std::string FrameStats::report() const {
    std::string text = "segment   frames  median ms  p95 ms    fps  draws/frame  triangles/frame\n";
    char line[128];
    for (const Summary& s : summarise()) {
        char name[16];
        if (s.segment < 0) {
            std::snprintf(name, sizeof(name), "all");
        } else {
            std::snprintf(name, sizeof(name), "%d", s.segment + 1);
        }
        std::snprintf(line, sizeof(line), "%-8s %7zu %10.2f %7.2f %6.1f %12.0f %16.0f\n", name,
                      s.frames, s.medianMs, s.p95Ms, s.fps, s.meanLoad.drawCalls,
                      s.meanLoad.triangles);
        text += line;
    }
    return text;
}
