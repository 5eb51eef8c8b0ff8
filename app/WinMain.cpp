// The program's entry point: the settings dialog, then the display, the engine and the music,
// then the show, then the tear-down in a fixed order.

#include "app/FaultReport.h"
#include "app/ProgramObjects.h"
#include "app/ShowTypes.h"
#include "app/StartupSettings.h"
#include "platform/DisplayCheck.h"
#include "platform/MusicStream.h"
#include "platform/SoundFailures.h"
#include "platform/SoundSystem.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr int kColourBits = 32;
constexpr int kNoMultisampling = 0;
constexpr int kSoundChannels = 24;
constexpr int kMixRate = 44100;
constexpr int kDirectSoundDriver = 1;
constexpr const char* kProgram = "tarnelix";
constexpr const char* kSilent = "the show plays silent";

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!displayAvailable(kProgram)) {
        return 1;
    }
    StartupSettings settings;
    DisplayModesOf<Display> modes(display);
    settings.run(modes);
    if (settings.cancelled) {
        return 0;
    }
    if (!display.create(settings.width, settings.height, true, kColourBits, settings.refreshRate,
                        kNoMultisampling)) {
        std::fprintf(stderr, "tarnelix: cannot open a %d x %d display\n", settings.width,
                     settings.height);
        return 1;
    }
    RenderEngine engine;
    startEngine(engine, kProgram);

    // Without sound the show plays silent, and says why once.
    SoundSystem sound;
    const bool soundStarted = sound.init(kSoundChannels, kMixRate, kDirectSoundDriver);
    if (!soundStarted) {
        reportFault(kProgram, "no sound", soundFailureReason(), kSilent);
    }
    ShowCursor(FALSE);
    MusicStream music;
    music.open(kMusicFileName, false);
    if (soundStarted && music.stream() == nullptr) {
        reportFault(kProgram, kMusicFileName, musicFailureReason(kMusicFileName), kSilent);
    }
    music.play();

    runTimeline(engine);

    music.close();
    return 0; // the sound system closes, then the engine is released, as their objects go
}
