#include "tools/scene-import/StarterShow.h"

#include "tools/scene-import/SceneImport.h"

#include <algorithm>
#include <cmath>

namespace sceneimport {

ShowScript starterShow(const scenefile::Scene& scene, int fps, const std::string& sceneFile,
                       const std::string& musicFile) {
    constexpr float kFade = 1.0f;
    ShowScript show = builtInShow();
    show.scene = sceneFile;
    show.music = musicFile;
    show.segments.clear();
    const float length = scene.frameCount >= 2
                             ? static_cast<float>(scene.frameCount) / static_cast<float>(fps)
                             : static_cast<float>(kOrbitSeconds);
    // In hundredths, so that the file says exactly what plays.
    const float share = std::round(100.0f * length /
                                   static_cast<float>(std::max<size_t>(1, scene.cameras.size()))) /
                        100.0f;
    for (size_t i = 0; i < scene.cameras.size(); ++i) {
        ShowSegment segment;
        segment.kind = ShowSegment::Kind::Camera;
        segment.content = scene.cameras[i].name;
        segment.duration = std::max(share, kShortestStarterSegment);
        segment.fadeInTime = kFade;
        segment.fadeOutTime = kFade;
        segment.rewinds = true;
        segment.startTime = share * static_cast<float>(i);
        show.segments.push_back(segment);
    }
    return show;
}

} // namespace sceneimport
