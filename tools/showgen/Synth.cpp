#include "tools/showgen/Synth.h"

#include "tools/showgen/DetMath.h"

#include <algorithm>

namespace showgen::synth {

double noteFrequency(double note) {
    return 440.0 * detmath::exp2((note - 69.0) / 12.0);
}

namespace {

// Smooths the jump of a sawtooth or square that falls within one sample of phase 0.
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

} // namespace

double sawWave(double phase, double increment) {
    return 2.0 * phase - 1.0 - polyBlep(phase, increment);
}

double squareWave(double phase, double increment) {
    double value = phase < 0.5 ? 1.0 : -1.0;
    value += polyBlep(phase, increment);
    double shifted = phase + 0.5;
    shifted -= static_cast<double>(static_cast<int64_t>(shifted));
    value -= polyBlep(shifted, increment);
    return value;
}

double sineWave(double phase) {
    return detmath::sin(phase * detmath::kTwoPi);
}

double triangleWave(double phase) {
    return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
}

double Envelope::level(double t, double held) const {
    auto sustained = [&](double time) {
        if (time < attack) {
            return time / attack;
        }
        if (time < attack + decay) {
            return 1.0 - (1.0 - sustain) * (time - attack) / decay;
        }
        return sustain;
    };
    if (t < 0.0) {
        return 0.0;
    }
    if (t < held) {
        return sustained(t);
    }
    const double released = (t - held) / release;
    return released >= 1.0 ? 0.0 : sustained(held) * (1.0 - released);
}

void Filter::set(double cutoff, double resonance) {
    const double angle = detmath::kPi * std::min(cutoff, kSampleRate * 0.45) / kSampleRate;
    const double g = detmath::sin(angle) / detmath::cos(angle);
    m_k = 2.0 - 2.0 * std::clamp(resonance, 0.0, 0.95);
    m_a1 = 1.0 / (1.0 + g * (g + m_k));
    m_a2 = g * m_a1;
    m_a3 = g * m_a2;
}

void Filter::process(double input) {
    const double v3 = input - m_state2;
    const double v1 = m_a1 * m_state1 + m_a2 * v3;
    const double v2 = m_state2 + m_a2 * m_state1 + m_a3 * v3;
    // The tiny offset keeps decaying states out of the slow denormal range.
    m_state1 = 2.0 * v1 - m_state1 + 1e-20;
    m_state2 = 2.0 * v2 - m_state2 + 1e-20;
    m_low = v2;
    m_band = v1;
    m_high = input - m_k * v1 - v2;
}

void StereoBuffer::add(size_t frame, double value, double pan) {
    if (frame >= frames()) {
        return;
    }
    // A linear pan law is enough at these small pan amounts and keeps the arithmetic simple.
    m_samples[frame * 2] += value * (1.0 - pan) * 0.5;
    m_samples[frame * 2 + 1] += value * (1.0 + pan) * 0.5;
}

void StereoBuffer::addStereo(size_t frame, double l, double r) {
    if (frame >= frames()) {
        return;
    }
    m_samples[frame * 2] += l;
    m_samples[frame * 2 + 1] += r;
}

void StereoBuffer::mixIn(const StereoBuffer& other, double gain) {
    const size_t n = std::min(m_samples.size(), other.m_samples.size());
    for (size_t i = 0; i < n; ++i) {
        m_samples[i] += other.m_samples[i] * gain;
    }
}

void pingPongDelay(const StereoBuffer& in, StereoBuffer& out, size_t delayFrames, double feedback,
                   double wet) {
    std::vector<double> left(delayFrames, 0.0);
    std::vector<double> right(delayFrames, 0.0);
    size_t cursor = 0;
    for (size_t i = 0; i < in.frames(); ++i) {
        const double delayedLeft = left[cursor];
        const double delayedRight = right[cursor];
        // Each echo crosses to the other side.
        left[cursor] = (in.left(i) + in.right(i)) * 0.5 + delayedRight * feedback;
        right[cursor] = delayedLeft * feedback;
        out.addStereo(i, delayedLeft * wet, delayedRight * wet);
        cursor = cursor + 1 == delayFrames ? 0 : cursor + 1;
    }
}

namespace {

class Comb {
public:
    Comb(size_t length, double feedback, double damping)
        : m_buffer(length, 0.0), m_feedback(feedback), m_damping(damping) {}
    double process(double input) {
        const double output = m_buffer[m_cursor];
        m_store = output * (1.0 - m_damping) + m_store * m_damping + 1e-20;
        m_buffer[m_cursor] = input + m_store * m_feedback;
        m_cursor = m_cursor + 1 == m_buffer.size() ? 0 : m_cursor + 1;
        return output;
    }

private:
    std::vector<double> m_buffer;
    double m_feedback;
    double m_damping;
    double m_store = 0.0;
    size_t m_cursor = 0;
};

class AllPass {
public:
    explicit AllPass(size_t length) : m_buffer(length, 0.0) {}
    double process(double input) {
        const double delayed = m_buffer[m_cursor];
        const double output = delayed - input;
        m_buffer[m_cursor] = input + delayed * 0.5;
        m_cursor = m_cursor + 1 == m_buffer.size() ? 0 : m_cursor + 1;
        return output;
    }

private:
    std::vector<double> m_buffer;
    size_t m_cursor = 0;
};

// One channel of the room; `spread` detunes the delay lengths between the channels.
class Room {
public:
    Room(double size, size_t spread) {
        for (size_t length : {1109u, 1201u, 1307u, 1427u, 1523u}) {
            m_combs.emplace_back(length + spread, 0.7 + 0.26 * size, 0.3);
        }
        m_allPasses.emplace_back(557 + spread);
        m_allPasses.emplace_back(443 + spread);
    }
    double process(double input) {
        double sum = 0.0;
        for (Comb& comb : m_combs) {
            sum += comb.process(input);
        }
        for (AllPass& pass : m_allPasses) {
            sum = pass.process(sum);
        }
        return sum;
    }

private:
    std::vector<Comb> m_combs;
    std::vector<AllPass> m_allPasses;
};

} // namespace

void reverb(const StereoBuffer& in, StereoBuffer& out, double size, double wet) {
    Room left(size, 0);
    Room right(size, 29);
    const double scale = wet * 0.12;
    for (size_t i = 0; i < in.frames(); ++i) {
        const double mono = (in.left(i) + in.right(i)) * 0.5;
        out.addStereo(i, left.process(mono) * scale, right.process(mono) * scale);
    }
}

} // namespace showgen::synth
