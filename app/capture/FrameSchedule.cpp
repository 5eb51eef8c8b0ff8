#include "app/capture/FrameSchedule.h"

#include <cmath>

FrameSchedule::FrameSchedule(const CaptureOptions& options) : m_fps(options.fps) {
    using Mode = CaptureOptions::Mode;
    if (options.mode == Mode::Still) {
        // The frame on screen at that moment: the last one shown at or before it.
        m_first = m_last = static_cast<int64_t>(std::floor(options.at * m_fps + 1e-6));
        return;
    }
    m_first = static_cast<int64_t>(std::ceil(options.from * m_fps - 1e-6));
    if (options.to >= 0.0) {
        m_last = static_cast<int64_t>(std::floor(options.to * m_fps + 1e-6));
    }
}
