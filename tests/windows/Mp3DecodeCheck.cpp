// The Windows sound library on a real MP3, run under Wine or Windows (make windows-check): the
// system's codec is found, decodes the whole file to 16-bit PCM in the file's own rate and
// channels, and gives as many samples as the frames hold, give or take the codec's delay;
// something that is no MP3 is refused as such; and the FSOUND calls play the file where there
// is a sound output.

#include "AcmMp3Decoder.h"
#include "Mp3Frame.h"

#include <fmod.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

int g_failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    g_failures += ok ? 0 : 1;
}

// Samples per channel that the frames of the file hold.
long long samplesInFrames(const std::vector<uint8_t>& file, const Mp3Frame& first) {
    long long samples = 0;
    size_t at = first.offset;
    Mp3Frame frame;
    while (at + 4 <= file.size() && parseMp3FrameHeader(file.data() + at, frame)) {
        samples += frame.samplesPerFrame;
        at += frame.frameBytes;
    }
    return samples;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mp3-decode-check FILE.mp3\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    Mp3Frame first;
    check(findFirstMp3Frame(file.data(), file.size(), first), "the file starts like an MP3");
    check(acmHasMp3Decoder(), "an MP3 codec is installed");

    PcmSound sound;
    std::string error;
    const bool decoded = decodeMp3(file, sound, error);
    check(decoded, decoded ? "the file decodes" : error.c_str());
    if (decoded) {
        const WAVEFORMATEX& f = sound.format;
        std::printf("%lu Hz, %u channels, %u bits, %zu bytes\n", f.nSamplesPerSec, f.nChannels,
                    f.wBitsPerSample, sound.samples.size());
        check(f.wFormatTag == WAVE_FORMAT_PCM && f.wBitsPerSample == 16, "16-bit PCM");
        check(static_cast<int>(f.nSamplesPerSec) == first.sampleRate &&
                  static_cast<int>(f.nChannels) == first.channels,
              "the file's rate and channels");
        const long long got = static_cast<long long>(sound.samples.size() / f.nBlockAlign);
        const long long expected = samplesInFrames(file, first);
        std::printf("%lld samples decoded, %lld in the frames\n", got, expected);
        check(std::llabs(got - expected) <= 2 * first.samplesPerFrame,
              "as many samples as the frames hold");
    }

    const std::vector<uint8_t> text(4096, 'x');
    check(!decodeMp3(text, sound, error) && error == "not an MP3 file", "text is refused");

    if (FSOUND_Init(44100, 24, 0) == 0) {
        std::printf("skipped: playing (no sound output)\n");
        return g_failures == 0 ? 0 : 1;
    }
    FSOUND_STREAM* stream = FSOUND_Stream_Open(argv[1], FSOUND_LOOP_NORMAL, 0, 0);
    check(stream != nullptr, "the stream opens");
    check(FSOUND_Stream_Play(FSOUND_FREE, stream) >= 0, "the stream plays");
    Sleep(300);
    // Playing again starts over; closing stops it.
    check(FSOUND_Stream_Play(FSOUND_FREE, stream) >= 0, "the stream plays again");
    // What a player that pauses and seeks the show asks of it.
    check(FSOUND_SetPaused(0, 1) == 1 && FSOUND_GetPaused(0) == 1, "the music pauses");
    check(FSOUND_Stream_SetTime(stream, 60000) == 1, "a paused stream moves to 60 s");
    check(FSOUND_GetPaused(0) == 1, "and stays paused there");
    check(FSOUND_SetPaused(0, 0) == 1 && FSOUND_GetPaused(0) == 0, "the music resumes");
    check(FSOUND_Stream_SetTime(stream, 3600000) == 0, "an hour in is past the end: refused");
    check(FSOUND_Stream_SetTime(stream, -1) == 0, "a negative time is refused");
    check(FSOUND_Stream_SetTime(stream, 0) == 1, "back to the start");
    check(FSOUND_Stream_Close(stream) == 1, "the stream closes");
    check(FSOUND_Stream_Close(nullptr) == 0, "a null stream is refused");
    FSOUND_Close();
    check(FSOUND_Stream_Open(argv[1], 0, 0, 0) == nullptr, "nothing opens once closed");
    return g_failures == 0 ? 0 : 1;
}
