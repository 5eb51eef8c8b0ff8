#pragma once

#include <cstdint>

namespace rar {

// The multimedia mode's adaptive delta predictor: each channel predicts its next byte from
// its recent deltas and the other channel's last delta, and every 32 bytes nudges one of its
// five weights toward the term that would have erred least.
class AudioPredictor {
public:
    static constexpr int kMaxChannels = 4;

    void reset();
    uint8_t decode(int channel, int delta);

private:
    struct Channel {
        int k[5];
        int d1, d2, d3, d4;
        int lastDelta;
        uint32_t dif[11];
        uint32_t byteCount;
        int lastChar;
    };

    static void adapt(Channel& c);

    Channel m_channels[kMaxChannels] = {};
    int m_channelDelta = 0;
};

} // namespace rar
