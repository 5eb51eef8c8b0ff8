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
    // From the place played from to the end; a looping stream then plays the whole sound over
    // and over from `whole`.
    WAVEHDR tail{};
    WAVEHDR whole{};
};

namespace {

struct Library {
    int output = FSOUND_OUTPUT_NOSOUND;
    bool running = false;
    bool paused = false;
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
    for (WAVEHDR* header : {&stream.tail, &stream.whole}) {
        if (header->dwFlags & WHDR_PREPARED) {
            waveOutUnprepareHeader(stream.device, header, sizeof *header);
        }
    }
    waveOutClose(stream.device);
    stream.device = nullptr;
}

// Queues `size` bytes from `data`; `loops` plays them over and over.
bool queue(FSOUND_STREAM& stream, WAVEHDR& header, uint8_t* data, size_t size, bool loops) {
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(data);
    header.dwBufferLength = static_cast<DWORD>(size);
    if (waveOutPrepareHeader(stream.device, &header, sizeof header) != MMSYSERR_NOERROR) {
        return false;
    }
    // The loop flags go on a prepared header: preparing wants them clear.
    if (loops) {
        header.dwFlags |= WHDR_BEGINLOOP | WHDR_ENDLOOP;
        header.dwLoops = 0xFFFFFFFFu;
    }
    return waveOutWrite(stream.device, &header, sizeof header) == MMSYSERR_NOERROR;
}

// Plays the stream from byte `offset` of its samples, stopping whatever played before.
bool playFrom(FSOUND_STREAM& stream, size_t offset) {
    if (library().playing != nullptr) {
        stop(*library().playing);
    }
    stop(stream);
    if (waveOutOpen(&stream.device, WAVE_MAPPER, &stream.sound.format, 0, 0, CALLBACK_NULL) !=
        MMSYSERR_NOERROR) {
        stream.device = nullptr;
        return false;
    }
    // Paused before anything is queued, so that not one sample slips out.
    if (library().paused) {
        waveOutPause(stream.device);
    }
    std::vector<uint8_t>& samples = stream.sound.samples;
    const bool queued =
        offset == 0
            ? queue(stream, stream.whole, samples.data(), samples.size(), stream.looping)
            : queue(stream, stream.tail, samples.data() + offset, samples.size() - offset, false) &&
                  (!stream.looping ||
                   queue(stream, stream.whole, samples.data(), samples.size(), true));
    if (!queued) {
        stop(stream);
        return false;
    }
    library().playing = &stream;
    return true;
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
    state.paused = false;
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
    if (stream == nullptr || !library().running || !playFrom(*stream, 0)) {
        return -1;
    }
    return channel >= 0 ? channel : 0;
}

signed char F_API FSOUND_Stream_SetTime(FSOUND_STREAM* stream, int ms) {
    if (stream == nullptr || !library().running || ms < 0) {
        return 0;
    }
    const WAVEFORMATEX& format = stream->sound.format;
    const size_t frame = format.nBlockAlign > 0 ? format.nBlockAlign : 1;
    const size_t offset =
        static_cast<size_t>(static_cast<double>(ms) * format.nAvgBytesPerSec / 1000.0) / frame *
        frame;
    if (offset >= stream->sound.samples.size()) {
        return 0;
    }
    // A stream that ran to its end, or never played, starts again there.
    return playFrom(*stream, offset) ? 1 : 0;
}

signed char F_API FSOUND_SetPaused(int /*channel*/, signed char paused) {
    Library& state = library();
    if (!state.running) {
        return 0;
    }
    state.paused = paused != 0;
    if (state.playing != nullptr && state.playing->device != nullptr) {
        if (state.paused) {
            waveOutPause(state.playing->device);
        } else {
            waveOutRestart(state.playing->device);
        }
    }
    return 1;
}

signed char F_API FSOUND_GetPaused(int /*channel*/) {
    return library().running && library().paused ? 1 : 0;
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
