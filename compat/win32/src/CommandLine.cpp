#include "CommandLine.h"

namespace tarnelix::win32 {

std::string& commandLine() {
    static std::string line;
    return line;
}

} // namespace tarnelix::win32

LPSTR WINAPI GetCommandLineA(void) {
    return tarnelix::win32::commandLine().data();
}
