#include "app/capture/CaptureMain.h"

#include "app/FaultReport.h"
#include "app/ProgramObjects.h"
#include "app/ShowFile.h"
#include "app/ShowScriptCheck.h"
#include "app/ShowTypes.h"
#include "app/capture/CaptureHost.h"
#include "app/capture/CaptureOptions.h"
#include "app/capture/FrameReader.h"
#include "app/capture/FrameSchedule.h"
#include "app/capture/FrameSinks.h"
#include "app/capture/FrameStats.h"
#include "app/capture/PartialFile.h"
#include "app/capture/ProgressBar.h"
#include "app/capture/ShowData.h"
#include "app/capture/VideoPipe.h"
#include "platform/Folders.h"
#include "platform/HeadlessDisplay.h"
#include "platform/Terminal.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

// The display's device as the capture host sees it, with the engine's count of what it drew.
class DisplayDevice : public CaptureHost::Device {
public:
    DisplayDevice(const RenderEngine& engine, int width, int height)
        : m_engine(engine), m_reader(display.device, width, height) {}
    const uint8_t* readFrame() override { return m_reader.read(); }
    void presentFrame() override { display.present(); }
    FrameLoad lastFrameLoad() const override {
        const FrameStatistics& last = m_engine.lastFrameStatistics;
        return {static_cast<double>(last.drawCalls), static_cast<double>(last.triangles)};
    }

private:
    const RenderEngine& m_engine;
    FrameReader m_reader;
};

struct Progress {
    ProgressBar bar;
    double total;
    static void update(void* user, double seconds) {
        auto* self = static_cast<Progress*>(user);
        self->bar.update(seconds, self->total);
    }
};

std::string folderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The output's folder must take files before the show is played, not after.
bool outputWritable(const CaptureOptions& options, std::string& error) {
    using Mode = CaptureOptions::Mode;
    switch (options.mode) {
    case Mode::Frames:
        makeFolder(options.framesDir);
        return canCreateFilesIn(options.framesDir, error);
    case Mode::Still:
        return canCreateFilesIn(folderOf(options.out), error);
    case Mode::Video:
        return canCreateFilesIn(folderOf(options.videoPath), error);
    default:
        return true;
    }
}

// Output paths name places in the folder the capture was started from, whatever --dir says.
void anchorOutputs(CaptureOptions& options) {
    std::error_code failed;
    const std::filesystem::path here = std::filesystem::current_path(failed);
    for (std::string* path : {&options.out, &options.framesDir, &options.videoPath}) {
        if (!failed && !path->empty() && std::filesystem::path(*path).is_relative()) {
            *path = (here / *path).string();
        }
    }
}

// The card (or rasteriser) and driver the frames were drawn with, which a benchmark's figures
// mean nothing without.
std::string adapterName() {
    D3DADAPTER_IDENTIFIER9 identifier{};
    if (!display.direct3d ||
        FAILED(display.direct3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &identifier))) {
        return "unknown";
    }
    return std::string(identifier.Description) + ", " + identifier.Driver;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "tarnelix-capture: %s\n", message.c_str());
    return 1;
}

// A fault of a show file is told as the place in it, as a compiler tells one in a source file.
int failIn(const ShowScript& script, const std::string& message) {
    if (script.file.empty()) {
        return fail(message);
    }
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
}

// The scene and what the show file names, loaded and checked before anything is drawn.
bool loadScript(const ShowScript& script, std::string& error) {
    if (!loadShowScene(script.scene, error)) {
        error = script.at(script.scenePlace) + error;
        return false;
    }
    return script.file.empty() || checkShowContent(script, scene, error);
}

} // namespace

int runCapture(int argc, const char* const* argv) {
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(argc - 1, argv + 1, options, error)) {
        std::fprintf(stderr, "tarnelix-capture: %s\n%s", error.c_str(), kCaptureUsage);
        return 2;
    }
    using Mode = CaptureOptions::Mode;
    if (!outputWritable(options, error)) {
        return fail(error);
    }
    ShowScript script;
    // A show file's folder is the show's.
    if (!chooseShowScript(options.show, options.scene, options.music, script, error)) {
        return failIn(script, error);
    }
    if (!options.show.empty()) {
        options.dir = folderOf(options.show);
    }
    anchorOutputs(options);
    std::error_code notEntered;
    if (!options.dir.empty() &&
        (std::filesystem::current_path(options.dir, notEntered), notEntered)) {
        return fail("cannot enter the show's folder " + options.dir);
    }
    // Headless whatever the environment offers: no window system, no sound device.
    makeDisplayHeadless(display);
    Display::setProgramName("tarnelix-capture");

    if (!display.create(options.width, options.height, false, 32, options.fps, 0) ||
        display.width != options.width || display.height != options.height) {
        return fail("cannot make a device of " + std::to_string(options.width) + " x " +
                    std::to_string(options.height));
    }
    auto engine = std::make_unique<RenderEngine>();
    startEngine(*engine, "tarnelix-capture");
    if (!loadScript(script, error)) {
        return failIn(script, error);
    }

    FrameSchedule schedule(options);
    if (!shaderProgramsBuilt(*engine)) {
        const double last =
            schedule.lastFrame() >= 0 ? schedule.secondsOf(schedule.lastFrame()) : -1.0;
        if (script.camerasShownBetween(schedule.secondsOf(schedule.firstDrawn()), last)) {
            return fail("a shader program did not build (the compiler's messages are above)");
        }
        std::fprintf(stderr, "tarnelix-capture: a shader program did not build; the frames "
                             "asked for are all splash frames, which use none\n");
    }
    VideoPipe video;
    std::unique_ptr<PartialFile> videoFile;
    std::unique_ptr<FrameSink> sink;
    if (options.mode == Mode::Still) {
        sink = std::make_unique<StillSink>(options.out, options.width, options.height);
    } else if (options.mode == Mode::Frames) {
        sink = std::make_unique<SequenceSink>(options.framesDir, options.width, options.height);
    } else if (options.mode == Mode::Video) {
        videoFile = std::make_unique<PartialFile>(options.videoPath);
        const std::string music = script.music.empty() ? "" : musicForVideo(script.music.c_str());
        auto command =
            VideoPipe::command(videoFile->path(), options.width, options.height, options.fps, music,
                               schedule.secondsOf(schedule.firstFrame()));
        if (!video.open(command, options.width, options.height, error)) {
            return fail(error);
        }
        sink = std::make_unique<VideoSink>(video);
    }

    FrameStats stats;
    DisplayDevice device(*engine, options.width, options.height);
    CaptureHost host(device, options.fps, schedule, sink.get(),
                     options.mode == Mode::Benchmark ? &stats : nullptr);
    double end =
        schedule.lastFrame() >= 0 ? schedule.secondsOf(schedule.lastFrame()) : script.length();
    Progress progress{ProgressBar(stderr, options.mode == Mode::Benchmark ? "benchmark" : "capture",
                                  streamIsTerminal(stderr)),
                      end};
    host.onFrame = &Progress::update;
    host.onFrameUser = &progress;

    CaptureTimeline timeline(*engine, scene, textureCache, host, script);
    timeline.run();
    progress.bar.finish();
    engine.reset();

    if (options.mode == Mode::Video && !video.close(error)) {
        return fail(error);
    }
    if (host.failed()) {
        return fail(host.error());
    }
    if (options.mode == Mode::Benchmark) {
        std::printf("adapter: %s\n%d x %d, %d frames per second of show time\n%s",
                    adapterName().c_str(), options.width, options.height, options.fps,
                    stats.report().c_str());
        return 0;
    }
    if (host.framesWritten() == 0) {
        return fail("no frame written: the show lasts " + std::to_string(script.length()) + " s");
    }
    if (videoFile && !videoFile->commit(error)) {
        return fail(error);
    }
    std::fprintf(stderr, "tarnelix-capture: %lld frames written\n",
                 static_cast<long long>(host.framesWritten()));
    return 0;
}
