// The FSOUND calls on SDL2_mixer. One music stream plays at a time, as SDL_mixer's music
// channel allows; that is all the program needs.
#include <fmod.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>

struct FSOUND_STREAM {
    Mix_Music* music = nullptr;
    bool looping = false;
};

namespace {

struct Library {
    int output = FSOUND_OUTPUT_NOSOUND;
    bool running = false;
    bool paused = false;
};

Library& library() {
    static Library state;
    return state;
}

} // namespace

namespace tarnelix::fmod {
void keepMp3DecoderQuiet(); // QuietMp3Decoder.cpp
} // namespace tarnelix::fmod

extern "C" {

signed char F_API FSOUND_SetOutput(int outputtype) {
    if (library().running || outputtype < FSOUND_OUTPUT_NOSOUND ||
        outputtype > FSOUND_OUTPUT_DSOUND) {
        return 0;
    }
    library().output = outputtype;
    return 1;
}

int F_API FSOUND_GetOutput(void) {
    return library().output;
}

signed char F_API FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int /*flags*/) {
    Library& state = library();
    if (state.running) {
        return 0;
    }
    if (mixrate <= 0 || maxsoftwarechannels < 0) {
        return 0;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return 0;
    }
    tarnelix::fmod::keepMp3DecoderQuiet();
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(mixrate, AUDIO_S16SYS, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    Mix_AllocateChannels(maxsoftwarechannels);
    state.running = true;
    state.paused = false;
    return 1;
}

void F_API FSOUND_Close(void) {
    Library& state = library();
    if (!state.running) {
        return;
    }
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    state.running = false;
}

FSOUND_STREAM* F_API FSOUND_Stream_Open(const char* name_or_data, unsigned int mode, int offset,
                                        int length) {
    if (!library().running || name_or_data == nullptr || offset != 0 || length != 0) {
        return nullptr;
    }
    Mix_Music* music = Mix_LoadMUS(name_or_data);
    if (music == nullptr) {
        return nullptr;
    }
    auto* stream = new FSOUND_STREAM;
    stream->music = music;
    stream->looping = (mode & FSOUND_LOOP_NORMAL) != 0;
    return stream;
}

int F_API FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream) {
    if (stream == nullptr || !library().running) {
        return -1;
    }
    // SDL_mixer counts plays, not repeats: 0 and 1 both play the music once, -1 for ever.
    if (Mix_PlayMusic(stream->music, stream->looping ? -1 : 0) != 0) {
        return -1;
    }
    return channel >= 0 ? channel : 0;
}

signed char F_API FSOUND_Stream_Close(FSOUND_STREAM* stream) {
    if (stream == nullptr) {
        return 0;
    }
    // Freeing the music that plays halts it first.
    Mix_FreeMusic(stream->music);
    delete stream;
    return 1;
}

signed char F_API FSOUND_Stream_SetTime(FSOUND_STREAM* stream, int ms) {
    if (stream == nullptr || !library().running || ms < 0) {
        return 0;
    }
    // Music that ran to its end has left the mixer: it has to be started again to be moved.
    if (!Mix_PlayingMusic()) {
        if (Mix_PlayMusic(stream->music, stream->looping ? -1 : 0) != 0) {
            return 0;
        }
        if (library().paused) {
            Mix_PauseMusic();
        }
    }
    return Mix_SetMusicPosition(ms / 1000.0) == 0 ? 1 : 0;
}

signed char F_API FSOUND_SetPaused(int /*channel*/, signed char paused) {
    Library& state = library();
    if (!state.running) {
        return 0;
    }
    state.paused = paused != 0;
    if (state.paused) {
        Mix_PauseMusic();
    } else {
        Mix_ResumeMusic();
    }
    return 1;
}

signed char F_API FSOUND_GetPaused(int /*channel*/) {
    return library().running && library().paused ? 1 : 0;
}

} // extern "C"
