// The score: chords, bass lines, drum patterns and the melody, written tracker-style as
// sixteen steps to the bar, and the arrangement that brings the parts in section by section.
#include "tools/showgen/DetMath.h"
#include "tools/showgen/Instruments.h"
#include "tools/showgen/Music.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>

namespace showgen {

using synth::Note;
using synth::StereoBuffer;

namespace {

constexpr int kStepsPerBar = 16;
constexpr double kStep = kSecondsPerBar / kStepsPerBar;

enum class Section { Opening, First, Second, Third, Closing };

Section sectionOf(int bar) {
    if (bar < kSectionBars[1]) {
        return Section::Opening;
    }
    if (bar < kSectionBars[2]) {
        return Section::First;
    }
    if (bar < kSectionBars[3]) {
        return Section::Second;
    }
    if (bar < kSectionBars[4]) {
        return Section::Third;
    }
    return Section::Closing;
}

double barStart(int bar) {
    return bar * kSecondsPerBar;
}

// A chord: the bass root and the pad's voicing, as MIDI notes.
struct Chord {
    int root;
    std::vector<int> voicing;
};

const Chord kAm9{45, {57, 60, 64, 67, 71}};
const Chord kFmaj7{41, {53, 57, 60, 64, 67}};
const Chord kCmaj7{48, {55, 60, 64, 71}};
const Chord kG6{43, {55, 59, 62, 64}};
const Chord kDm7{50, {57, 60, 62, 65}};
const Chord kE7{40, {56, 59, 62, 64}};

const Chord& chordOf(int bar) {
    static const Chord* const calm[4] = {&kAm9, &kFmaj7, &kCmaj7, &kG6};
    static const Chord* const full[8] = {&kAm9, &kFmaj7, &kCmaj7, &kG6,
                                         &kAm9, &kFmaj7, &kDm7,   &kE7};
    const Section section = sectionOf(bar);
    if (section == Section::Third) {
        return *full[(bar - kSectionBars[3]) % 8];
    }
    if (section == Section::Closing) {
        return bar % 2 == 0 ? kAm9 : kFmaj7;
    }
    return *calm[bar % 4];
}

// Turns a bar of tracker text into notes: a note name ("E5", "G#4", "Bb3") starts a note,
// "-" holds the one before, "." is silence. `transpose` shifts every note.
std::vector<Note> parseBar(const std::string& text, double start, double velocity,
                           int transpose = 0) {
    std::vector<Note> notes;
    std::istringstream tokens(text);
    std::string token;
    int step = 0;
    while (tokens >> token) {
        if (token == "-") {
            if (!notes.empty()) {
                notes.back().length += kStep;
            }
        } else if (token != ".") {
            static const int kLetters[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
            int pitch = kLetters[token[0] - 'A'];
            size_t i = 1;
            if (token[i] == '#') {
                ++pitch;
                ++i;
            } else if (token[i] == 'b') {
                --pitch;
                ++i;
            }
            const int octave = token[i] - '0';
            notes.push_back(
                {start + step * kStep, kStep, pitch + 12.0 * (octave + 1) + transpose, velocity});
        }
        ++step;
    }
    return notes;
}

// The melody: eight bars over the full progression.
const char* const kMelody[8] = {
    "E5 - - - - - D5 - C5 - - - B4 - C5 -",  "A4 - - - - - - - . . C5 - D5 - E5 -",
    "G5 - - - E5 - - - D5 - C5 - D5 - E5 -", "D5 - - - - - - - B4 - - - . . . .",
    "E5 - - - - - G5 - A5 - - - G5 - E5 -",  "F5 - - - E5 - - - C5 - - - A4 - C5 -",
    "D5 - - - F5 - - - A5 - - - G5 - F5 -",  "E5 - - - - - - - D5 - - - B4 - G#4 -",
};
const char* const kFarewell[4] = {
    "E5 - - - - - D5 - C5 - - - B4 - - -",
    "A4 - - - - - - - - - - - - - - -",
    ". . . . . . . . . . . . . . . .",
    ". . . . . . . . . . . . . . . .",
};

bool breakdown(int bar) {
    return bar >= 40 && bar < 44;
}

// How far the pad filter is open in a bar, 0 to 1.
double padBrightness(int bar) {
    switch (sectionOf(bar)) {
    case Section::Opening:
        return 0.15 + 0.1 * bar;
    case Section::First:
        return 0.45;
    case Section::Second:
        return 0.6;
    case Section::Third:
        return breakdown(bar) ? 0.35 : 0.75;
    case Section::Closing:
        return 0.4;
    }
    return 0.5;
}

void addPads(StereoBuffer& pads) {
    for (int bar = 0; bar < kBars - 1; ++bar) {
        // The last chord rings out over the final two bars.
        const double length = bar == kBars - 2 ? 2 * kSecondsPerBar : kSecondsPerBar;
        const Chord& chord = chordOf(bar);
        for (size_t i = 0; i < chord.voicing.size(); ++i) {
            const Note note{barStart(bar), length, static_cast<double>(chord.voicing[i]), 1.0};
            synth::playPad(pads, note, static_cast<uint32_t>(bar * 16 + i));
        }
    }
    // The filter follows the brightness from bar to bar, with a slow sweep on top.
    synth::lowPass(
        pads,
        [](double t) {
            const double position = t / kSecondsPerBar;
            const int bar = std::min(static_cast<int>(position), kBars - 1);
            const int next = std::min(bar + 1, kBars - 1);
            const double blend = detmath::smoothstep(0.0, 1.0, position - bar);
            const double brightness = detmath::lerp(padBrightness(bar), padBrightness(next), blend);
            const double sweep = 1.0 + 0.2 * detmath::sin(t * 0.2 * detmath::kTwoPi);
            return (350.0 + 2200.0 * brightness) * sweep;
        },
        0.15);
}

void addBass(StereoBuffer& bass) {
    const char* calm = "R - - - - - - - R - - - . . R -";
    const char* driving = "R - . R . . R - . . R - R . O .";
    const char* held = "R - - - - - - - - - - - - - - -";
    for (int bar = kSectionBars[1]; bar < kSectionBars[4] + 1; ++bar) {
        const Section section = sectionOf(bar);
        const char* pattern = section == Section::First                       ? calm
                              : breakdown(bar) || section == Section::Closing ? held
                                                                              : driving;
        const int root = chordOf(bar).root;
        std::istringstream tokens(pattern);
        std::string token;
        int step = 0;
        std::vector<Note> notes;
        while (tokens >> token) {
            if (token == "R" || token == "O") {
                notes.push_back(
                    {barStart(bar) + step * kStep, kStep, root + (token == "O" ? 12.0 : 0.0), 1.0});
            } else if (token == "-" && !notes.empty()) {
                notes.back().length += kStep;
            }
            ++step;
        }
        const double brightness = section == Section::First ? 0.35 : 0.7;
        for (const Note& note : notes) {
            synth::playBass(bass, note, brightness);
        }
    }
}

void addDrums(StereoBuffer& drums) {
    uint32_t seed = 1;
    for (int bar = kSectionBars[1]; bar < kBars; ++bar) {
        const Section section = sectionOf(bar);
        const double t0 = barStart(bar);
        if (section == Section::Closing) {
            if (bar == kSectionBars[4]) {
                synth::playKick(drums, t0, 1.0);
                synth::playHat(drums, t0, 0.9, true, seed++);
            }
            continue;
        }
        if (section == Section::First) {
            for (int step = 0; step < kStepsPerBar; step += 2) {
                synth::playHat(drums, t0 + step * kStep, step % 4 == 0 ? 0.5 : 0.3, false, seed++);
            }
            if (bar >= 8) {
                synth::playKick(drums, t0, 0.6);
                synth::playKick(drums, t0 + 10 * kStep, 0.4);
            }
            continue;
        }
        if (breakdown(bar)) {
            for (int step = 0; step < kStepsPerBar; step += 2) {
                synth::playHat(drums, t0 + step * kStep, 0.35, false, seed++);
            }
            if (bar == 43) {
                // A snare roll rising into the return of the beat.
                for (int step = 0; step < kStepsPerBar; ++step) {
                    synth::playSnare(drums, t0 + step * kStep, 0.2 + 0.05 * step, seed++);
                }
            }
            continue;
        }
        // The full beat of the second and third views.
        synth::playKick(drums, t0, 1.0);
        synth::playKick(drums, t0 + 7 * kStep, 0.7);
        synth::playKick(drums, t0 + 10 * kStep, 0.85);
        synth::playSnare(drums, t0 + 4 * kStep, 0.9, seed++);
        synth::playSnare(drums, t0 + 12 * kStep, 0.9, seed++);
        for (int step = 0; step < kStepsPerBar; ++step) {
            if (step == 14) {
                synth::playHat(drums, t0 + step * kStep, 0.5, true, seed++);
            } else {
                synth::playHat(drums, t0 + step * kStep, step % 2 == 0 ? 0.55 : 0.3, false, seed++);
            }
        }
        if (bar % 4 == 3) {
            for (int step = 13; step < 16; ++step) {
                synth::playSnare(drums, t0 + step * kStep, 0.4 + 0.1 * (step - 13), seed++);
            }
        }
        if (bar == 44) {
            synth::playHat(drums, t0, 1.0, true, seed++);
        }
    }
}

void addArpeggio(StereoBuffer& arp) {
    static const int kOrder[8] = {0, 1, 2, 3, 2, 1, 3, 2};
    for (int bar = 2; bar < kSectionBars[4]; ++bar) {
        const Section section = sectionOf(bar);
        const Chord& chord = chordOf(bar);
        const int size = static_cast<int>(chord.voicing.size());
        // Sparse bells while the scene is still dark, a running line once it moves.
        const bool running = section == Section::Second || section == Section::Third ||
                             (section == Section::First && bar >= 8);
        const int stride = running ? 1 : 6;
        for (int step = 0; step < kStepsPerBar; step += stride) {
            const int pitch = chord.voicing[static_cast<size_t>(kOrder[step % 8] % size)] + 12;
            const double velocity = running ? (step % 4 == 0 ? 0.55 : 0.38) : 0.45;
            const Note note{barStart(bar) + step * kStep, kStep, static_cast<double>(pitch),
                            velocity};
            synth::playPluck(arp, note, step % 2 == 0 ? -0.45 : 0.45);
        }
    }
}

void addLead(StereoBuffer& lead) {
    for (int bar = kSectionBars[3]; bar < kBars; ++bar) {
        std::vector<Note> notes;
        if (sectionOf(bar) == Section::Closing) {
            notes = parseBar(kFarewell[bar - kSectionBars[4]], barStart(bar), 0.8);
        } else {
            const int phrase = (bar - kSectionBars[3]) % 8;
            notes = parseBar(kMelody[phrase], barStart(bar), breakdown(bar) ? 0.6 : 0.9);
            if (bar >= 44) {
                // The last round is doubled an octave down for weight.
                for (Note& note : parseBar(kMelody[phrase], barStart(bar), 0.45, -12)) {
                    notes.push_back(note);
                }
            }
        }
        for (const Note& note : notes) {
            synth::playLead(lead, note);
        }
    }
}

} // namespace

// Renders every part into its own bus and mixes them with their effects.
synth::StereoBuffer renderSong() {
    const size_t frames = static_cast<size_t>(kMusicSeconds * kMusicSampleRate);
    StereoBuffer pads(frames);
    StereoBuffer bass(frames);
    StereoBuffer drums(frames);
    StereoBuffer arp(frames);
    StereoBuffer lead(frames);
    addPads(pads);
    addBass(bass);
    addDrums(drums);
    addArpeggio(arp);
    addLead(lead);

    StereoBuffer mix(frames);
    mix.mixIn(pads, 0.7);
    mix.mixIn(bass, 1.0);
    mix.mixIn(drums, 1.2);
    mix.mixIn(arp, 0.8);
    mix.mixIn(lead, 1.0);
    const size_t dottedEighth = static_cast<size_t>(3 * kStep * kMusicSampleRate + 0.5);
    StereoBuffer sends(frames);
    sends.mixIn(lead, 1.0);
    sends.mixIn(arp, 0.6);
    synth::pingPongDelay(sends, mix, dottedEighth, 0.45, 0.35);
    sends.mixIn(pads, 1.0);
    sends.mixIn(drums, 0.15);
    synth::reverb(sends, mix, 0.8, 0.9);
    return mix;
}

} // namespace showgen
