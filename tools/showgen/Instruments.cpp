#include "tools/showgen/Instruments.h"

#include "tools/showgen/DetMath.h"
#include "tools/showgen/Random.h"

#include <cmath>

namespace showgen::synth {

namespace {

size_t frameAt(double seconds) {
    return static_cast<size_t>(std::floor(seconds * kSampleRate + 0.5));
}

size_t framesOf(double seconds) {
    return frameAt(seconds);
}

// A start phase in [0, 1) for oscillators that must not start in step.
double startPhase(uint32_t seed) {
    return unitFromHash(hash32(seed));
}

// exp(-rate * t) advanced one sample at a time.
class Decay {
public:
    explicit Decay(double rate) : m_factor(detmath::exp(-rate / kSampleRate)) {}
    double next() {
        const double v = m_value;
        m_value *= m_factor;
        return v;
    }

private:
    double m_factor;
    double m_value = 1.0;
};

} // namespace

void playKick(StereoBuffer& out, double start, double velocity) {
    const size_t first = frameAt(start);
    Phase phase;
    Decay body(7.0);
    Decay sweep(28.0);
    Decay click(400.0);
    Noise noise(17u);
    for (size_t i = 0; i < framesOf(0.45); ++i) {
        const double frequency = 45.0 + 110.0 * sweep.next();
        const double tone = sineWave(phase.step(frequency)) * body.next();
        out.add(first + i, (tone + noise.next() * click.next() * 0.3) * velocity * 0.9, 0.0);
    }
}

void playSnare(StereoBuffer& out, double start, double velocity, uint32_t seed) {
    const size_t first = frameAt(start);
    Phase phase;
    Decay toneDecay(30.0);
    Decay noiseDecay(16.0);
    Noise noise(seed);
    Filter filter;
    filter.set(2000.0, 0.2);
    for (size_t i = 0; i < framesOf(0.3); ++i) {
        const double tone = sineWave(phase.step(190.0)) * toneDecay.next() * 0.45;
        filter.process(noise.next() * noiseDecay.next());
        const double rattle = filter.band() * 0.8 + filter.high() * 0.35;
        out.add(first + i, (tone + rattle) * velocity * 0.7, 0.05);
    }
}

void playHat(StereoBuffer& out, double start, double velocity, bool open, uint32_t seed) {
    const size_t first = frameAt(start);
    Decay decay(open ? 9.0 : 55.0);
    Noise noise(seed);
    Filter filter;
    filter.set(7000.0, 0.1);
    for (size_t i = 0; i < framesOf(open ? 0.4 : 0.09); ++i) {
        filter.process(noise.next());
        out.add(first + i, filter.high() * decay.next() * velocity * 0.28, 0.25);
    }
}

void playBass(StereoBuffer& out, const Note& note, double brightness) {
    const size_t first = frameAt(note.start);
    const double frequency = noteFrequency(note.pitch);
    const Envelope envelope{0.005, 0.2, 0.7, 0.08};
    Phase phase;
    Phase sub;
    // Advanced once per 16 samples, when the filter is retuned.
    Decay pluck(8.0 * 16.0);
    Filter filter;
    const size_t count = framesOf(note.length + envelope.release);
    for (size_t i = 0; i < count; ++i) {
        const double t = i / kSampleRate;
        if (i % 16 == 0) {
            filter.set(110.0 + brightness * 900.0 * (0.3 + pluck.next()), 0.3);
        }
        const double saw = sawWave(phase.step(frequency), frequency / kSampleRate);
        filter.process(saw);
        const double body = filter.low() + 0.5 * sineWave(sub.step(frequency));
        out.add(first + i, body * envelope.level(t, note.length) * note.velocity * 0.55, 0.0);
    }
}

void playPad(StereoBuffer& out, const Note& note, uint32_t seed) {
    const size_t first = frameAt(note.start);
    const Envelope envelope{0.8, 0.6, 0.8, 1.2};
    const double detune[3] = {-0.08, 0.0, 0.07};
    const double pans[3] = {-0.7, 0.0, 0.7};
    Phase phases[3] = {Phase(startPhase(seed)), Phase(startPhase(seed + 1)),
                       Phase(startPhase(seed + 2))};
    double frequencies[3];
    for (int v = 0; v < 3; ++v) {
        frequencies[v] = noteFrequency(note.pitch + detune[v]);
    }
    const size_t count = framesOf(note.length + envelope.release);
    double gain = 0.0;
    for (size_t i = 0; i < count; ++i) {
        if (i % 32 == 0) {
            gain = envelope.level(i / kSampleRate, note.length) * note.velocity * 0.16;
        }
        double l = 0.0;
        double r = 0.0;
        for (int v = 0; v < 3; ++v) {
            const double s = sawWave(phases[v].step(frequencies[v]), frequencies[v] / kSampleRate);
            l += s * (1.0 - pans[v]) * 0.5;
            r += s * (1.0 + pans[v]) * 0.5;
        }
        out.addStereo(first + i, l * gain, r * gain);
    }
}

void playLead(StereoBuffer& out, const Note& note) {
    const size_t first = frameAt(note.start);
    const Envelope envelope{0.015, 0.3, 0.6, 0.25};
    const double base = noteFrequency(note.pitch);
    Phase phase;
    Phase vibrato;
    Filter filter;
    filter.set(2600.0, 0.35);
    const size_t count = framesOf(note.length + envelope.release);
    double frequency = base;
    for (size_t i = 0; i < count; ++i) {
        const double t = i / kSampleRate;
        if (i % 32 == 0) {
            // Vibrato comes in after the attack, as a singer's would.
            const double depth = 0.22 * detmath::smoothstep(0.2, 0.6, t);
            const double wave = sineWave(vibrato.step(5.5 * 32.0));
            frequency = base * detmath::exp2(depth * wave / 12.0);
        }
        const double p = phase.step(frequency);
        const double dt = frequency / kSampleRate;
        filter.process(0.6 * squareWave(p, dt) + 0.4 * sawWave(p, dt));
        out.add(first + i, filter.low() * envelope.level(t, note.length) * note.velocity * 0.3,
                0.1);
    }
}

void playPluck(StereoBuffer& out, const Note& note, double pan) {
    const size_t first = frameAt(note.start);
    const double frequency = noteFrequency(note.pitch);
    Phase phase;
    Decay decay(6.0);
    Filter filter;
    filter.set(3200.0, 0.2);
    for (size_t i = 0; i < framesOf(0.7); ++i) {
        const double p = phase.step(frequency);
        filter.process(triangleWave(p) + 0.3 * sawWave(p, frequency / kSampleRate));
        const double attack = i < 64 ? i / 64.0 : 1.0;
        out.add(first + i, filter.low() * decay.next() * attack * note.velocity * 0.3, pan);
    }
}

} // namespace showgen::synth
