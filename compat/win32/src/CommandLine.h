#pragma once

#include <windows.h>

#include <string>

namespace tarnelix::win32 {

// The arguments after the program name, as WinMain and GetCommandLineA see them.
std::string& commandLine();

} // namespace tarnelix::win32
