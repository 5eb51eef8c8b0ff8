#pragma once

// Numbers on the programs' command lines: the whole argument must be the number.

// A finite decimal number.
bool parseNumber(const char* text, double& value);
// A whole number within [low, high].
bool parseInteger(const char* text, int low, int high, int& value);
