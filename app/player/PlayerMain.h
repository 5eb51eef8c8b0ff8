#pragma once

// tarnelix-player: the show in a window, with its time under the developer's hand. Returns the
// process's exit code.
int runPlayer(int argc, const char* const* argv);
