#pragma once

#include <string>

// The player's command line.
struct PlayerOptions {
    std::string dir;     // --dir: the show's folder; empty keeps the working one
    std::string show;    // --show: a show file, whose folder is the show's ("": the built-in)
    std::string scene;   // --scene: "" for the show's
    std::string music;   // --music: "" for the show's
    bool silent = false; // --silent: no music
    int width = 1024;
    int height = 768;
    bool fullscreen = false;
    double from = -1.0; // --from: where playing starts; negative: not given
    bool paused = false;
    double loopFrom = 0.0; // --loop FROM:TO
    double loopTo = -1.0;  // negative: no loop
    bool help = false;

    bool looping() const { return loopTo >= 0.0; }
    // --from where given, else the loop's start, else the show's.
    double startTime() const { return from >= 0.0 ? from : looping() ? loopFrom : 0.0; }
};

// Reads the arguments after the program name. False, with the reason in `error`, for anything
// unknown, malformed or out of range.
bool parsePlayerOptions(int argc, const char* const* argv, PlayerOptions& options,
                        std::string& error);

extern const char* const kPlayerUsage;
