#include "platform/HeadlessDisplay.h"

#include <cstdlib>

void makeDisplayHeadless(Display&) {
    // SDL's offscreen driver needs no window system at all.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
}
