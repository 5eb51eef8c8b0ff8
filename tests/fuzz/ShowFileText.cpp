#include "FuzzInputs.h"

#include "app/ShowFile.h"

#include <cmath>
#include <string>
#include <string_view>

namespace {

bool playable(const ShowScript& script) {
    if (script.scene.empty() || script.segments.empty()) {
        return false;
    }
    for (const ShowSegment& segment : script.segments) {
        const bool timed = std::isfinite(segment.duration) && segment.duration > 0.0f &&
                           segment.fadeInTime >= 0.0f && segment.fadeOutTime >= 0.0f &&
                           segment.fadeInTime + segment.fadeOutTime <= segment.duration &&
                           std::isfinite(segment.startTime) && segment.startTime >= 0.0f;
        if (!timed || segment.content.empty()) {
            return false;
        }
    }
    return true;
}

} // namespace

// Whatever the bytes, a show file is either refused with one line saying where, or read into a
// script the timeline can play.
const char* readShowFileText(const uint8_t* data, size_t size) {
    ShowScript script;
    std::string error;
    std::vector<std::string> warnings;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!parseShowFile(text, "show.toml", script, error, warnings)) {
        if (error.rfind("show.toml:", 0) != 0 || error.find('\n') != std::string::npos) {
            return "a refusal that is not one line at a place in the file";
        }
        return nullptr;
    }
    return playable(script) ? nullptr : "a script accepted that cannot be played";
}
