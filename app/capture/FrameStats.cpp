#include "app/capture/FrameStats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

void FrameStats::add(int segment, double seconds) {
    if (segment < 0) {
        return;
    }
    if (static_cast<size_t>(segment) >= m_times.size()) {
        m_times.resize(static_cast<size_t>(segment) + 1);
    }
    m_times[static_cast<size_t>(segment)].push_back(seconds);
}

FrameStats::Summary FrameStats::summarise(int segment, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    Summary s{segment, times.size(), 0.0, 0.0, 0.0};
    if (times.empty()) {
        return s;
    }
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
    std::vector<double> all;
    for (size_t i = 0; i < m_times.size(); ++i) {
        if (!m_times[i].empty()) {
            out.push_back(summarise(static_cast<int>(i), m_times[i]));
            all.insert(all.end(), m_times[i].begin(), m_times[i].end());
        }
    }
    out.push_back(summarise(-1, all));
    return out;
}

std::string FrameStats::report() const {
    std::string text = "segment   frames  median ms  p95 ms    fps\n";
    char line[128];
    for (const Summary& s : summarise()) {
        char name[16];
        if (s.segment < 0) {
            std::snprintf(name, sizeof(name), "all");
        } else {
            std::snprintf(name, sizeof(name), "%d", s.segment + 1);
        }
        std::snprintf(line, sizeof(line), "%-8s %7zu %10.2f %7.2f %6.1f\n", name, s.frames,
                      s.medianMs, s.p95Ms, s.fps);
        text += line;
    }
    return text;
}
