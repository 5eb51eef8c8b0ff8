#include "engine/rar/RarAudio.h"

#include <cstdlib>
#include <cstring>

namespace rar {

void AudioPredictor::reset() {
    std::memset(m_channels, 0, sizeof(m_channels));
    m_channelDelta = 0;
}

uint8_t AudioPredictor::decode(int channel, int delta) {
    Channel& c = m_channels[channel & (kMaxChannels - 1)];
    c.byteCount++;
    c.d4 = c.d3;
    c.d3 = c.d2;
    c.d2 = c.lastDelta - c.d1;
    c.d1 = c.lastDelta;
    int predicted = 8 * c.lastChar + c.k[0] * c.d1 + c.k[1] * c.d2 + c.k[2] * c.d3 + c.k[3] * c.d4 +
                    c.k[4] * m_channelDelta;
    predicted = (predicted >> 3) & 0xFF;
    const int value = predicted - delta;

    const int d = static_cast<int8_t>(delta) * 8;
    c.dif[0] += std::abs(d);
    c.dif[1] += std::abs(d - c.d1);
    c.dif[2] += std::abs(d + c.d1);
    c.dif[3] += std::abs(d - c.d2);
    c.dif[4] += std::abs(d + c.d2);
    c.dif[5] += std::abs(d - c.d3);
    c.dif[6] += std::abs(d + c.d3);
    c.dif[7] += std::abs(d - c.d4);
    c.dif[8] += std::abs(d + c.d4);
    c.dif[9] += std::abs(d - m_channelDelta);
    c.dif[10] += std::abs(d + m_channelDelta);

    c.lastDelta = static_cast<int8_t>(value - c.lastChar);
    m_channelDelta = c.lastDelta;
    c.lastChar = value;
    if ((c.byteCount & 0x1F) == 0) {
        adapt(c);
    }
    return static_cast<uint8_t>(value);
}

void AudioPredictor::adapt(Channel& c) {
    uint32_t minDif = c.dif[0];
    int best = 0;
    c.dif[0] = 0;
    for (int i = 1; i < 11; ++i) {
        if (c.dif[i] < minDif) {
            minDif = c.dif[i];
            best = i;
        }
        c.dif[i] = 0;
    }
    if (best == 0) {
        return;
    }
    // Odd terms lower a weight, even terms raise it; weights stay within -17 .. 16.
    int& weight = c.k[(best - 1) / 2];
    if ((best & 1) != 0) {
        if (weight >= -16) {
            weight--;
        }
    } else if (weight < 16) {
        weight++;
    }
}

} // namespace rar
