#pragma once

#include "app/ShowScript.h"
#include "tools/scenewriter/SceneWriter.h"

#include <string>

namespace sceneimport {

// The shortest camera segment of a starter show, in seconds.
constexpr float kShortestStarterSegment = 5.0f;

// A show for an imported scene that plays as written: one camera segment per camera in the
// scene's order, each showing its share of the animation (from where that share starts), and
// at least kShortestStarterSegment long. `sceneFile` and `musicFile` ("" for none) are as the
// show file names them.
ShowScript starterShow(const scenefile::Scene& scene, int fps, const std::string& sceneFile,
                       const std::string& musicFile);

} // namespace sceneimport
