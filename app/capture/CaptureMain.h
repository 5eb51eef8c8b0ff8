#pragma once

// tarnelix-capture: plays the show headless at a fixed frame rate and writes what it draws.
// Returns the process's exit code: 0 done, 1 failed, 2 bad command line.
int runCapture(int argc, const char* const* argv);
