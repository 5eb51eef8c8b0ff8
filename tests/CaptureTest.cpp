#include "FakeShow.h"

#include "app/Timeline.h"
#include "app/capture/CaptureHost.h"
#include "app/capture/CaptureOptions.h"
#include "app/capture/FrameReader.h"
#include "app/capture/FrameSchedule.h"
#include "app/capture/FrameSinks.h"
#include "app/capture/FrameStats.h"
#include "app/capture/VideoPipe.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool parse(std::vector<const char*> args, CaptureOptions& options, std::string& error) {
    return parseCaptureOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(CaptureOptionsTest, RefusesWhatMakesNoSense) {
    const std::vector<std::vector<const char*>> bad = {
        {},
        {"--at", "5"},
        {"--frames", "d", "--out", "x.png"},
        {"--at", "1", "--out", "a.png", "--video", "v.mp4"},
        {"--benchmark", "--frames", "d"},
        {"--video", "v.mp4", "--width", "0"},
        {"--video", "v.mp4", "--fps", "2.5"},
        {"--video", "v.mp4", "--fps", "5"},
        {"--video", "v.mp4", "--fps", "nan"},
        {"--video", "v.mp4", "--from", "5", "--to", "4"},
        {"--video", "v.mp4", "--from", "-1"},
        {"--at", "-2", "--out", "a.png"},
        {"--video"},
        {"--colour", "red"},
    };
    for (const auto& args : bad) {
        CaptureOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << (args.empty() ? "(none)" : args[0]);
        EXPECT_FALSE(error.empty());
    }
}

TEST(FrameScheduleTest, RangesAndTheBenchmarksWarmUp) {
    CaptureOptions range;
    range.mode = CaptureOptions::Mode::Frames;
    range.fps = 30;
    range.from = 1.0;
    range.to = 2.0;
    FrameSchedule r(range);
    EXPECT_FALSE(r.wanted(29));
    EXPECT_TRUE(r.wanted(60));
    EXPECT_FALSE(r.wanted(61));
    EXPECT_EQ(r.firstDrawn(), 30);
    // A benchmark draws a second ahead of its stretch, never before the show starts.
    range.mode = CaptureOptions::Mode::Benchmark;
    EXPECT_EQ(FrameSchedule(range).firstDrawn(), 0);
    range.from = 1.5;
    EXPECT_EQ(FrameSchedule(range).firstDrawn(), 15);
    // A video has no end of its own.
    range = CaptureOptions();
    range.mode = CaptureOptions::Mode::Video;
    EXPECT_TRUE(FrameSchedule(range).wanted(1000000));
    EXPECT_FALSE(FrameSchedule(range).finishedAfter(1000000));
}

TEST(FrameStatsTest, MedianAndPercentilePerSegment) {
    FrameStats stats;
    for (int i = 1; i <= 100; ++i) {
        stats.add(0, i / 1000.0);
    }
    stats.add(2, 0.010, {10.0, 3000.0});
    stats.add(2, 0.020, {20.0, 1000.0});
    auto summaries = stats.summarise();
    ASSERT_EQ(summaries.size(), 3u);
    EXPECT_EQ(summaries[0].segment, 0);
    EXPECT_DOUBLE_EQ(summaries[0].medianMs, 50.0);
    EXPECT_DOUBLE_EQ(summaries[0].p95Ms, 95.0);
    EXPECT_DOUBLE_EQ(summaries[0].fps, 20.0);
    EXPECT_EQ(summaries[1].segment, 2);
    EXPECT_DOUBLE_EQ(summaries[1].meanLoad.drawCalls, 15.0);
    EXPECT_DOUBLE_EQ(summaries[1].meanLoad.triangles, 2000.0);
    EXPECT_EQ(summaries[2].segment, -1);
    EXPECT_EQ(summaries[2].frames, 102u);
    EXPECT_DOUBLE_EQ(summaries[2].meanLoad.triangles, 4000.0 / 102.0);
    EXPECT_NE(stats.report().find("all"), std::string::npos);
}

TEST(FrameReaderTest, ConvertsXrgbRowsWithPitch) {
    const uint8_t xrgb[] = {1, 2, 3, 0, 4,  5,  6,  0, 99, 99, //
                            7, 8, 9, 0, 10, 11, 12, 0, 99, 99};
    uint8_t rgb[12] = {};
    convertXrgbToRgb(xrgb, 10, 2, 2, rgb);
    const uint8_t expected[] = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};
    EXPECT_EQ(std::vector<uint8_t>(rgb, rgb + 12), std::vector<uint8_t>(expected, expected + 12));
}

// The music must start where the video does, or the two drift apart by the offset.
TEST(VideoPipeTest, TheMusicStartsAtTheVideosOffset) {
    std::string line;
    for (const std::string& a : VideoPipe::command("out.mp4", 64, 48, 30, "preview1.mp3", 12.5)) {
        line += a + " ";
    }
    EXPECT_NE(line.find("-ss 12.5"), std::string::npos) << line;
    EXPECT_LT(line.find("-ss 12.5"), line.find("-i preview1.mp3")) << "an input option: " << line;
}

// A device whose frames are a single number: the index of the frame shown.
struct CountingDevice : CaptureHost::Device {
    std::vector<uint8_t> rgb = std::vector<uint8_t>(3);
    int shown = 0;
    const uint8_t* readFrame() override {
        rgb[0] = static_cast<uint8_t>(shown);
        return rgb.data();
    }
    void presentFrame() override { ++shown; }
};

struct RecordingSink : FrameSink {
    std::vector<int64_t> frames;
    bool fail = false;
    bool write(int64_t frame, const uint8_t*, std::string& error) override {
        frames.push_back(frame);
        if (fail) {
            error = "disk full";
        }
        return !fail;
    }
};

class CaptureRunTest : public ::testing::Test {
protected:
    void capture(const CaptureOptions& options) {
        FrameSchedule schedule(options);
        CaptureHost host(device, options.fps, schedule, &sink, &stats);
        TimelineOf<FakeShow> timeline(engine, scene, textures, host);
        timeline.run();
        failed = host.failed();
    }

    std::vector<Call> log;
    FakeEngine engine{&log};
    FakeScene scene{&log};
    FakeTextureCache textures;
    CountingDevice device;
    RecordingSink sink;
    FrameStats stats;
    bool failed = false;
};

size_t countOf(const std::vector<Call>& log, Call::Kind kind) {
    size_t n = 0;
    for (const Call& c : log) {
        n += c.kind == kind;
    }
    return n;
}

// What the show's state went through: scene loads, rewinds and updates with their time steps.
std::vector<std::string> stateSteps(const std::vector<Call>& log) {
    std::vector<std::string> steps;
    for (const Call& c : log) {
        if (c.kind != Call::Render && c.kind != Call::EndFrame && c.kind != Call::Sprite) {
            char step[64];
            std::snprintf(step, sizeof(step), "%d %a %s", c.kind, c.value, c.text.c_str());
            steps.push_back(step);
        }
    }
    return steps;
}

TEST_F(CaptureRunTest, ASeekStepsTheStateThroughEveryFrameItDoesNotDraw) {
    CaptureOptions o;
    o.mode = CaptureOptions::Mode::Still;
    o.at = 52.5; // in the second camera segment, after a rewind
    o.seek = false;
    capture(o);
    const std::vector<Call> drawn = log;
    EXPECT_EQ(sink.frames, std::vector<int64_t>{3150});
    EXPECT_EQ(device.shown, 3151);
    EXPECT_EQ(countOf(drawn, Call::Render), 3151u);

    log.clear();
    sink.frames.clear();
    device.shown = 0;
    o.seek = true;
    capture(o);
    EXPECT_EQ(sink.frames, std::vector<int64_t>{3150});
    EXPECT_EQ(device.shown, 1);
    EXPECT_EQ(countOf(log, Call::Render), 1u);
    EXPECT_EQ(countOf(log, Call::EndFrame), countOf(drawn, Call::EndFrame) + 3150)
        << "every frame turns over, drawn or not";
    EXPECT_EQ(stateSteps(log), stateSteps(drawn));
}

TEST_F(CaptureRunTest, FramesOfTheWholeShowAtAFixedRate) {
    CaptureOptions o;
    o.mode = CaptureOptions::Mode::Frames;
    o.fps = 10;
    capture(o);
    ASSERT_FALSE(sink.frames.empty());
    EXPECT_EQ(sink.frames.front(), 0);
    EXPECT_NEAR(static_cast<double>(sink.frames.size()) / 10.0, 140.0, 0.6);
    for (size_t i = 0; i < sink.frames.size(); ++i) {
        ASSERT_EQ(sink.frames[i], static_cast<int64_t>(i));
    }
    auto summaries = stats.summarise();
    EXPECT_EQ(summaries.size(), 6u) << "five segments and the whole";
}

TEST_F(CaptureRunTest, ABenchmarkOfAStretchTimesOnlyThatStretch) {
    CaptureOptions o;
    o.mode = CaptureOptions::Mode::Benchmark;
    o.fps = 10;
    o.from = 20.0;
    o.to = 23.0;
    capture(o);
    auto summaries = stats.summarise();
    ASSERT_EQ(summaries.size(), 2u) << "the first camera segment and the whole";
    EXPECT_EQ(summaries[0].frames, 31u);
    EXPECT_EQ(summaries[1].frames, 31u);
    EXPECT_EQ(device.shown, 41) << "a second of warm-up, then the stretch";
}

TEST_F(CaptureRunTest, AFailedWriteStopsTheRun) {
    CaptureOptions o;
    o.mode = CaptureOptions::Mode::Frames;
    sink.fail = true;
    capture(o);
    EXPECT_EQ(sink.frames.size(), 1u);
    EXPECT_TRUE(failed);
    EXPECT_EQ(device.shown, 1);
}

} // namespace
