#pragma once

#include "app/capture/CaptureOptions.h"

#include <cstdint>

// Which frames of the fixed-rate timeline the capture writes. Frame k is shown at k / fps
// seconds of show time; frame 0 is the first one drawn.
class FrameSchedule {
public:
    explicit FrameSchedule(const CaptureOptions& options);

    bool wanted(int64_t frame) const { return frame >= m_first && (m_last < 0 || frame <= m_last); }
    // True once no later frame is wanted: the run can stop.
    bool finishedAfter(int64_t frame) const { return m_last >= 0 && frame >= m_last; }
    int64_t firstFrame() const { return m_first; }
    // The first frame drawn at all: the frames before it are only stepped through. A seek
    // draws from the first wanted frame, or a second before it for a benchmark; --no-seek
    // draws from frame 0.
    int64_t firstDrawn() const { return m_firstDrawn; }
    // The last wanted frame, or -1 for the end of the show.
    int64_t lastFrame() const { return m_last; }
    double secondsOf(int64_t frame) const { return static_cast<double>(frame) / m_fps; }

private:
    int64_t m_first = 0;
    int64_t m_last = -1;
    int64_t m_firstDrawn = 0;
    double m_fps = 60.0;
};
