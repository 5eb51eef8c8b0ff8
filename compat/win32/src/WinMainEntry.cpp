// The process entry point of a Windows program: builds the command line that WinMain expects
// (the arguments after the program name) and hands over to it. Kept in a library of its own so
// that programs with a main() of their own (tests, tools) never pull it in.

#include "CommandLine.h"

int main(int argc, char** argv) {
    std::string& line = tarnelix::win32::commandLine();
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            line += ' ';
        }
        line += argv[i];
    }
    return WinMain(GetModuleHandleA(nullptr), nullptr, line.data(), SW_SHOWDEFAULT);
}
