#include "platform/SoundFailures.h"

#include "AcmMp3Decoder.h"

#include <windows.h>

#include <cstdio>

const char* soundFailureReason() {
    return waveOutGetNumDevs() == 0 ? "no sound output device"
                                    : "the sound device cannot be opened";
}

const char* musicFailureReason(const char* fileName) {
    FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        return "the file is missing or cannot be read";
    }
    std::fclose(file);
    return acmHasMp3Decoder() ? "not an MP3 that can be played"
                              : "Windows has no MP3 decoder (ACM codec) installed";
}
