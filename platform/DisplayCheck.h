#pragma once

// True when a window can be opened. Otherwise says so in one line on stderr, pointing to the
// headless capture tool, instead of failing later in a less obvious way.
bool displayAvailable();
