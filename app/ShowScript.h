#pragma once

// What a show plays: its scene, music, colours and segments. The show program plays the one
// built in; the player and the capture can read another from a show file (ShowFile.h).

#include "engine/core/Vec4.h"

#include <string>
#include <vector>

// Where a value stood in a show file, for messages (0: it did not come from one).
struct ShowFilePlace {
    int line = 0;
    int column = 0;
};

struct ShowSegment {
    enum class Kind { Splash, Camera };
    Kind kind = Kind::Splash;
    std::string content; // image file of a splash, camera name of a camera segment
    float duration = 0.0f;
    float fadeInTime = 0.0f;
    float fadeOutTime = 0.0f;
    // Camera segments: rewind the scene and jump its animation to startTime, or (false) go on
    // from where the scene was left.
    bool rewinds = true;
    float startTime = 0.0f;
    ShowFilePlace place; // of the splash or camera key
};

struct ShowScript {
    std::string scene;
    std::string music; // "": none
    Vec4 background;   // the engine's colours from the first camera segment on
    Vec4 ambient;
    std::vector<ShowSegment> segments;
    std::string file; // the show file it came from, "" for the built-in one
    ShowFilePlace scenePlace;

    double length() const;
    std::vector<double> durations() const;
    // True when a camera segment is on screen at some moment from `from` to `to` seconds of
    // show time (`to` negative: the end of the show).
    bool camerasShownBetween(double from, double to) const;
    // "FILE:LINE:COLUMN: " for a place in the show file, "" for the built-in show.
    std::string at(const ShowFilePlace& place) const;
};

// "FILE:LINE:COLUMN: ", the way a fault in a show file begins.
std::string showFilePlace(const std::string& file, const ShowFilePlace& place);

// The show's own script: the splash, three cameras and the closing splash.
const ShowScript& builtInShow();

// The script as a show file (ShowFile.h) that reads back to the same script.
std::string showFileText(const ShowScript& show);
