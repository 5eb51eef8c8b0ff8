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

bool refuse(const char* program, const char* reason) {
    std::fprintf(stderr,
                 "%s: no display can be opened (%s); tarnelix-capture plays the show "
                 "without one and writes it to images or video\n",
                 program, reason);
    return false;
}

} // namespace

bool displayAvailable(const char* program) {
    // A driver asked for by name is used as asked, headless ones included (smoke tests).
    bool driverChosen = isSet("SDL_VIDEODRIVER");
    if (!driverChosen && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        return refuse(program, "neither DISPLAY nor WAYLAND_DISPLAY is set");
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return refuse(program, SDL_GetError());
    }
    if (!driverChosen && isHeadless(SDL_GetCurrentVideoDriver())) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return refuse(program, "only a headless video driver is available");
    }
    return true;
}
