#include "app/MessagePump.h"

#include <windows.h>

bool pumpMessage() {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return true;
    }
    if (msg.message == WM_QUIT) {
        return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}
