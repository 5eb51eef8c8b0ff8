#include "app/player/PlayerMain.h"

#include "app/FaultReport.h"
#include "app/ProgramObjects.h"
#include "app/player/PlayerHost.h"
#include "app/player/PlayerOptions.h"
#include "app/player/PlayerScene.h"
#include "platform/DisplayCheck.h"
#include "platform/MusicStream.h"
#include "platform/SoundFailures.h"
#include "platform/SoundSystem.h"

#include <cstdio>
#include <unistd.h>

namespace {

constexpr const char* kProgram = "tarnelix-player";
constexpr int kColourBits = 32;
constexpr int kSoundChannels = 24;
constexpr int kMixRate = 44100;
constexpr int kDirectSoundDriver = 1;

std::vector<double> showSegmentDurations() {
    std::vector<double> durations;
    for (const SegmentPlan& plan : kShowSegments) {
        durations.push_back(plan.duration);
    }
    return durations;
}

// The show's folder: the one asked for, else the working directory when the scene is there,
// else the build's show folder, so that the player runs from anywhere in the build tree.
bool enterShowFolder(const PlayerOptions& options) {
    if (!options.dir.empty()) {
        if (chdir(options.dir.c_str()) != 0) {
            std::fprintf(stderr, "%s: cannot enter %s\n", kProgram, options.dir.c_str());
            return false;
        }
        return true;
    }
#ifdef TARNELIX_SHOW_DIR
    if (access(options.scene.c_str(), R_OK) != 0 && chdir(TARNELIX_SHOW_DIR) == 0) {
        std::fprintf(stderr, "%s: playing the show in %s\n", kProgram, TARNELIX_SHOW_DIR);
    }
#endif
    return true;
}

void reportToOverlay(void* user, const std::string& file, const std::string& message, bool error) {
    static_cast<PlayerOverlay*>(user)->report(file, message, error);
    if (error) {
        std::fprintf(stderr, "%s: %s: %s\n", kProgram, file.c_str(), message.c_str());
    }
}

bool openDisplay(const PlayerOptions& options) {
    Display::setProgramName(kProgram);
    display.windowStyle = WS_OVERLAPPEDWINDOW;
    if (!display.create(options.width, options.height, options.fullscreen, kColourBits, 0, 0)) {
        return false;
    }
    if (!options.fullscreen) {
        // A window that shows frames as fast as they come would only heat the machine: the
        // player waits for the display's refresh.
        D3DPRESENT_PARAMETERS parameters = Display::presentParameters(0, 0, false, 32, 0, 0);
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
        if (SUCCEEDED(display.device->Reset(&parameters))) {
            display.width = static_cast<int32_t>(parameters.BackBufferWidth);
            display.height = static_cast<int32_t>(parameters.BackBufferHeight);
        }
    }
    SetWindowTextA(display.window, "tarnelix-player");
    return true;
}

} // namespace

int runPlayer(int argc, const char* const* argv) {
    PlayerOptions options;
    std::string error;
    if (!parsePlayerOptions(argc - 1, argv + 1, options, error)) {
        std::fprintf(stderr, "%s: %s\n%s", kProgram, error.c_str(), kPlayerUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kPlayerUsage, stdout);
        return 0;
    }
    if (!enterShowFolder(options) || !displayAvailable(kProgram) || !openDisplay(options)) {
        return 1;
    }
    RenderEngine engine;
    startEngine(engine, kProgram);

    // A scene that will not load plays as an empty one until a fixed file is saved.
    auto scene = std::make_unique<Scene>();
    if (!scene->load(options.scene.c_str(), programDevice(), textureCache)) {
        reportFault(kProgram, options.scene.c_str(), scene->loadError(),
                    "the show plays without it until the file loads");
    }
    Scene* sceneInUse = scene.get();

    SoundSystem sound;
    MusicStream music;
    if (!options.music.empty()) {
        if (!sound.init(kSoundChannels, kMixRate, kDirectSoundDriver)) {
            reportFault(kProgram, "no sound", soundFailureReason(), "the show plays silent");
        } else {
            music.open(options.music.c_str(), false);
            if (!music.stream()) {
                reportFault(kProgram, options.music.c_str(),
                            musicFailureReason(options.music.c_str()), "the show plays silent");
            }
        }
    }

    PlayerOverlay overlay;
    if (!overlay.init(display.device)) {
        std::fprintf(stderr, "%s: the overlay's font texture was refused\n", kProgram);
    }
    ShowReload reload(engine, textureCache, scene, options.scene);
    reload.report = &reportToOverlay;
    reload.reportUser = &overlay;
    reload.watchAll();

    PlayerClock clock(showSegmentDurations());
    CameraChoice camera;
    PlayerScene playerScene(sceneInUse, camera);
    PlayerHost host(clock, camera, engine, scene, sceneInUse, reload, music, overlay);
    if (options.looping() && !clock.setLoop(options.loopFrom, options.loopTo)) {
        std::fprintf(stderr, "%s: --loop %g:%g lies outside the show (%g s); no loop\n", kProgram,
                     options.loopFrom, options.loopTo, clock.length());
        options.loopTo = -1.0;
    }
    clock.setPaused(options.paused);
    clock.seekTo(options.startTime());
    music.play();
    host.followWithMusic(); // to --from, and held with --paused, before the first frame

    // Each run plays the show from its start; a seek back or a replaced scene ends the run,
    // and so does the show's end, after which it starts again.
    for (;;) {
        clock.restarted();
        playerScene.rewind();
        configureEngine(engine);
        PlayerTimeline timeline(engine, playerScene, textureCache, host);
        timeline.run();
        if (host.quitting()) {
            break;
        }
        if (!clock.restartWanted()) {
            clock.showEnded();
        }
    }
    music.close();
    return 0;
}
