#include "platform/DisplayCheck.h"

#include <windows.h>

#include <cstdio>

bool displayAvailable(const char* program) {
    // Services and tasks that run without a logged-on user get a window station nobody sees.
    USEROBJECTFLAGS flags{};
    HWINSTA station = GetProcessWindowStation();
    if (station && GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
        (flags.dwFlags & WSF_VISIBLE) == 0) {
        std::fprintf(stderr,
                     "%s: no display can be opened (the desktop is not visible); "
                     "tarnelix-capture plays the show without one and writes it to images\n",
                     program);
        return false;
    }
    return true;
}
