#pragma once

// Runs work that may crash in a child process. Assimp 5.2 dies on some files (a glTF skin
// without inverse bind matrices, for one); reading such a file first in a child turns the
// crash into a reason the tool can print.

#include <functional>
#include <string>

namespace sceneimport {

// True when `work` returned in the child; otherwise false with why it did not, in one line.
bool runsToEnd(const std::function<void()>& work, std::string& why);

} // namespace sceneimport
