#include "FakeShow.h"

#include "app/MessagePump.h"
#include "app/Timeline.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Timeline = TimelineOf<FakeShow>;

// A counter of 1000 ticks per second whose steps come from a script, then repeat the last one.
class ScriptedHost : public FrameHost {
public:
    explicit ScriptedHost(std::vector<Call>& log) : m_log(log) {}

    std::vector<int64_t> steps{16};
    // Answers of pumpMessage; true once the script runs out.
    std::function<bool()> pump = [] { return true; };

    bool pumpMessage() override { return pump(); }
    void present() override { m_log.push_back({Call::Present}); }
    bool queryFrequency(int64_t& ticks) override {
        ticks = 1000;
        return true;
    }
    bool queryCounter(int64_t& ticks) override {
        if (m_reads > 0) {
            size_t i = std::min(static_cast<size_t>(m_reads - 1), steps.size() - 1);
            m_now += steps[i];
        }
        ++m_reads;
        ticks = m_now;
        return true;
    }
    void segmentStarting(int index) override {
        m_log.push_back({Call::Segment, static_cast<float>(index)});
        currentSegment = index;
    }

    int currentSegment = -1;

private:
    std::vector<Call>& m_log;
    int64_t m_now = 5000;
    int m_reads = 0;
};

class TimelineTest : public ::testing::Test {
protected:
    void play() {
        Timeline timeline(engine, scene, textures, host);
        timeline.run();
    }

    // The calls made while segment `index` ran.
    std::vector<Call> segment(int index) const {
        std::vector<Call> out;
        int current = -1;
        for (const Call& c : log) {
            if (c.kind == Call::Segment) {
                current = static_cast<int>(c.value);
            } else if (current == index) {
                out.push_back(c);
            }
        }
        return out;
    }

    static std::vector<Call> only(const std::vector<Call>& calls, Call::Kind kind) {
        std::vector<Call> out;
        for (const Call& c : calls) {
            if (c.kind == kind) {
                out.push_back(c);
            }
        }
        return out;
    }

    std::vector<Call> log;
    FakeEngine engine{&log};
    FakeScene scene{&log};
    FakeTextureCache textures;
    ScriptedHost host{log};
};

TEST_F(TimelineTest, PlaysTheFiveSegmentsInOrderForAbout140Seconds) {
    host.steps = {20};
    play();
    ASSERT_EQ(log.front().kind, Call::Load);
    EXPECT_EQ(log.front().text, "teste5.3df");
    EXPECT_EQ(only(log, Call::Segment).size(), 5u);
    EXPECT_EQ(only(segment(0), Call::Sprite).front().text, "intro.jpg");
    EXPECT_EQ(only(segment(4), Call::Sprite).front().text, "extro.jpg");
    EXPECT_EQ(only(segment(1), Call::Camera).front().text, "Camera01");
    EXPECT_EQ(only(segment(2), Call::Camera).front().text, "Camera02");
    EXPECT_EQ(only(segment(3), Call::Camera).front().text, "Camera03");
    EXPECT_EQ(only(log, Call::Rewind).size(), 2u);
    EXPECT_TRUE(only(segment(1), Call::Rewind).empty());
    EXPECT_EQ(only(segment(2), Call::Rewind).size(), 1u);
    EXPECT_EQ(engine.backgroundColour, Vec4(0.7f, 0.9f, 0.9f, 1.0f));
    EXPECT_EQ(engine.ambientColour, Vec4(0.275f, 0.275f, 0.275f, 1.0f));
    // One present per drawn frame: each is shown at the top of the next iteration.
    EXPECT_EQ(only(log, Call::Present).size(), only(log, Call::Render).size());
    double frames = static_cast<double>(only(log, Call::Render).size());
    EXPECT_NEAR(frames * 0.02, 140.0, 0.5);
}

// Another script: its scene, colours and segments; a camera segment without a start goes on
// where the scene was left, one with a start rewinds and jumps there.
TEST_F(TimelineTest, PlaysAnotherScriptAndRewindsOnlyWhereASegmentStarts) {
    ShowScript script;
    script.scene = "garden.3df";
    script.background = Vec4(0.1f, 0.2f, 0.3f, 1.0f);
    script.ambient = Vec4(0.5f, 0.5f, 0.5f, 1.0f);
    const auto camera = [](const char* name, bool rewinds, float start) {
        ShowSegment s;
        s.kind = ShowSegment::Kind::Camera;
        s.content = name;
        s.duration = 1.0f;
        s.rewinds = rewinds;
        s.startTime = start;
        return s;
    };
    script.segments = {camera("A", true, 0.0f), camera("B", false, 0.0f), camera("C", true, 7.5f)};
    host.steps = {100};
    Timeline timeline(engine, scene, textures, host, script);
    timeline.run();
    EXPECT_EQ(log.front().text, "garden.3df");
    EXPECT_EQ(only(log, Call::Segment).size(), 3u);
    EXPECT_TRUE(only(segment(1), Call::Rewind).empty()) << "B goes on from A";
    EXPECT_EQ(only(segment(1), Call::Camera).front().value, 0.0f) << "and jumps nowhere";
    ASSERT_EQ(only(segment(2), Call::Rewind).size(), 1u);
    EXPECT_EQ(only(segment(2), Call::Camera).front().value, 7.5f);
    EXPECT_EQ(engine.backgroundColour, script.background);
    EXPECT_EQ(engine.ambientColour, script.ambient);
}

TEST_F(TimelineTest, SplashStartsBlackFadesInStandsAndFadesOut) {
    host.steps = {500, 100};
    play();
    // The first 0.5 s frame counts as 0.1 s; so do the later ones of exactly 0.1 s.
    std::vector<Call> renders = only(segment(0), Call::Render);
    ASSERT_EQ(renders.size(), 100u) << "frames at 0, 0.1, ... 9.9 s; 10.0 is not past 10";
    // The first frame is black with no time elapsed, drawn before anything is presented.
    EXPECT_EQ(renders[0].value, 1.0f);
    EXPECT_EQ(renders[0].colour, Vec4(0, 0, 0, 1));
    EXPECT_EQ(segment(0)[0].kind, Call::Sprite);
    EXPECT_EQ(segment(0)[1].kind, Call::Render);
    EXPECT_EQ(segment(0)[2].kind, Call::Present);
    EXPECT_FLOAT_EQ(renders[1].value, 1.0f - 0.1f / 4.0f);
    EXPECT_FLOAT_EQ(renders[50].value, 0.0f);
    EXPECT_NEAR(renders[80].value, 0.5f, 1e-4);
}

TEST_F(TimelineTest, LaterSegmentsStartWithThePreviousFrameTime) {
    host.steps = {50};
    play();
    // The camera segment's first step already counts 0.05 s, so its second is at 0.1 s.
    std::vector<Call> renders = only(segment(1), Call::Render);
    ASSERT_GE(renders.size(), 2u);
    EXPECT_FLOAT_EQ(renders[1].value, 1.0f - 0.1f / 2.0f);
    std::vector<Call> closing = only(segment(4), Call::Render);
    ASSERT_GE(closing.size(), 1u);
    EXPECT_FLOAT_EQ(closing[0].value, 1.0f - 0.05f / 4.0f);
}

TEST_F(TimelineTest, CameraFirstFramesAreBlackAndJumpByTheStartTime) {
    play();
    const float startTimes[] = {0.0f, 25.0f, 0.0f};
    for (int s = 1; s <= 3; ++s) {
        std::vector<Call> calls = segment(s);
        size_t first = s == 1 ? 0 : 1; // after the rewind
        ASSERT_GT(calls.size(), first + 4);
        EXPECT_EQ(calls[first].kind, Call::Camera);
        EXPECT_EQ(calls[first].value, startTimes[s - 1]) << s;
        EXPECT_FLOAT_EQ(calls[first].aspect, 1024.0f / 768.0f);
        EXPECT_EQ(calls[first + 1].kind, Call::Lights);
        EXPECT_EQ(calls[first + 1].value, startTimes[s - 1]);
        EXPECT_EQ(calls[first + 2].kind, Call::Objects);
        EXPECT_EQ(calls[first + 2].value, startTimes[s - 1]);
        EXPECT_EQ(calls[first + 3].kind, Call::Render);
        EXPECT_EQ(calls[first + 3].value, 1.0f);
        EXPECT_EQ(calls[first + 3].colour, Vec4(0, 0, 0, 1));
        // Later frames advance by the frame time.
        EXPECT_FLOAT_EQ(calls[first + 5].value, 0.016f);
    }
}

TEST_F(TimelineTest, ASegmentEndsWithoutDrawingWhenItsTimeRunsOut) {
    host.steps = {100};
    play();
    // The step that finds the time run out neither animates nor draws: the segment's last
    // calls are the render of the frame before, deep in the fade out, and its present.
    std::vector<Call> calls = segment(1);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.back().kind, Call::Present);
    EXPECT_EQ(calls[calls.size() - 2].kind, Call::Render);
    EXPECT_GT(calls[calls.size() - 2].value, 0.9f);
    EXPECT_NEAR(static_cast<double>(only(calls, Call::Render).size()), 250.0, 1.0);
}

TEST_F(TimelineTest, QuitDuringTheOpeningSplashSkipsTheRest) {
    host.pump = [] { return false; };
    play();
    EXPECT_EQ(only(log, Call::Segment).size(), 1u);
    EXPECT_EQ(only(log, Call::Render).size(), 1u);
    EXPECT_TRUE(only(log, Call::Present).empty());
}

TEST_F(TimelineTest, QuitDuringTheClosingSplashEndsTheRun) {
    int pumps = 0;
    host.pump = [&] { return !(host.currentSegment == 4 && ++pumps > 3); };
    play();
    EXPECT_EQ(only(segment(4), Call::Render).size(), 4u);
    EXPECT_EQ(only(segment(4), Call::Present).size(), 3u);
    EXPECT_EQ(log.back().kind, Call::Render);
}

// The window procedure of the show's window: Escape and closing post the quit message.
LRESULT CALLBACK showWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE || (message == WM_KEYDOWN && wParam == VK_ESCAPE)) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(TimelineTest, EscapeEndsTheRunAfterTheMessagesQueuedBeforeIt) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = showWindowProc;
    wc.lpszClassName = "TimelineTestWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "TimelineTestWindow", "t", WS_CAPTION, 0, 0, 64, 64, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    MSG flush;
    while (PeekMessageA(&flush, nullptr, 0, 0, PM_REMOVE)) {
    }
    PostMessageA(window, WM_MOUSEMOVE, 0, 0);
    PostMessageA(window, WM_KEYDOWN, 'A', 0);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    host.pump = [] { return pumpMessage(); };
    play();
    // Mouse move, key A, its character, Escape, its character: five frames presented, then the
    // quit message that the Escape key posted behind them.
    EXPECT_EQ(only(log, Call::Present).size(), 5u);
    EXPECT_EQ(only(log, Call::Segment).size(), 1u);
    DestroyWindow(window);
    UnregisterClassA("TimelineTestWindow", nullptr);
}

class NoCounterHost : public ScriptedHost {
public:
    using ScriptedHost::ScriptedHost;
    bool queryFrequency(int64_t&) override { return false; }
};

TEST(TimelineClockTest, WithoutACounterFramesCountAsASixtiethOfASecond) {
    std::vector<Call> log;
    FakeEngine engine{&log};
    FakeScene scene{&log};
    FakeTextureCache textures;
    NoCounterHost host(log);
    TimelineOf<FakeShow> timeline(engine, scene, textures, host);
    timeline.run();
    size_t renders = 0;
    for (const Call& c : log) {
        renders += c.kind == Call::Render;
    }
    EXPECT_NEAR(static_cast<double>(renders) / 60.0, 140.0, 0.5);
}

} // namespace
