#include "app/player/PlayerMain.h"

#include "app/FaultReport.h"
#include "app/ProgramObjects.h"
#include "app/ShowFile.h"
#include "app/ShowScriptCheck.h"
#include "app/player/PlayerHost.h"
#include "app/player/PlayerOptions.h"
#include "app/player/PlayerScene.h"
#include "platform/DisplayCheck.h"
#include "platform/MusicStream.h"
#include "platform/SoundFailures.h"
#include "platform/SoundSystem.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr const char* kProgram = "tarnelix-player";
constexpr int kColourBits = 32;
constexpr int kSoundChannels = 24;
constexpr int kMixRate = 44100;
constexpr int kDirectSoundDriver = 1;

// The show to play, with --silent over its music. False after one line saying why.
bool chooseScript(const PlayerOptions& options, ShowScript& script) {
    std::string error;
    if (!chooseShowScript(options.show, options.scene, options.music, script, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (options.silent) {
        script.music.clear();
    }
    return true;
}

// The show's folder: the show file's or the one asked for, else the working directory when
// the scene is there, else the build's show folder, so that the player runs from anywhere in
// the build tree.
bool enterShowFolder(const PlayerOptions& options, const ShowScript& script) {
    const std::string folder = !options.show.empty()
                                   ? std::filesystem::path(options.show).parent_path().string()
                                   : options.dir;
    if (!folder.empty()) {
        if (chdir(folder.c_str()) != 0) {
            std::fprintf(stderr, "%s: cannot enter %s\n", kProgram, folder.c_str());
            return false;
        }
        return true;
    }
#ifdef TARNELIX_SHOW_DIR
    if (options.show.empty() && access(script.scene.c_str(), R_OK) != 0 &&
        chdir(TARNELIX_SHOW_DIR) == 0) {
        std::fprintf(stderr, "%s: playing the show in %s\n", kProgram, TARNELIX_SHOW_DIR);
    }
#endif
    return true;
}

// A show file's scene and what the file names must be there before the first frame; the
// built-in show plays on without them until they load.
bool loadShowScene(Scene& scene, const ShowScript& script) {
    if (!scene.load(script.scene.c_str(), programDevice(), textureCache)) {
        if (!script.file.empty()) {
            std::fprintf(stderr, "%s%s: %s\n", script.at(script.scenePlace).c_str(),
                         script.scene.c_str(), scene.loadError());
            return false;
        }
        reportFault(kProgram, script.scene.c_str(), scene.loadError(),
                    "the show plays without it until the file loads");
        return true;
    }
    std::string error;
    if (!script.file.empty() && !checkShowContent(script, scene, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
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
    ShowScript script;
    if (!chooseScript(options, script) || !enterShowFolder(options, script) ||
        !displayAvailable(kProgram) || !openDisplay(options)) {
        return 1;
    }
    RenderEngine engine;
    startEngine(engine, kProgram);

    // A scene that will not load plays as an empty one until a fixed file is saved.
    auto scene = std::make_unique<Scene>();
    if (!loadShowScene(*scene, script)) {
        return 1;
    }
    Scene* sceneInUse = scene.get();

    SoundSystem sound;
    MusicStream music;
    if (!script.music.empty()) {
        if (!sound.init(kSoundChannels, kMixRate, kDirectSoundDriver)) {
            reportFault(kProgram, "no sound", soundFailureReason(), "the show plays silent");
        } else {
            music.open(script.music.c_str(), false);
            if (!music.stream()) {
                reportFault(kProgram, script.music.c_str(),
                            musicFailureReason(script.music.c_str()), "the show plays silent");
            }
        }
    }

    PlayerOverlay overlay;
    if (!overlay.init(display.device)) {
        std::fprintf(stderr, "%s: the overlay's font texture was refused\n", kProgram);
    }
    ShowReload reload(engine, textureCache, scene, script.scene);
    reload.report = &reportToOverlay;
    reload.reportUser = &overlay;
    if (!options.show.empty()) {
        reload.watchShowFile(std::filesystem::path(options.show).filename().string(), script);
    }
    reload.watchAll();

    PlayerClock clock(script.durations());
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
        if (reload.takeShowScript(script)) {
            clock.setSegments(script.durations());
        }
        clock.restarted();
        playerScene.rewind();
        configureEngine(engine);
        PlayerTimeline timeline(engine, playerScene, textureCache, host, script);
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
