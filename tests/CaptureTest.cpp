#include "FakeShow.h"
#include "TempDir.h"

#include "app/Timeline.h"
#include "app/capture/CaptureHost.h"
#include "app/capture/CaptureOptions.h"
#include "app/capture/FrameReader.h"
#include "app/capture/FrameSchedule.h"
#include "app/capture/FrameSinks.h"
#include "app/capture/FrameStats.h"
#include "app/capture/PngWriter.h"
#include "app/capture/ProgressBar.h"
#include "app/capture/VideoPipe.h"

#include <gtest/gtest.h>

#include <png.h>

#include <fstream>
#include <vector>

namespace {

bool parse(std::vector<const char*> args, CaptureOptions& options, std::string& error) {
    return parseCaptureOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(CaptureOptionsTest, DefaultsAndModes) {
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--at", "5", "--out", "f.png"}, o, error)) << error;
    EXPECT_EQ(o.mode, CaptureOptions::Mode::Still);
    EXPECT_EQ(o.at, 5.0);
    EXPECT_EQ(o.width, 1024);
    EXPECT_EQ(o.height, 768);
    EXPECT_EQ(o.fps, 60);
    EXPECT_TRUE(o.seek);

    CaptureOptions v;
    ASSERT_TRUE(parse({"--video", "s.mp4", "--width", "320", "--height", "240", "--fps", "30",
                       "--from", "2", "--no-seek", "--to", "4.5"},
                      v, error))
        << error;
    EXPECT_EQ(v.mode, CaptureOptions::Mode::Video);
    EXPECT_EQ(v.width, 320);
    EXPECT_EQ(v.fps, 30);
    EXPECT_EQ(v.from, 2.0);
    EXPECT_EQ(v.to, 4.5);
    EXPECT_FALSE(v.seek);

    CaptureOptions other;
    ASSERT_TRUE(parse(
        {"--benchmark", "--dir", "shows/mine", "--scene", "garden.3df", "--music", "song.mp3"},
        other, error))
        << error;
    EXPECT_EQ(other.dir, "shows/mine");
    EXPECT_EQ(other.scene, "garden.3df");
    EXPECT_EQ(other.music, "song.mp3");
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

TEST(FrameScheduleTest, StillsAndRanges) {
    CaptureOptions still;
    still.mode = CaptureOptions::Mode::Still;
    still.at = 5.0;
    FrameSchedule s(still);
    EXPECT_FALSE(s.wanted(299));
    EXPECT_TRUE(s.wanted(300));
    EXPECT_FALSE(s.wanted(301));
    EXPECT_TRUE(s.finishedAfter(300));
    EXPECT_EQ(s.firstDrawn(), 300);
    still.seek = false;
    EXPECT_EQ(FrameSchedule(still).firstDrawn(), 0);

    CaptureOptions range;
    range.mode = CaptureOptions::Mode::Frames;
    range.fps = 30;
    range.from = 1.0;
    range.to = 2.0;
    FrameSchedule r(range);
    EXPECT_FALSE(r.wanted(29));
    EXPECT_TRUE(r.wanted(30));
    EXPECT_TRUE(r.wanted(60));
    EXPECT_FALSE(r.wanted(61));
    EXPECT_EQ(r.firstDrawn(), 30);
    // A benchmark draws a second ahead of its stretch, never before the show starts.
    range.mode = CaptureOptions::Mode::Benchmark;
    EXPECT_EQ(FrameSchedule(range).firstDrawn(), 0);
    range.from = 1.5;
    EXPECT_EQ(FrameSchedule(range).firstDrawn(), 15);

    CaptureOptions all;
    all.mode = CaptureOptions::Mode::Video;
    FrameSchedule a(all);
    EXPECT_TRUE(a.wanted(0));
    EXPECT_TRUE(a.wanted(1000000));
    EXPECT_FALSE(a.finishedAfter(1000000));
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

TEST(ProgressBarTest, Line) {
    EXPECT_EQ(ProgressBar::line("video", 70.0, 140.0),
              "video [###############...............]  50%  70.0 / 140.0 s");
    EXPECT_EQ(ProgressBar::line("video", 300.0, 140.0).find("100%") != std::string::npos, true);
}

TEST(FrameReaderTest, ConvertsXrgbRowsWithPitch) {
    const uint8_t xrgb[] = {1, 2, 3, 0, 4,  5,  6,  0, 99, 99, //
                            7, 8, 9, 0, 10, 11, 12, 0, 99, 99};
    uint8_t rgb[12] = {};
    convertXrgbToRgb(xrgb, 10, 2, 2, rgb);
    const uint8_t expected[] = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};
    EXPECT_EQ(std::vector<uint8_t>(rgb, rgb + 12), std::vector<uint8_t>(expected, expected + 12));
}

std::vector<uint8_t> readPng(const std::string& path, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return pixels;
}

TEST(PngWriterTest, WritesWhatIsReadBack) {
    TempDir dir;
    std::vector<uint8_t> rgb(3 * 4 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = static_cast<uint8_t>(i * 7);
    }
    std::string error;
    std::string path = dir.path() + "/p.png";
    ASSERT_TRUE(writePng(path, 4, 3, rgb.data(), 12, error)) << error;
    int w = 0, h = 0;
    EXPECT_EQ(readPng(path, w, h), rgb);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 3);
    EXPECT_FALSE(writePng(dir.path() + "/missing/p.png", 4, 3, rgb.data(), 12, error));
    EXPECT_NE(error.find("cannot create"), std::string::npos);
}

TEST(VideoPipeTest, CommandMuxesTheMusicFromTheOffset) {
    auto args = VideoPipe::command("out.mp4", 64, 48, 30, "preview1.mp3", 12.5);
    std::string line;
    for (const auto& a : args) {
        line += a + " ";
    }
    EXPECT_NE(line.find("-s 64x48 -framerate 30 -i -"), std::string::npos) << line;
    EXPECT_NE(line.find("-ss 12.5"), std::string::npos) << line;
    EXPECT_NE(line.find("-i preview1.mp3"), std::string::npos) << line;
    EXPECT_NE(line.find("libx264"), std::string::npos);
    EXPECT_NE(line.find("-shortest"), std::string::npos);
    EXPECT_EQ(args.back(), "out.mp4");
    auto silent = VideoPipe::command("out.mp4", 64, 48, 30, "", 0.0);
    for (const auto& a : silent) {
        EXPECT_NE(a, "-shortest");
    }
}

TEST(VideoPipeTest, EncodesFramesThroughFfmpeg) {
    TempDir dir;
    std::string path = dir.path() + "/v.mp4";
    VideoPipe pipe;
    std::string error;
    ASSERT_TRUE(pipe.open(VideoPipe::command(path, 32, 32, 10, "", 0.0), 32, 32, error)) << error;
    std::vector<uint8_t> frame(32 * 32 * 3, 128);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(pipe.write(frame.data(), error)) << error;
    }
    ASSERT_TRUE(pipe.close(error)) << error;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    EXPECT_GT(static_cast<long>(file.tellg()), 100);
}

TEST(VideoPipeTest, AMissingEncoderIsReported) {
    VideoPipe pipe;
    std::string error;
    EXPECT_FALSE(pipe.open({"no-such-encoder-here"}, 8, 8, error));
    EXPECT_NE(error.find("cannot start"), std::string::npos);
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

TEST_F(CaptureRunTest, AStillIsTheFrameAtThatTimeAndEndsTheRun) {
    CaptureOptions o;
    o.mode = CaptureOptions::Mode::Still;
    o.at = 5.0;
    capture(o);
    EXPECT_EQ(sink.frames, std::vector<int64_t>{300});
    EXPECT_EQ(device.shown, 1) << "only the still is drawn and shown";
    EXPECT_EQ(countOf(log, Call::Render), 1u);
    EXPECT_FALSE(failed);
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
