// Counters and clocks, on the monotonic clock so that they never jump back.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point start() {
    static const Clock::time_point first = Clock::now();
    return first;
}

} // namespace

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) {
        return FALSE;
    }
    frequency->QuadPart = 1000000000LL; // nanoseconds
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* counter) {
    if (!counter) {
        return FALSE;
    }
    auto elapsed = Clock::now() - start();
    // Start above zero, as a real counter does, so that a first difference is never the counter.
    counter->QuadPart =
        std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count() + 1000000000LL;
    return TRUE;
}

DWORD WINAPI GetTickCount(void) {
    auto elapsed = Clock::now() - start();
    return static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

DWORD WINAPI timeGetTime(void) {
    return GetTickCount();
}

void WINAPI Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void WINAPI OutputDebugStringA(LPCSTR text) {
    if (text) {
        std::fputs(text, stderr);
    }
}
