#pragma once

#include <cstdio>

// Whether `stream` is a terminal a person watches, rather than a file or a pipe.
bool streamIsTerminal(std::FILE* stream);
