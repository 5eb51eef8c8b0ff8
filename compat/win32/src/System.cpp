// The thread's last error, modules and the process's DPI setting.

#include <windows.h>

namespace {

thread_local DWORD g_lastError = ERROR_SUCCESS;

} // namespace

DWORD WINAPI GetLastError(void) {
    return g_lastError;
}

void WINAPI SetLastError(DWORD error) {
    g_lastError = error;
}

HMODULE WINAPI LoadLibraryA(LPCSTR) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

HMODULE WINAPI LoadLibraryW(LPCWSTR) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR) {
    // Only the program's own module exists, and it exports nothing.
    SetLastError(module ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE);
    return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE) {
    SetLastError(ERROR_INVALID_HANDLE); // LoadLibrary never handed out a module to free
    return FALSE;
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR name) {
    if (name) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return GetModuleHandleA(nullptr);
}

BOOL WINAPI SetProcessDPIAware(void) {
    return TRUE;
}
