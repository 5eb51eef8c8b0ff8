#include "FakeShow.h"

#include "app/Timeline.h"
#include "app/player/PlayerClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<double> showDurations() {
    std::vector<double> durations;
    for (const SegmentPlan& plan : kShowSegments) {
        durations.push_back(plan.duration);
    }
    return durations;
}

// Takes steps of `real` seconds until the clock stops catching up; the number of steps.
int stepUntilCaughtUp(PlayerClock& clock, double real = 0.0) {
    int steps = 0;
    while (clock.catchingUp() && steps < 100000) {
        clock.nextStep(real);
        ++steps;
    }
    return steps;
}

} // namespace

TEST(PlayerClockTest, PlayingStepsByRealTimeCappedAsTheShowDoesAndPausedNotAtAll) {
    PlayerClock clock({10.0, 20.0});
    EXPECT_DOUBLE_EQ(clock.length(), 30.0);
    EXPECT_DOUBLE_EQ(clock.nextStep(0.02), 0.02);
    EXPECT_DOUBLE_EQ(clock.nextStep(0.5), PlayerClock::kLongestStep);
    EXPECT_DOUBLE_EQ(clock.nextStep(-1.0), 0.0);
    EXPECT_NEAR(clock.position(), 0.12, 1e-12);
    clock.setPaused(true);
    EXPECT_DOUBLE_EQ(clock.nextStep(0.02), 0.0);
    EXPECT_NEAR(clock.position(), 0.12, 1e-12);
    EXPECT_TRUE(clock.drawsNextFrame()) << "a paused show is still drawn";
}

TEST(PlayerClockTest, SeekForwardStepsThroughInSixtiethsAndDrawsOnlyTheTarget) {
    PlayerClock clock({10.0, 20.0});
    clock.setPaused(true); // catching up does not wait for play
    clock.seekTo(1.005);
    EXPECT_FALSE(clock.restartWanted());
    EXPECT_DOUBLE_EQ(clock.position(), 1.005) << "the target, while on the way";
    EXPECT_FALSE(clock.drawsNextFrame());
    int drawn = 0;
    int steps = 0;
    while (clock.catchingUp()) {
        EXPECT_LE(clock.nextStep(1.0), PlayerClock::kCatchUpStep + 1e-12);
        drawn += clock.drawsNextFrame() ? 1 : 0;
        ++steps;
    }
    EXPECT_EQ(steps, 61) << "sixty whole steps and the remainder";
    EXPECT_EQ(drawn, 1);
    EXPECT_NEAR(clock.playedPosition(), 1.005, 1e-9);
}

TEST(PlayerClockTest, SeekBackAsksForARestartThenCatchesUpFromZero) {
    PlayerClock clock({10.0, 20.0});
    clock.seekTo(12.0);
    stepUntilCaughtUp(clock);
    const uint64_t seeks = clock.seekCount();
    clock.seekBy(-5.0);
    EXPECT_TRUE(clock.restartWanted());
    EXPECT_DOUBLE_EQ(clock.position(), 7.0) << "the music must hear the target at once";
    EXPECT_EQ(clock.seekCount(), seeks + 1);
    EXPECT_DOUBLE_EQ(clock.nextStep(0.05), 0.0) << "no time passes before the restart";
    clock.restarted();
    EXPECT_FALSE(clock.restartWanted());
    EXPECT_EQ(stepUntilCaughtUp(clock), 420);
    EXPECT_NEAR(clock.playedPosition(), 7.0, 1e-9);
}

TEST(PlayerClockTest, SeeksStayInsideTheShow) {
    PlayerClock clock({10.0, 20.0});
    clock.seekTo(-3.0);
    EXPECT_DOUBLE_EQ(clock.position(), 0.0);
    clock.seekBy(500.0);
    EXPECT_DOUBLE_EQ(clock.position(), 30.0 - PlayerClock::kCatchUpStep)
        << "the last frame, not the end that would start the show again";
}

TEST(PlayerClockTest, SegmentsStartWithTheStepTheLastOneCouldNotTake) {
    PlayerClock clock({1.0, 2.0, 3.0});
    clock.restarted();
    clock.segmentStarting(0);
    for (int i = 0; i < 11; ++i) {
        clock.nextStep(0.1);
    }
    clock.segmentStarting(1);
    EXPECT_EQ(clock.segment(), 1);
    EXPECT_NEAR(clock.position(), 1.1, 1e-9);
    clock.segmentStarting(2);
    EXPECT_NEAR(clock.position(), 3.1, 1e-9);
}

TEST(PlayerClockTest, LoopJumpsBackToItsStartAtItsEnd) {
    PlayerClock clock({10.0, 20.0});
    EXPECT_FALSE(clock.setLoop(5.0, 5.0));
    EXPECT_FALSE(clock.setLoop(6.0, 2.0));
    EXPECT_FALSE(clock.looping());
    ASSERT_TRUE(clock.setLoop(2.0, 2.45));
    clock.seekTo(2.0);
    stepUntilCaughtUp(clock);
    for (int i = 0; i < 4; ++i) {
        clock.nextStep(0.1);
    }
    EXPECT_FALSE(clock.restartWanted());
    EXPECT_DOUBLE_EQ(clock.nextStep(0.1), 0.0) << "the step that would reach the end";
    EXPECT_TRUE(clock.restartWanted());
    EXPECT_DOUBLE_EQ(clock.position(), 2.0);
    clock.clearLoop();
    EXPECT_FALSE(clock.looping());
}

TEST(PlayerClockTest, TheShowsEndStartsItAgainAtTheLoopOrAtZero) {
    PlayerClock clock({1.0});
    clock.showEnded();
    EXPECT_TRUE(clock.restartWanted());
    EXPECT_DOUBLE_EQ(clock.position(), 0.0);
    clock.restarted();
    clock.setLoop(0.25, 0.75);
    clock.showEnded();
    EXPECT_DOUBLE_EQ(clock.position(), 0.25);
}

TEST(PlayerClockTest, ReplayRestartsWithoutMovingTheShow) {
    PlayerClock clock({10.0});
    clock.seekTo(3.0);
    stepUntilCaughtUp(clock);
    const uint64_t seeks = clock.seekCount();
    clock.replay();
    EXPECT_TRUE(clock.restartWanted());
    EXPECT_EQ(clock.seekCount(), seeks) << "the music keeps playing where it is";
    clock.restarted();
    EXPECT_EQ(stepUntilCaughtUp(clock), 180);
}

// A show file read again may shorten the show under the clock.
TEST(PlayerClockTest, NewSegmentsKeepTheTimeAndTheLoopWhereTheyStillFit) {
    PlayerClock clock({10.0, 20.0});
    clock.seekTo(25.0);
    ASSERT_TRUE(clock.setLoop(5.0, 28.0));
    clock.setSegments({10.0, 5.0, 5.0});
    EXPECT_DOUBLE_EQ(clock.length(), 20.0);
    EXPECT_EQ(clock.segmentStarts(), (std::vector<double>{0.0, 10.0, 15.0}));
    EXPECT_LT(clock.position(), 20.0);
    EXPECT_TRUE(clock.looping());
    EXPECT_DOUBLE_EQ(clock.loopTo(), 20.0);
    clock.setSegments({4.0});
    EXPECT_FALSE(clock.looping()) << "a loop from 5 s has no room in 4 s";
}

TEST(PlayerClockTest, TheCounterStartsWithoutAStepThenCountsMicroseconds) {
    PlayerClock clock({10.0});
    clock.startCounter();
    EXPECT_EQ(clock.readCounter(5.0), 0);
    EXPECT_EQ(clock.readCounter(0.0125), 12500);
    EXPECT_EQ(clock.readCounter(0.0125), 25000);
}

// The show's real timeline driven by the clock, as the player drives it: the first frame it
// draws after a seek must be the one the show draws at that time.
namespace {

class ClockHost : public FrameHost {
public:
    ClockHost(PlayerClock& clock, std::vector<Call>& log) : m_clock(clock), m_log(log) {}
    bool pumpMessage() override { return !m_clock.restartWanted() && m_drawnFrames < m_stopAfter; }
    void present() override {}
    bool queryFrequency(int64_t& ticks) override {
        ticks = PlayerClock::kTicksPerSecond;
        m_clock.startCounter();
        return true;
    }
    bool queryCounter(int64_t& ticks) override {
        ticks = m_clock.readCounter(1.0 / 60.0);
        return true;
    }
    bool drawsNextFrame() override {
        const bool draws = m_clock.drawsNextFrame();
        if (draws) {
            ++m_drawnFrames;
            m_log.push_back({Call::Present}); // marks the frames drawn
        }
        return draws;
    }
    void segmentStarting(int index) override { m_clock.segmentStarting(index); }
    void stopAfter(int frames) {
        m_drawnFrames = 0;
        m_stopAfter = frames;
    }

private:
    PlayerClock& m_clock;
    std::vector<Call>& m_log;
    int m_drawnFrames = 0;
    int m_stopAfter = 1;
};

// The fade amount of the first frame drawn (a render call after a drawn-frame mark).
float firstDrawnFade(const std::vector<Call>& log) {
    bool marked = false;
    for (const Call& call : log) {
        if (call.kind == Call::Present) {
            marked = true;
        } else if (marked && call.kind == Call::Render) {
            return call.value;
        }
    }
    return -1.0f;
}

} // namespace

TEST(PlayerClockTest, TheTimelineDrawsTheSeekTargetForwardAndBack) {
    std::vector<Call> log;
    FakeEngine engine(&log);
    FakeScene scene{&log};
    FakeTextureCache textures;
    PlayerClock clock(showDurations());
    ClockHost host(clock, log);
    using Timeline = TimelineOf<FakeShow>;

    // 36 s is one second into the second camera segment, half-way through its fade-in.
    clock.seekTo(36.0);
    clock.restarted();
    Timeline(engine, scene, textures, host).run();
    EXPECT_EQ(clock.segment(), 2);
    EXPECT_NEAR(firstDrawnFade(log), 0.5f, 0.01f);

    // Back to 11 s, one second into the first camera segment: the show starts again and the
    // run draws that moment.
    log.clear();
    host.stopAfter(1);
    clock.seekTo(11.0);
    EXPECT_TRUE(clock.restartWanted());
    EXPECT_FALSE(host.pumpMessage()) << "the run in progress ends";
    clock.restarted();
    Timeline(engine, scene, textures, host).run();
    EXPECT_EQ(clock.segment(), 1);
    EXPECT_NEAR(firstDrawnFade(log), 0.5f, 0.01f);
    EXPECT_NEAR(clock.playedPosition(), 11.0, 1e-6);
}
