#include "app/ShowScript.h"

#include "app/Timeline.h"

#include <cstdio>
#include <sstream>

double ShowScript::length() const {
    double total = 0.0;
    for (const ShowSegment& segment : segments) {
        total += segment.duration;
    }
    return total;
}

std::vector<double> ShowScript::durations() const {
    std::vector<double> out;
    for (const ShowSegment& segment : segments) {
        out.push_back(segment.duration);
    }
    return out;
}

bool ShowScript::camerasShownBetween(double from, double to) const {
    double start = 0.0;
    for (const ShowSegment& segment : segments) {
        const double end = start + segment.duration;
        // A segment owns its last moment too: the next one starts on the frame after it.
        if (segment.kind == ShowSegment::Kind::Camera && end >= from && (to < 0.0 || start <= to)) {
            return true;
        }
        start = end;
    }
    return false;
}

std::string ShowScript::at(const ShowFilePlace& place) const {
    return file.empty() ? "" : showFilePlace(file, place);
}

std::string showFilePlace(const std::string& file, const ShowFilePlace& place) {
    return file + ":" + std::to_string(place.line) + ":" + std::to_string(place.column) + ": ";
}

const ShowScript& builtInShow() {
    static const ShowScript script = [] {
        ShowScript s;
        s.scene = kSceneFileName;
        s.music = kMusicFileName;
        s.background = kShowBackground;
        s.ambient = kShowAmbient;
        for (const SegmentPlan& plan : kShowSegments) {
            ShowSegment segment;
            segment.kind = plan.kind == SegmentPlan::Kind::Splash ? ShowSegment::Kind::Splash
                                                                  : ShowSegment::Kind::Camera;
            segment.content = plan.content;
            segment.duration = plan.duration;
            segment.fadeInTime = plan.fadeInTime;
            segment.fadeOutTime = plan.fadeOutTime;
            segment.startTime = plan.startTime;
            s.segments.push_back(segment);
        }
        return s;
    }();
    return script;
}

namespace {

// A TOML basic string: quotes, backslashes and control characters escaped.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned char>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

std::string showFileText(const ShowScript& show) {
    std::ostringstream out;
    const auto colour = [&out](const char* key, const Vec4& c) {
        char line[96];
        std::snprintf(line, sizeof line, "%s = [%g, %g, %g]\n", key, c.x, c.y, c.z);
        out << line;
    };
    out << "scene = " << quoted(show.scene) << "\n";
    if (!show.music.empty()) {
        out << "music = " << quoted(show.music) << "\n";
    }
    colour("background", show.background);
    colour("ambient", show.ambient);
    for (const ShowSegment& segment : show.segments) {
        const bool splash = segment.kind == ShowSegment::Kind::Splash;
        out << "\n[[segment]]\n"
            << (splash ? "splash" : "camera") << " = " << quoted(segment.content) << "\n"
            << "duration = " << segment.duration << "\n"
            << "fade_in = " << segment.fadeInTime << "\n"
            << "fade_out = " << segment.fadeOutTime << "\n";
        if (!splash && segment.rewinds) {
            out << "start = " << segment.startTime << "\n";
        }
    }
    return out.str();
}
