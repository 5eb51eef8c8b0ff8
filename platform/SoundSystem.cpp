#include "platform/SoundSystem.h"

#include "engine/core/Log.h"

#include <fmod.h>

SoundSystem::~SoundSystem() {
    FSOUND_Close();
}

bool SoundSystem::init(int32_t channels, int32_t mixRate, int driver) {
    Log::section(1, "Sound System");
    Log::write(1, "Inicializing Sound:\n");
    if (driver == WindowsMultimedia) {
        Log::write(1, "\tDriver:\t\tWindows MMSystem\n");
        FSOUND_SetOutput(FSOUND_OUTPUT_WINMM);
    } else if (driver == DirectSound) {
        Log::write(1, "\tDriver:\t\tMicrosoft Direct Sound\n");
        FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND);
    }
    Log::write(1, "\tSampling:\t%d\n", mixRate);
    Log::write(1, "\tChannels:\t%d\n", channels);
    if (FSOUND_Init(mixRate, channels, 0) == 0) {
        Log::write(1, " !!!! COULD NOT INICIALIZE !!!!\n");
        Log::write(4, "!!! FAILED TO START SOUND SYSTEM!!!\nPlease see the log file");
        return false;
    }
    m_channels = channels;
    m_mixRate = mixRate;
    Log::write(1, "Inicialized\n");
    return true;
}
