#include "AcmMp3Decoder.h"

#include "Mp3Frame.h"

#include <msacm.h>

#include <algorithm>
#include <cstring>

namespace {

// The decoder is fed this much at a time; its output for a chunk is sized by acmStreamSize.
constexpr DWORD kChunkBytes = 64 * 1024;

// MPEG-1 layer 3's codec delay, in samples, as the layer 3 wave format describes it.
constexpr WORD kLayer3CodecDelay = 1393;

MPEGLAYER3WAVEFORMAT layer3Format(const Mp3Frame& frame) {
    MPEGLAYER3WAVEFORMAT format{};
    format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    format.wfx.nChannels = static_cast<WORD>(frame.channels);
    format.wfx.nSamplesPerSec = static_cast<DWORD>(frame.sampleRate);
    format.wfx.nAvgBytesPerSec = static_cast<DWORD>(frame.bitRate / 8);
    format.wfx.nBlockAlign = 1;
    format.wfx.wBitsPerSample = 0;
    format.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    format.wID = MPEGLAYER3_ID_MPEG;
    format.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    format.nBlockSize = static_cast<WORD>(frame.frameBytes);
    format.nFramesPerBlock = 1;
    format.nCodecDelay = kLayer3CodecDelay;
    return format;
}

// What the codec suggests as PCM for the MP3 format; false when no codec takes it.
bool suggestPcm(MPEGLAYER3WAVEFORMAT& mp3, WAVEFORMATEX& pcm) {
    pcm = WAVEFORMATEX{};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    return acmFormatSuggest(nullptr, &mp3.wfx, &pcm, sizeof pcm, ACM_FORMATSUGGESTF_WFORMATTAG) ==
           0;
}

// The stream converted chunk by chunk; the bytes the codec leaves of a chunk (a frame cut in
// two) go in front of the next one.
bool convert(HACMSTREAM stream, const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    DWORD outCapacity = 0;
    if (acmStreamSize(stream, kChunkBytes, &outCapacity, ACM_STREAMSIZEF_SOURCE) != 0) {
        return false;
    }
    std::vector<uint8_t> in(kChunkBytes);
    std::vector<uint8_t> decoded(outCapacity);
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = in.data();
    header.cbSrcLength = kChunkBytes;
    header.pbDst = decoded.data();
    header.cbDstLength = outCapacity;
    if (acmStreamPrepareHeader(stream, &header, 0) != 0) {
        return false;
    }
    size_t pending = 0;
    size_t read = 0;
    DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN | ACM_STREAMCONVERTF_START;
    bool ok = true;
    while (ok) {
        const size_t take = std::min<size_t>(kChunkBytes - pending, size - read);
        std::memcpy(in.data() + pending, data + read, take);
        read += take;
        const bool last = read == size;
        header.cbSrcLength = static_cast<DWORD>(pending + take);
        if (last) {
            flags = (flags & ~ACM_STREAMCONVERTF_BLOCKALIGN) | ACM_STREAMCONVERTF_END;
        }
        ok = acmStreamConvert(stream, &header, flags) == 0;
        flags &= ~ACM_STREAMCONVERTF_START;
        out.insert(out.end(), decoded.begin(), decoded.begin() + header.cbDstLengthUsed);
        if (last) {
            break;
        }
        pending = header.cbSrcLength - header.cbSrcLengthUsed;
        std::memmove(in.data(), in.data() + header.cbSrcLengthUsed, pending);
        // A codec that takes nothing from a full chunk would loop for ever.
        ok = ok && (header.cbSrcLengthUsed > 0 || pending < kChunkBytes);
    }
    header.cbSrcLength = kChunkBytes;
    header.cbDstLength = outCapacity;
    acmStreamUnprepareHeader(stream, &header, 0);
    return ok;
}

} // namespace

bool decodeMp3(const std::vector<uint8_t>& file, PcmSound& sound, std::string& error) {
    Mp3Frame frame;
    if (!findFirstMp3Frame(file.data(), file.size(), frame) || frame.layer != 3) {
        error = "not an MP3 file";
        return false;
    }
    MPEGLAYER3WAVEFORMAT mp3 = layer3Format(frame);
    if (!suggestPcm(mp3, sound.format)) {
        error = "no MP3 decoder is installed";
        return false;
    }
    HACMSTREAM stream = nullptr;
    if (acmStreamOpen(&stream, nullptr, &mp3.wfx, &sound.format, nullptr, 0, 0,
                      ACM_STREAMOPENF_NONREALTIME) != 0) {
        error = "the MP3 decoder refuses the stream";
        return false;
    }
    sound.samples.clear();
    const bool converted =
        convert(stream, file.data() + frame.offset, file.size() - frame.offset, sound.samples);
    acmStreamClose(stream, 0);
    if (!converted || sound.samples.empty()) {
        error = "the MP3 decoder failed";
        return false;
    }
    return true;
}

bool acmHasMp3Decoder() {
    Mp3Frame frame;
    frame.layer = 3;
    frame.bitRate = 128000;
    frame.sampleRate = 44100;
    frame.channels = 2;
    frame.frameBytes = 417;
    MPEGLAYER3WAVEFORMAT mp3 = layer3Format(frame);
    WAVEFORMATEX pcm;
    return suggestPcm(mp3, pcm);
}
