#pragma once

#include <string>

// Creates the folder `path` unless it exists. False when neither holds afterwards.
bool makeFolder(const std::string& path);
