#pragma once

// The thread's message queue as the event translation fills it.

#include <windows.h>

union SDL_Event;

namespace tarnelix::win32 {

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Called before the events of one SDL_PumpEvents are translated.
void startEventBatch();
// Turns one SDL event into the messages Windows would queue (or send) for it. closeSeen tells
// whether this pump already saw a window's close request.
void translateEvent(const SDL_Event& event, bool& closeSeen);

} // namespace tarnelix::win32
