#include "platform/SoundFailures.h"

#include <SDL.h>

#include <unistd.h>

const char* soundFailureReason() {
    return SDL_GetError();
}

const char* musicFailureReason(const char* fileName) {
    return access(fileName, R_OK) != 0 ? "the file is missing or cannot be read"
                                       : "not an MP3 that can be played";
}
