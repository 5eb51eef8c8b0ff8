#pragma once

#include <cstdint>
#include <vector>

// The player's hold on show time. The timeline asks it, through the frame host, for each
// frame's time step; the clock answers with the real time that passed, nothing while paused,
// or short fixed steps while it catches up with a seek. Show time is never wound back: a seek
// to an earlier time asks for the show to be played again from its start, and the frames up
// to the target are stepped through without being drawn, which leaves them exactly as the
// show would have them.
class PlayerClock {
public:
    // The time step while catching up with a seek: the show's own frame rate, so that the
    // animation passes through the same poses it would when played.
    static constexpr double kCatchUpStep = 1.0 / 60.0;
    // A real frame longer than this counts as this long, as it does in the show.
    static constexpr double kLongestStep = 0.1;

    // `segmentDurations` in show order; the show lasts their sum.
    explicit PlayerClock(std::vector<double> segmentDurations);
    // Another show's segments (a show file read again): the show's time, a seek's target and
    // the loop are kept where the new length allows.
    void setSegments(const std::vector<double>& segmentDurations);
    const std::vector<double>& segmentStarts() const { return m_segmentStarts; }

    // The timeline's side.
    // The tick counter the timeline reads, in microseconds. Its first read after
    // startCounter() (which the timeline's query of the frequency stands for) starts the
    // timeline's clock and takes no step; every later read takes nextStep(realSeconds).
    static constexpr int64_t kTicksPerSecond = 1000000;
    void startCounter() { m_counterStarting = true; }
    int64_t readCounter(double realSeconds);
    // A new run of the show begins at time 0.
    void restarted();
    // The timeline gives the next segment the step that ended the previous one.
    void segmentStarting(int index);
    // The step the timeline takes next, given the real time since the last frame; show time
    // moves by it.
    double nextStep(double realSeconds);
    // False while the frame about to be drawn lies short of a seek's target.
    bool drawsNextFrame() const { return !catchingUp(); }
    // True once a seek went back in time: the run must end and the show start again.
    bool restartWanted() const { return m_restartWanted; }

    // The player's side.
    void seekTo(double seconds);
    void seekBy(double seconds);
    // Plays the show again from its start up to where it is now, without moving it: after
    // anything that put the show's state out of step with its time (a scene reloaded, a
    // camera's track advanced beside the script's).
    void replay();
    void setPaused(bool paused) { m_paused = paused; }
    bool paused() const { return m_paused; }
    // Plays [from, to) over and over; an empty or inverted range is refused.
    bool setLoop(double from, double to);
    void clearLoop() { m_looping = false; }
    bool looping() const { return m_looping; }
    double loopFrom() const { return m_loopFrom; }
    double loopTo() const { return m_loopTo; }
    // The show ran to its end: it starts again from the loop's start, or from 0.
    void showEnded();

    double length() const { return m_length; }
    // Where the show is; while catching up or waiting to start again, where it is going.
    double position() const { return catchingUp() || m_restartWanted ? m_target : m_position; }
    // Where the timeline really is, which is behind position() while catching up.
    double playedPosition() const { return m_position; }
    int segment() const { return m_segment; }
    bool catchingUp() const { return m_target > m_position + kTolerance; }
    // Counts the seeks made: whoever follows the show (the music) compares it with the count
    // it last saw to learn that it must jump.
    uint64_t seekCount() const { return m_seeks; }

private:
    static constexpr double kTolerance = 1e-6;

    std::vector<double> m_segmentStarts;
    double m_length = 0.0;
    int m_segment = 0;
    double m_segmentElapsed = 0.0;
    double m_position = 0.0;
    double m_target = 0.0;
    double m_lastStep = 0.0;
    bool m_paused = false;
    bool m_restartWanted = false;
    bool m_looping = false;
    double m_loopFrom = 0.0;
    double m_loopTo = 0.0;
    uint64_t m_seeks = 0;
    int64_t m_ticks = 0;
    bool m_counterStarting = false;
};
