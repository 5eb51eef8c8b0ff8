#pragma once

#include "app/FrameHost.h"
#include "app/capture/FrameSchedule.h"
#include "app/capture/FrameStats.h"

#include <chrono>
#include <cstdint>
#include <string>

// Where a captured frame goes (a PNG file, numbered PNGs, the video encoder).
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual bool write(int64_t frame, const uint8_t* rgb, std::string& error) = 0;
};

// The timeline's surroundings for a headless capture: a counter that advances exactly one frame
// per read, and a present that first hands the frame to the sink when the schedule wants it.
// The run is ended, through the message pump, once no later frame is wanted or a write failed.
class CaptureHost : public FrameHost {
public:
    // `readFrame` gives the back buffer as RGB (null when it cannot); `presentFrame` shows it.
    struct Device {
        virtual ~Device() = default;
        virtual const uint8_t* readFrame() = 0;
        virtual void presentFrame() = 0;
        // What the last frame drawn asked of the device, where the device knows.
        virtual FrameLoad lastFrameLoad() const { return FrameLoad(); }
    };

    CaptureHost(Device& device, int fps, const FrameSchedule& schedule, FrameSink* sink,
                FrameStats* stats);

    bool pumpMessage() override;
    bool drawsNextFrame() override { return !m_done && m_shown >= m_schedule.firstDrawn(); }
    void present() override;
    bool queryFrequency(int64_t& ticksPerSecond) override;
    bool queryCounter(int64_t& ticks) override;
    void segmentStarting(int index) override { m_segment = index; }

    // Frames presented, drawn or stepped through.
    int64_t framesShown() const { return m_shown; }
    int64_t framesWritten() const { return m_written; }
    bool failed() const { return !m_error.empty(); }
    const std::string& error() const { return m_error; }
    // Called after every frame shown with its show time in seconds.
    void (*onFrame)(void* user, double seconds) = nullptr;
    void* onFrameUser = nullptr;

private:
    Device& m_device;
    int m_fps;
    const FrameSchedule& m_schedule;
    FrameSink* m_sink;
    FrameStats* m_stats;
    int m_segment = -1;
    int64_t m_ticks = 0;
    int64_t m_shown = 0;
    int64_t m_written = 0;
    bool m_done = false;
    std::string m_error;
    std::chrono::steady_clock::time_point m_lastPresent;
};
