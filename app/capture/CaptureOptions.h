#pragma once

#include <string>

// The capture tool's command line.
struct CaptureOptions {
    enum class Mode { None, Still, Frames, Video, Benchmark };
    Mode mode = Mode::None;
    double at = 0.0;       // --at: the moment of the still
    std::string out;       // --out: the still's PNG file
    std::string framesDir; // --frames: folder for numbered PNGs
    std::string videoPath; // --video: the MP4 file
    int width = 1024;
    int height = 768;
    int fps = 60;
    double from = 0.0;
    double to = -1.0;  // negative: to the end of the show
    bool seek = true;  // false (--no-seek): draw every frame from the start, as the show does
    std::string dir;   // --dir: the show's folder (empty: the working directory)
    std::string scene; // --scene: the scene, from the show's folder (empty: the show's own)
    std::string music; // --music: the video's music, from the show's folder (empty: the show's)
    std::string show;  // --show: a show file, whose folder is the show's (empty: the built-in)
};

// Reads the arguments after the program name. False, with the reason in `error`, for anything
// unknown, malformed, out of range or contradictory.
bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options,
                         std::string& error);

extern const char* const kCaptureUsage;
