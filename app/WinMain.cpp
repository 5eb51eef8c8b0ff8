// The program's entry point: the settings dialog, then the display, the engine and the music,
// then the show, then the tear-down in a fixed order.

#include "app/DisplayCheck.h"
#include "app/ProgramObjects.h"
#include "app/ShowTypes.h"
#include "app/StartupSettings.h"
#include "platform/MusicStream.h"
#include "platform/SoundSystem.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr int kColourBits = 32;
constexpr int kNoMultisampling = 0;
constexpr int kSoundChannels = 24;
constexpr int kMixRate = 44100;
constexpr int kDirectSoundDriver = 1;

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!displayAvailable()) {
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
    connectProgramDevice();

    RenderEngine engine;
    engine.init(display.device, display.width, display.height);
    configureEngine(engine);
    samplerFilterSettings.set(D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_LINEAR, 0);

    SoundSystem sound;
    sound.init(kSoundChannels, kMixRate, kDirectSoundDriver);
    ShowCursor(FALSE);
    MusicStream music;
    music.open("preview1.mp3", false);
    music.play();

    runTimeline(engine);

    music.close();
    return 0; // the sound system closes, then the engine is released, as their objects go
}
