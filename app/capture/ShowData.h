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

// Loads a scene file (the show's own for "") into the program's scene. False, with the reason
// in `error`.
bool loadShowScene(const std::string& path, std::string& error);

// True when all six shader programs built. The compiler's messages are on stderr already.
bool shaderProgramsBuilt(const RenderEngine& engine);

// True when a camera segment of the show is on screen at some moment from `from` to `to`
// seconds of show time (`to` negative: the end of the show). Splash segments draw a sprite and
// a fade only, with no shader program, so a capture of them alone needs none.
bool camerasShownBetween(double from, double to);

// The music file for a video: `path`, or "" after one line on stderr saying the video will be
// silent because the file is missing or is not an MP3.
std::string musicForVideo(const char* path);
