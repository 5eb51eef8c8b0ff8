#pragma once

#include "tools/showgen/Synth.h"

#include <vector>

namespace showgen::synth {

// One note: times in seconds, pitch as a MIDI note number, velocity 0 to 1.
struct Note {
    double start = 0.0;
    double length = 0.0;
    double pitch = 60.0;
    double velocity = 1.0;
};

// Each instrument adds one note into a buffer, starting at the note's time.
void playKick(StereoBuffer& out, double start, double velocity);
void playSnare(StereoBuffer& out, double start, double velocity, uint32_t seed);
void playHat(StereoBuffer& out, double start, double velocity, bool open, uint32_t seed);
// brightness 0 to 1 opens the filter.
void playBass(StereoBuffer& out, const Note& note, double brightness);
// Unfiltered detuned saws: the pad bus is filtered as a whole (see lowPass), which costs one
// filter per channel instead of two per note.
void playPad(StereoBuffer& out, const Note& note, uint32_t seed);
void playLead(StereoBuffer& out, const Note& note);
void playPluck(StereoBuffer& out, const Note& note, double pan);

} // namespace showgen::synth
