// The wide-character window functions: strings become UTF-8 and the ANSI functions do the work;
// the class remembers that its procedure wants UTF-16 characters.

#include "TextEncoding.h"
#include "Window.h"

#include <cstdio>

using tarnelix::win32::utf8FromWide;

namespace {

std::string resourceName(LPCWSTR name) {
    return IS_INTRESOURCE(name) ? std::string() : utf8FromWide(name);
}

} // namespace

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* windowClass) {
    if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXW) || !windowClass->lpszClassName ||
        !windowClass->lpfnWndProc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSA plain{windowClass->style,
                    windowClass->lpfnWndProc,
                    windowClass->cbClsExtra,
                    windowClass->cbWndExtra,
                    windowClass->hInstance,
                    windowClass->hIcon,
                    windowClass->hCursor,
                    windowClass->hbrBackground,
                    nullptr,
                    nullptr};
    return tarnelix::win32::registerClass(utf8FromWide(windowClass->lpszClassName), plain, true);
}

ATOM WINAPI RegisterClassW(const WNDCLASSW* windowClass) {
    if (!windowClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXW extended{
        sizeof(WNDCLASSEXW),       windowClass->style,         windowClass->lpfnWndProc,
        windowClass->cbClsExtra,   windowClass->cbWndExtra,    windowClass->hInstance,
        windowClass->hIcon,        windowClass->hCursor,       windowClass->hbrBackground,
        windowClass->lpszMenuName, windowClass->lpszClassName, nullptr};
    return RegisterClassExW(&extended);
}

BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
    if (!className) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return UnregisterClassA(utf8FromWide(className).c_str(), instance);
}

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    if (!className) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HWND handle = tarnelix::win32::createWindow(
        {resourceName(className), utf8FromWide(windowName), style, x, y, width, height, parent});
    if (!handle) {
        return nullptr;
    }
    CREATESTRUCTW create{
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    return tarnelix::win32::announceWindow(handle, reinterpret_cast<LPARAM>(&create));
}

LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL WINAPI PeekMessageW(LPMSG msg, HWND window, UINT first, UINT last, UINT remove) {
    return PeekMessageA(msg, window, first, last, remove);
}

BOOL WINAPI GetMessageW(LPMSG msg, HWND window, UINT first, UINT last) {
    return GetMessageA(msg, window, first, last);
}

LRESULT WINAPI DispatchMessageW(const MSG* msg) {
    return DispatchMessageA(msg);
}

LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        std::string text = utf8FromWide(reinterpret_cast<LPCWSTR>(lParam));
        return SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return SendMessageA(window, message, wParam, lParam);
}

BOOL WINAPI PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageA(window, message, wParam, lParam);
}

BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text) {
    return SetWindowTextA(window, utf8FromWide(text).c_str());
}

HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
    return LoadIconA(instance, reinterpret_cast<LPCSTR>(IS_INTRESOURCE(name) ? name : nullptr));
}

int WINAPI MessageBoxW(HWND window, LPCWSTR text, LPCWSTR caption, UINT type) {
    return MessageBoxA(window, utf8FromWide(text).c_str(),
                       caption ? utf8FromWide(caption).c_str() : nullptr, type);
}

void WINAPI OutputDebugStringW(LPCWSTR text) {
    OutputDebugStringA(utf8FromWide(text).c_str());
}
