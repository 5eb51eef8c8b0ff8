#pragma once

// Conversions at the boundary between the program's strings and SDL's UTF-8.

#include <windows.h>

#include <string>

namespace tarnelix::win32 {

// A wide string (UTF-32 wchar_t here) as UTF-8; a null pointer gives "".
std::string utf8FromWide(LPCWSTR text);
// UTF-8 as UTF-16 code units, what WM_CHAR carries; malformed bytes become U+FFFD.
std::u16string utf16FromUtf8(const char* text);

} // namespace tarnelix::win32
