#pragma once

// Building blocks of the music synthesiser: oscillators, envelopes, a filter, a noise source
// and the effects of the mix. Everything runs sample by sample on doubles with deterministic
// arithmetic, so the rendered music is the same on every machine.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace showgen::synth {

constexpr double kSampleRate = 44100.0;

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double noteFrequency(double note);

// A phase accumulator in cycles (0 to 1).
class Phase {
public:
    explicit Phase(double start = 0.0) : m_phase(start) {}
    // Returns the phase before advancing by one sample at the given frequency.
    double step(double frequency) {
        const double p = m_phase;
        m_phase += frequency / kSampleRate;
        m_phase -= static_cast<double>(static_cast<int64_t>(m_phase));
        return p;
    }

private:
    double m_phase;
};

// Band-limited sawtooth and square (polynomial correction at the jumps) and a sine.
double sawWave(double phase, double increment);
double squareWave(double phase, double increment);
double sineWave(double phase);
double triangleWave(double phase);

// White noise in [-1, 1] from a small integer generator.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed | 1u) {}
    double next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<double>(m_state) / 2147483648.0 - 1.0;
    }

private:
    uint32_t m_state;
};

// Attack, decay to sustain, hold while the note is on, release; times in seconds.
struct Envelope {
    double attack = 0.01;
    double decay = 0.1;
    double sustain = 0.7;
    double release = 0.2;

    // Level at time t after the note starts, for a note held for `held` seconds.
    double level(double t, double held) const;
};

// A state-variable filter in trapezoidal form: low-pass, band-pass and high-pass at once, stable
// at every cutoff below half the sample rate.
class Filter {
public:
    // resonance from 0 (none) to nearly 1.
    void set(double cutoff, double resonance);
    void process(double input);
    double low() const { return m_low; }
    double band() const { return m_band; }
    double high() const { return m_high; }

private:
    double m_a1 = 1.0;
    double m_a2 = 0.0;
    double m_a3 = 0.0;
    double m_k = 2.0;
    double m_state1 = 0.0;
    double m_state2 = 0.0;
    double m_low = 0.0;
    double m_band = 0.0;
    double m_high = 0.0;
};

// A stereo sample buffer, frames interleaved left, right.
class StereoBuffer {
public:
    explicit StereoBuffer(size_t frames = 0) : m_samples(frames * 2, 0.0) {}
    size_t frames() const { return m_samples.size() / 2; }
    double& left(size_t frame) { return m_samples[frame * 2]; }
    double& right(size_t frame) { return m_samples[frame * 2 + 1]; }
    double left(size_t frame) const { return m_samples[frame * 2]; }
    double right(size_t frame) const { return m_samples[frame * 2 + 1]; }
    // Adds a mono sample at a pan position (-1 left, 1 right); frames past the end are dropped.
    void add(size_t frame, double value, double pan);
    void addStereo(size_t frame, double l, double r);
    // Adds another buffer scaled by gain.
    void mixIn(const StereoBuffer& other, double gain);

private:
    std::vector<double> m_samples;
};

// Low-passes both channels in place; cutoffAt(seconds) is asked every 32 frames.
template <typename CutoffAt>
void lowPass(StereoBuffer& buffer, CutoffAt cutoffAt, double resonance) {
    Filter left;
    Filter right;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        if (i % 32 == 0) {
            const double cutoff = cutoffAt(i / kSampleRate);
            left.set(cutoff, resonance);
            right.set(cutoff * 1.05, resonance);
        }
        left.process(buffer.left(i));
        right.process(buffer.right(i));
        buffer.left(i) = left.low();
        buffer.right(i) = right.low();
    }
}

// A feedback delay bouncing between the channels.
void pingPongDelay(const StereoBuffer& in, StereoBuffer& out, size_t delayFrames, double feedback,
                   double wet);

// A small room: parallel damped comb filters into series all-pass filters, per channel.
void reverb(const StereoBuffer& in, StereoBuffer& out, double size, double wet);

} // namespace showgen::synth
