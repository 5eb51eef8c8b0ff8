#pragma once

#include "app/ShowTypes.h"

#include <string>

// A capture loads and checks what the show reads before it writes anything: a file the show
// cannot use stops it at once with the reason, instead of spoiling a long capture.

// The show for a capture: its timeline finds the scene already loaded.
struct PreloadedShow : TarnelixShow {
    static void loadScene(Scene&, const char*, TextureCache&) {}
};
using CaptureTimeline = TimelineOf<PreloadedShow>;

// Loads a scene file (the show's own for "") into the program's scene. False, with "FILE:
// reason" in `error`.
bool loadShowScene(const std::string& path, std::string& error);

// True when all six shader programs built. The compiler's messages are on stderr already.
bool shaderProgramsBuilt(const RenderEngine& engine);

// The music file for a video: `path`, or "" after one line on stderr saying the video will be
// silent because the file is missing or is not an MP3.
std::string musicForVideo(const char* path);
