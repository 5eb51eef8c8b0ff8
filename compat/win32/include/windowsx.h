#pragma once

// The message-cracking helpers of the real header that programs use most: the signed
// coordinates packed into a mouse message's lParam.

#include <windows.h>

#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#define GetWindowInstance(hwnd) GetModuleHandleA(NULL)
