#include "app/player/PlayerClock.h"

#include <algorithm>
#include <cmath>

PlayerClock::PlayerClock(std::vector<double> segmentDurations) {
    setSegments(segmentDurations);
}

void PlayerClock::setSegments(const std::vector<double>& segmentDurations) {
    m_segmentStarts.clear();
    m_length = 0.0;
    for (double duration : segmentDurations) {
        m_segmentStarts.push_back(m_length);
        m_length += duration;
    }
    const double last = std::max(0.0, m_length - kCatchUpStep);
    m_target = std::min(m_target, last);
    m_position = std::min(m_position, last);
    if (m_looping && !setLoop(m_loopFrom, std::min(m_loopTo, m_length))) {
        m_looping = false;
    }
}

int64_t PlayerClock::readCounter(double realSeconds) {
    if (m_counterStarting) {
        m_counterStarting = false;
    } else {
        m_ticks += std::llround(nextStep(realSeconds) * static_cast<double>(kTicksPerSecond));
    }
    return m_ticks;
}

void PlayerClock::restarted() {
    m_restartWanted = false;
    m_segment = 0;
    m_segmentElapsed = 0.0;
    m_position = 0.0;
    m_lastStep = 0.0;
}

void PlayerClock::segmentStarting(int index) {
    m_segment = index;
    // The first step of a segment is the one the previous segment could not take.
    m_segmentElapsed = index == 0 ? 0.0 : m_lastStep;
    const double start = index >= 0 && static_cast<size_t>(index) < m_segmentStarts.size()
                             ? m_segmentStarts[static_cast<size_t>(index)]
                             : m_length;
    m_position = start + m_segmentElapsed;
}

double PlayerClock::nextStep(double realSeconds) {
    double step = 0.0;
    if (catchingUp()) {
        step = std::min(kCatchUpStep, m_target - m_position);
    } else if (!m_paused && !m_restartWanted) {
        step = std::clamp(realSeconds, 0.0, kLongestStep);
        if (m_looping && m_position + step >= m_loopTo) {
            seekTo(m_loopFrom);
            return 0.0;
        }
    }
    const bool wasCatchingUp = catchingUp();
    m_lastStep = step;
    m_segmentElapsed += step;
    m_position += step;
    if (wasCatchingUp && !catchingUp()) {
        m_position = std::max(m_position, m_target); // arrived: no rounding left over
    }
    if (!catchingUp() && !m_restartWanted) {
        m_target = m_position;
    }
    return step;
}

void PlayerClock::seekTo(double seconds) {
    // Not quite the end: a target there would end the show and start it again at once.
    const double target = std::clamp(seconds, 0.0, std::max(0.0, m_length - kCatchUpStep));
    ++m_seeks;
    if (target + kTolerance < m_position) {
        m_restartWanted = true;
    }
    m_target = target;
}

void PlayerClock::seekBy(double seconds) {
    seekTo(position() + seconds);
}

void PlayerClock::replay() {
    m_target = position();
    m_restartWanted = true;
}

bool PlayerClock::setLoop(double from, double to) {
    from = std::clamp(from, 0.0, m_length);
    to = std::clamp(to, 0.0, m_length);
    if (!(to > from)) {
        return false;
    }
    m_looping = true;
    m_loopFrom = from;
    m_loopTo = to;
    return true;
}

void PlayerClock::showEnded() {
    m_position = m_length;
    seekTo(m_looping ? m_loopFrom : 0.0);
}
