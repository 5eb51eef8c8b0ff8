#pragma once

#include <cstdint>

// Starts and stops the sound library with a chosen output driver. The library is closed when
// the object goes away, whether or not it was started.
class SoundSystem {
public:
    // Output driver numbers for init.
    enum Driver { WindowsMultimedia = 0, DirectSound = 1 };

    SoundSystem() = default;
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // Starts the library with `channels` software channels at `mixRate` Hz. Any driver number
    // other than the two above leaves the library's own choice. True when it runs.
    bool init(int32_t channels, int32_t mixRate, int driver);

    int32_t channels() const { return m_channels; }
    int32_t mixRate() const { return m_mixRate; }

private:
    int32_t m_channels = 0;
    int32_t m_mixRate = 0;
};
