#include "tools/showgen/Music.h"

#include "tools/showgen/DetMath.h"

#include <algorithm>
#include <cmath>

#include <lame/lame.h>

namespace showgen {

synth::StereoBuffer renderSong();

namespace {

// The music rises out of silence with the opening picture and dies away with the closing one.
double masterFade(double t) {
    const double in = detmath::smoothstep(0.0, 3.0, t);
    const double out = 1.0 - detmath::smoothstep(kMusicSeconds - 6.0, kMusicSeconds, t);
    return in * out;
}

} // namespace

std::vector<int16_t> renderMusic() {
    synth::StereoBuffer mix = renderSong();
    double peak = 1e-9;
    for (size_t i = 0; i < mix.frames(); ++i) {
        const double fade = masterFade(i / static_cast<double>(kMusicSampleRate));
        mix.left(i) *= fade;
        mix.right(i) *= fade;
        peak = std::max({peak, std::fabs(mix.left(i)), std::fabs(mix.right(i))});
    }
    // Peaks at about -1 dB full scale.
    const double gain = 0.89 / peak;
    std::vector<int16_t> pcm(mix.frames() * 2);
    for (size_t i = 0; i < mix.frames(); ++i) {
        pcm[i * 2] = static_cast<int16_t>(std::floor(mix.left(i) * gain * 32767.0 + 0.5));
        pcm[i * 2 + 1] = static_cast<int16_t>(std::floor(mix.right(i) * gain * 32767.0 + 0.5));
    }
    return pcm;
}

std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& stereoFrames, int kilobitsPerSecond) {
    lame_global_flags* flags = lame_init();
    if (flags == nullptr) {
        return {};
    }
    lame_set_num_channels(flags, 2);
    lame_set_in_samplerate(flags, kMusicSampleRate);
    lame_set_out_samplerate(flags, kMusicSampleRate);
    lame_set_brate(flags, kilobitsPerSecond);
    lame_set_VBR(flags, vbr_off);
    lame_set_mode(flags, JOINT_STEREO);
    lame_set_quality(flags, 7);
    // No information frame: it would need a second pass over the file, and a constant bit
    // rate stream is measured from its frames alone.
    lame_set_bWriteVbrTag(flags, 0);
    if (lame_init_params(flags) < 0) {
        lame_close(flags);
        return {};
    }
    std::vector<uint8_t> out;
    const size_t chunk = 8192;
    std::vector<unsigned char> buffer(static_cast<size_t>(1.25 * chunk + 7200));
    const size_t frames = stereoFrames.size() / 2;
    for (size_t first = 0; first < frames; first += chunk) {
        const int count = static_cast<int>(std::min(chunk, frames - first));
        // LAME takes a non-const pointer but only reads the samples.
        short* samples = const_cast<short*>(&stereoFrames[first * 2]);
        const int written = lame_encode_buffer_interleaved(flags, samples, count, buffer.data(),
                                                           static_cast<int>(buffer.size()));
        if (written < 0) {
            lame_close(flags);
            return {};
        }
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    const int tail = lame_encode_flush(flags, buffer.data(), static_cast<int>(buffer.size()));
    if (tail > 0) {
        out.insert(out.end(), buffer.begin(), buffer.begin() + tail);
    }
    lame_close(flags);
    return out;
}

Mp3Summary inspectMp3(const std::vector<uint8_t>& bytes) {
    static const int kBitrates[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                      112, 128, 160, 192, 224, 256, 320, 0};
    static const int kRates[4] = {44100, 48000, 32000, 0};
    Mp3Summary summary;
    size_t position = 0;
    while (position + 4 <= bytes.size()) {
        const uint8_t* h = &bytes[position];
        // MPEG-1 Layer III: sync, version bits 11, layer bits 01.
        if (h[0] != 0xFF || (h[1] & 0xFE) != 0xFA) {
            return summary;
        }
        const int bitrate = kBitrates[h[2] >> 4];
        const int rate = kRates[(h[2] >> 2) & 3];
        if (bitrate == 0 || rate == 0) {
            return summary;
        }
        const size_t length = static_cast<size_t>(144 * bitrate * 1000 / rate + ((h[2] >> 1) & 1));
        if (summary.frames > 0 && rate != summary.sampleRate) {
            return summary;
        }
        summary.sampleRate = rate;
        summary.stereo = (h[3] >> 6) != 3;
        ++summary.frames;
        position += length;
    }
    summary.valid = summary.frames > 0 && position == bytes.size();
    summary.seconds = summary.valid ? summary.frames * 1152.0 / summary.sampleRate : 0.0;
    return summary;
}

GeneratedFile generateMusic() {
    return {"preview1.mp3", encodeMp3(renderMusic(), 160)};
}

} // namespace showgen
