#pragma once

// True when a window can be opened. Otherwise says so in one line on stderr under `program`'s
// name, pointing to the headless capture tool, instead of failing later in a less obvious way.
bool displayAvailable(const char* program);
