#include "platform/DisplayCheck.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Drivers that open nothing a person could see.
bool isHeadless(const char* driver) {
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

bool refuse(const char* reason) {
    std::fprintf(stderr,
                 "tarnelix: no display can be opened (%s); tarnelix-capture plays the show "
                 "without one and writes it to images or video\n",
                 reason);
    return false;
}

} // namespace

bool displayAvailable() {
    // A driver asked for by name is used as asked, headless ones included (smoke tests).
    bool driverChosen = isSet("SDL_VIDEODRIVER");
    if (!driverChosen && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        return refuse("neither DISPLAY nor WAYLAND_DISPLAY is set");
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return refuse(SDL_GetError());
    }
    if (!driverChosen && isHeadless(SDL_GetCurrentVideoDriver())) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return refuse("only a headless video driver is available");
    }
    return true;
}
