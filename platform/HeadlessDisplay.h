#pragma once

#include "platform/Display.h"

// Makes the display's coming `create` draw without showing anything: a tool that only reads
// back what it draws needs no visible window and must run where there is no screen.
void makeDisplayHeadless(Display& display);
