#include "platform/HeadlessDisplay.h"

void makeDisplayHeadless(Display& display) {
    // A hidden window still carries a device whose back buffer can be read.
    display.shown = false;
}
