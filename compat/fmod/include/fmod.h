#pragma once

// A source-compatible subset of the sound library's FSOUND interface: output selection, start
// and close, and one streamed music file. Backed by SDL2_mixer; MP3 files are decoded by it.

#ifdef __cplusplus
extern "C" {
#endif

#define F_API

// Output types for FSOUND_SetOutput.
enum FSOUND_OUTPUTTYPES {
    FSOUND_OUTPUT_NOSOUND = 0,
    FSOUND_OUTPUT_WINMM = 1,
    FSOUND_OUTPUT_DSOUND = 2
};

// Stream modes for FSOUND_Stream_Open: 0 plays once.
#define FSOUND_LOOP_OFF 0x00000001
#define FSOUND_LOOP_NORMAL 0x00000002

// Channel argument of FSOUND_Stream_Play: any free channel.
#define FSOUND_FREE (-1)

typedef struct FSOUND_STREAM FSOUND_STREAM;

// Chooses the output before FSOUND_Init; here every output type plays through SDL's own choice
// of audio driver. Returns TRUE (1), or FALSE for an unknown type or after FSOUND_Init.
signed char F_API FSOUND_SetOutput(int outputtype);
// The output type last chosen (FSOUND_OUTPUT_NOSOUND until one is).
int F_API FSOUND_GetOutput(void);

// Starts the library. Non-zero on success; 0 when no audio device can be opened.
signed char F_API FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags);
// Stops everything and closes the audio device. Safe to call when FSOUND_Init failed.
void F_API FSOUND_Close(void);

// Opens a music file by name for streaming; offset and length must be 0. Null when the library
// is not running or the file cannot be opened or decoded.
FSOUND_STREAM* F_API FSOUND_Stream_Open(const char* name_or_data, unsigned int mode, int offset,
                                        int length);
// Starts the stream from its beginning, once or looping as opened. Returns the channel it plays
// on, or -1 on failure (no stream, library not running).
int F_API FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);
// Stops the stream if it plays and frees it. FALSE for a null stream.
signed char F_API FSOUND_Stream_Close(FSOUND_STREAM* stream);
// Moves the stream to `ms` milliseconds from its start. A stream that has played to its end
// starts again there, keeping the channel's pause. FALSE for a null stream or a position the
// decoder cannot reach.
signed char F_API FSOUND_Stream_SetTime(FSOUND_STREAM* stream, int ms);
// Pauses (non-zero) or resumes a channel; the music channel is the only one. FALSE when the
// library is not running.
signed char F_API FSOUND_SetPaused(int channel, signed char paused);
signed char F_API FSOUND_GetPaused(int channel);

#ifdef __cplusplus
}
#endif
