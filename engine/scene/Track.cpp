#include "engine/scene/Track.h"

#include <algorithm>
#include <cmath>

void FloatTrack::resize(int32_t count) {
    m_keys.reset();
    m_count = count > 0 ? count : 0;
    if (m_count > 0) {
        m_keys.reset(new float[static_cast<size_t>(m_count)]());
    }
}

void FloatTrack::advance(float dt) {
    // With fewer than two samples there is no interval to loop over: the only sample (if any)
    // holds for ever.
    if (m_count < 2) {
        m_cursor = 0.0f;
        return;
    }
    const float loop = static_cast<float>(m_count) - 1.0f;
    m_cursor = m_cursor + static_cast<float>(m_rate) * dt;
    m_cursor = std::fmod(m_cursor, loop);
    if (m_cursor < 0.0f) {
        // Only a negative dt gets here, which the player never passes; wrap instead of indexing
        // before the first sample.
        m_cursor += loop;
        if (m_cursor >= loop) {
            m_cursor = 0.0f;
        }
    }
}

float FloatTrack::evaluate(int mode) const {
    if (m_count == 0) {
        return 0.0f;
    }
    const int32_t last = m_count - 1;
    const int32_t i0 = std::min(static_cast<int32_t>(std::floor(m_cursor)), last);
    const int32_t i1 = std::min(static_cast<int32_t>(std::ceil(m_cursor)), last);
    const float t = m_cursor - static_cast<float>(i0);
    const float* k = m_keys.get();

    switch (mode) {
    case Step:
        return k[i0];
    case Linear:
        return k[i0] + (k[i1] - k[i0]) * t;
    case Spline: {
        const float p0 = k[std::max(0, std::min(i0 - 1, last))];
        const float p1 = k[i0];
        const float p2 = k[i1];
        const float p3 = k[std::max(0, std::min(i1 + 1, last))];
        return 0.5f * (2.0f * p1 + t * ((p2 - p0) + t * ((2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) +
                                                         t * (3.0f * p1 - p0 - 3.0f * p2 + p3))));
    }
    default:
        return 0.0f;
    }
}

void VectorTrack::resize(int32_t count) {
    for (FloatTrack& c : m_channels) {
        c.resize(count);
    }
}

void VectorTrack::setRate(int32_t rate) {
    for (FloatTrack& c : m_channels) {
        c.setRate(rate);
    }
}

void VectorTrack::setKey(int32_t index, const Vec4& value) {
    m_channels[0].setKey(index, value.x);
    m_channels[1].setKey(index, value.y);
    m_channels[2].setKey(index, value.z);
    m_channels[3].setKey(index, value.w);
}

void VectorTrack::rewind() {
    for (FloatTrack& c : m_channels) {
        c.rewind();
    }
}

void VectorTrack::advance(float dt) {
    for (FloatTrack& c : m_channels) {
        c.advance(dt);
    }
}

Vec4 VectorTrack::evaluate(int mode) const {
    return Vec4(m_channels[0].evaluate(mode), m_channels[1].evaluate(mode),
                m_channels[2].evaluate(mode), m_channels[3].evaluate(mode));
}
