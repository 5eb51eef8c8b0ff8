#include "tools/showgen/Music.h"
#include "tools/showgen/Synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

double rms(const std::vector<int16_t>& pcm, double from, double to) {
    const size_t first = static_cast<size_t>(from * showgen::kMusicSampleRate) * 2;
    const size_t last = static_cast<size_t>(to * showgen::kMusicSampleRate) * 2;
    double sum = 0.0;
    for (size_t i = first; i < last; ++i) {
        sum += (pcm[i] / 32768.0) * (pcm[i] / 32768.0);
    }
    return std::sqrt(sum / (last - first));
}

} // namespace

// One render serves every check: it is the expensive part.
TEST(ShowgenMusic, RendersEncodesAndMatchesTheBuiltFile) {
    const std::vector<int16_t> pcm = showgen::renderMusic();
    ASSERT_EQ(pcm.size(), static_cast<size_t>(140 * 44100 * 2));

    // Quiet start out of silence, more going on section by section, silence at the very end.
    EXPECT_EQ(pcm[0], 0);
    EXPECT_LT(std::abs(pcm[pcm.size() - 1]), 16);
    const double opening = rms(pcm, 3.0, 10.0);
    const double firstView = rms(pcm, 12.0, 35.0);
    const double secondView = rms(pcm, 36.0, 70.0);
    const double thirdView = rms(pcm, 71.0, 100.0);
    EXPECT_GT(opening, 0.02);
    EXPECT_LT(opening, firstView);
    EXPECT_LT(firstView, secondView);
    EXPECT_LT(secondView * 0.9, thirdView);
    int16_t peak = 0;
    for (int16_t s : pcm) {
        peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(s)));
    }
    EXPECT_LE(peak, 29200); // about -1 dB: no clipping anywhere
    EXPECT_GT(peak, 28000);

    const std::vector<uint8_t> mp3 = showgen::encodeMp3(pcm, 160);
    const showgen::Mp3Summary summary = showgen::inspectMp3(mp3);
    ASSERT_TRUE(summary.valid);
    EXPECT_EQ(summary.sampleRate, 44100);
    EXPECT_TRUE(summary.stereo);
    EXPECT_GE(summary.seconds, 140.0);
    EXPECT_LT(summary.seconds, 140.2);

    // The build's run in another process gave the same bytes.
    std::ifstream built(std::string(TARNELIX_SHOW_DIR) + "/preview1.mp3", std::ios::binary);
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(built),
                                    std::istreambuf_iterator<char>()};
    EXPECT_TRUE(file == mp3);
}

TEST(ShowgenMusic, InspectionRefusesWhatIsNotAnMp3Stream) {
    EXPECT_FALSE(showgen::inspectMp3({}).valid);
    EXPECT_FALSE(showgen::inspectMp3({'I', 'D', '3', 4, 0, 0}).valid);
    // One well-formed 160 kbit/s frame header followed by too few bytes.
    std::vector<uint8_t> truncated = {0xFF, 0xFB, 0xA0, 0x40};
    truncated.resize(100);
    EXPECT_FALSE(showgen::inspectMp3(truncated).valid);
    truncated.resize(522); // 144 * 160000 / 44100 = 522 bytes: exactly one frame
    const showgen::Mp3Summary one = showgen::inspectMp3(truncated);
    EXPECT_TRUE(one.valid);
    EXPECT_EQ(one.frames, 1u);
    EXPECT_TRUE(one.stereo);
}

TEST(ShowgenSynth, FilterStaysStableAcrossTheBand) {
    for (double cutoff : {20.0, 1000.0, 7000.0, 15000.0, 30000.0}) {
        for (double resonance : {0.0, 0.5, 0.95}) {
            showgen::synth::Filter filter;
            filter.set(cutoff, resonance);
            showgen::synth::Noise noise(5u);
            double largest = 0.0;
            for (int i = 0; i < 44100; ++i) {
                filter.process(noise.next());
                largest = std::max({largest, std::fabs(filter.low()), std::fabs(filter.high())});
            }
            EXPECT_TRUE(std::isfinite(largest)) << cutoff << " " << resonance;
            EXPECT_LT(largest, 50.0) << cutoff << " " << resonance;
        }
    }
}

TEST(ShowgenSynth, EnvelopeAndNotes) {
    const showgen::synth::Envelope envelope{0.1, 0.1, 0.5, 0.2};
    EXPECT_DOUBLE_EQ(envelope.level(-1.0, 1.0), 0.0);
    EXPECT_DOUBLE_EQ(envelope.level(0.05, 1.0), 0.5);
    EXPECT_DOUBLE_EQ(envelope.level(0.1, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(envelope.level(0.5, 1.0), 0.5);
    EXPECT_NEAR(envelope.level(1.1, 1.0), 0.25, 1e-12);
    EXPECT_DOUBLE_EQ(envelope.level(1.3, 1.0), 0.0);
    // Released during the attack: fades from where it got to.
    EXPECT_NEAR(envelope.level(0.15, 0.05), 0.25, 1e-12);
    EXPECT_NEAR(showgen::synth::noteFrequency(69.0), 440.0, 1e-9);
    EXPECT_NEAR(showgen::synth::noteFrequency(57.0), 220.0, 1e-9);
}
