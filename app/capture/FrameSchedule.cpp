#include "app/capture/FrameSchedule.h"

#include <algorithm>
#include <cmath>

FrameSchedule::FrameSchedule(const CaptureOptions& options) : m_fps(options.fps) {
    using Mode = CaptureOptions::Mode;
    if (options.mode == Mode::Still) {
        // The frame on screen at that moment: the last one shown at or before it.
        m_first = m_last = static_cast<int64_t>(std::floor(options.at * m_fps + 1e-6));
    } else {
        m_first = static_cast<int64_t>(std::ceil(options.from * m_fps - 1e-6));
        if (options.to >= 0.0) {
            m_last = static_cast<int64_t>(std::floor(options.to * m_fps + 1e-6));
        }
    }
    // No picture depends on an earlier one, so a seek needs no frames drawn before the target.
    // A benchmark draws one second ahead all the same, so that what a first frame pays once
    // (programs translated by the driver, textures uploaded) is not timed as the stretch.
    const int64_t warmUp = options.mode == Mode::Benchmark ? options.fps : 0;
    m_firstDrawn = options.seek ? std::max<int64_t>(0, m_first - warmUp) : 0;
}
