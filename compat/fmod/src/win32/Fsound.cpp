// The FSOUND calls on Windows' own means: the system's MP3 codec (ACM) decodes the music when
// it is opened, and waveOut plays the samples from memory. One stream plays at a time, which is
// all the program needs; both output types play through waveOut.
#include <fmod.h>

#include "AcmMp3Decoder.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstdio>

struct FSOUND_STREAM {
    PcmSound sound;
    bool looping = false;
    HWAVEOUT device = nullptr;
    WAVEHDR header{};
};

namespace {

struct Library {
    int output = FSOUND_OUTPUT_NOSOUND;
    bool running = false;
    FSOUND_STREAM* playing = nullptr; // a new play stops the one before, as with one channel
};

Library& library() {
    static Library state;
    return state;
}

bool readFile(const char* name, std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        return false;
    }
    uint8_t block[64 * 1024];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

void stop(FSOUND_STREAM& stream) {
    if (library().playing == &stream) {
        library().playing = nullptr;
    }
    if (stream.device == nullptr) {
        return;
    }
    waveOutReset(stream.device);
    waveOutUnprepareHeader(stream.device, &stream.header, sizeof stream.header);
    waveOutClose(stream.device);
    stream.device = nullptr;
}

} // namespace

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
    if (state.running || mixrate <= 0 || maxsoftwarechannels < 0 || waveOutGetNumDevs() == 0) {
        return 0;
    }
    state.running = true;
    return 1;
}

void F_API FSOUND_Close(void) {
    if (library().playing != nullptr) {
        stop(*library().playing);
    }
    library().running = false;
}

FSOUND_STREAM* F_API FSOUND_Stream_Open(const char* name_or_data, unsigned int mode, int offset,
                                        int length) {
    if (!library().running || name_or_data == nullptr || offset != 0 || length != 0) {
        return nullptr;
    }
    std::vector<uint8_t> file;
    std::string error;
    auto* stream = new FSOUND_STREAM;
    if (!readFile(name_or_data, file) || !decodeMp3(file, stream->sound, error)) {
        delete stream;
        return nullptr;
    }
    stream->looping = (mode & FSOUND_LOOP_NORMAL) != 0;
    return stream;
}

int F_API FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream) {
    if (stream == nullptr || !library().running) {
        return -1;
    }
    if (library().playing != nullptr) {
        stop(*library().playing);
    }
    stop(*stream);
    if (waveOutOpen(&stream->device, WAVE_MAPPER, &stream->sound.format, 0, 0, CALLBACK_NULL) !=
        MMSYSERR_NOERROR) {
        stream->device = nullptr;
        return -1;
    }
    WAVEHDR& header = stream->header;
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(stream->sound.samples.data());
    header.dwBufferLength = static_cast<DWORD>(stream->sound.samples.size());
    if (waveOutPrepareHeader(stream->device, &header, sizeof header) != MMSYSERR_NOERROR) {
        waveOutClose(stream->device);
        stream->device = nullptr;
        return -1;
    }
    // The loop flags go on a prepared header: preparing wants them clear.
    if (stream->looping) {
        header.dwFlags |= WHDR_BEGINLOOP | WHDR_ENDLOOP;
        header.dwLoops = 0xFFFFFFFFu;
    }
    if (waveOutWrite(stream->device, &header, sizeof header) != MMSYSERR_NOERROR) {
        stop(*stream);
        return -1;
    }
    library().playing = stream;
    return channel >= 0 ? channel : 0;
}

signed char F_API FSOUND_Stream_Close(FSOUND_STREAM* stream) {
    if (stream == nullptr) {
        return 0;
    }
    stop(*stream);
    delete stream;
    return 1;
}

} // extern "C"
