#include "app/capture/CaptureHost.h"

#include "app/MessagePump.h"

CaptureHost::CaptureHost(Device& device, int fps, const FrameSchedule& schedule, FrameSink* sink,
                         FrameStats* stats)
    : m_device(device), m_fps(fps), m_schedule(schedule), m_sink(sink), m_stats(stats),
      m_lastPresent(std::chrono::steady_clock::now()) {}

bool CaptureHost::pumpMessage() {
    return !m_done && ::pumpMessage();
}

void CaptureHost::present() {
    const int64_t frame = m_shown++;
    if (frame < m_schedule.firstDrawn()) {
        return; // stepped through, not drawn: nothing to show, write or time
    }
    if (m_sink && m_schedule.wanted(frame) && !m_done) {
        const uint8_t* rgb = m_device.readFrame();
        if (!rgb) {
            m_error = "cannot read the back buffer";
        } else if (m_sink->write(frame, rgb, m_error)) {
            ++m_written;
        }
        m_done = failed();
    }
    m_device.presentFrame();
    if (m_stats) {
        // The warm-up frames before --from are not what was asked about.
        auto now = std::chrono::steady_clock::now();
        if (m_schedule.wanted(frame)) {
            m_stats->add(m_segment, std::chrono::duration<double>(now - m_lastPresent).count(),
                         m_device.lastFrameLoad());
        }
        m_lastPresent = now;
    }
    if (m_schedule.finishedAfter(frame)) {
        m_done = true;
    }
    if (onFrame) {
        onFrame(onFrameUser, m_schedule.secondsOf(frame));
    }
}

bool CaptureHost::queryFrequency(int64_t& ticksPerSecond) {
    ticksPerSecond = m_fps;
    return true;
}

bool CaptureHost::queryCounter(int64_t& ticks) {
    ticks = m_ticks++;
    return true;
}
