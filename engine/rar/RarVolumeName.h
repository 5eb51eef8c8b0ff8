#pragma once

#include <string>

namespace rar {

// The file name of the volume after `current` in a set. New numbering counts up the last number
// of the name before its extension, keeping its zero padding ("a.part09.rar", "a.part10.rar");
// old numbering goes from "a.rar" to "a.r00", "a.r01", ..., "a.r99", "a.s00". Empty when the
// name has nothing to count up.
std::string nextVolumeName(const std::string& current, bool newNumbering);

} // namespace rar
