#pragma once

#include "engine/core/Vec4.h"

#include <cstdint>
#include <memory>

// One sampled animation channel: sample i belongs to time i / rate seconds into the loop. The
// cursor moves at `rate` samples per second and wraps at the last sample, so a loop of count
// samples lasts (count - 1) / rate seconds.
class FloatTrack {
public:
    enum Mode { Step = 0, Linear = 1, Spline = 2 };

    // Discards the samples and makes room for `count` new ones; cursor and rate stay.
    void resize(int32_t count);
    void setRate(int32_t rate) { m_rate = rate; }
    void setKey(int32_t index, float value) { m_keys[index] = value; }
    void rewind() { m_cursor = 0.0f; }

    void advance(float dt);
    float evaluate(int mode) const;

    int32_t count() const { return m_count; }
    int32_t rate() const { return m_rate; }
    float cursor() const { return m_cursor; }
    float key(int32_t index) const { return m_keys[index]; }

    // An empty track carries no animation.
    bool animated() const { return m_count > 0; }

private:
    std::unique_ptr<float[]> m_keys;
    int32_t m_rate = 0;
    float m_cursor = 0.0f;
    int32_t m_count = 0;
};

// Four channels (x, y, z, w) that are always sized, rated and advanced together.
class VectorTrack {
public:
    void resize(int32_t count);
    void setRate(int32_t rate);
    void setKey(int32_t index, const Vec4& value);
    void rewind();
    void advance(float dt);
    Vec4 evaluate(int mode) const;

    const FloatTrack& channel(int i) const { return m_channels[i]; }
    int32_t count() const { return m_channels[0].count(); }
    bool animated() const { return m_channels[0].animated(); }

private:
    FloatTrack m_channels[4];
};
