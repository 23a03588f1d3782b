// The generated music, decoded and analysed by the sound-library stand-in
// exactly as the demo hears it: its length, the two spectrum bands the
// effects read, the section changes at the scene cues and the silent end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/fmod/fmod_internal.h"
#include "tests/content/content_files.h"

using namespace content_test;

namespace {

constexpr double kRate = 44100.0;

class Music : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::vector<uint8_t> mp3 = ReadFile(MusicPath());
        stereo = new std::vector<float>;
        if (!mp3.empty()) fmod_standin::DecodeMp3(mp3.data(), mp3.size(), stereo);
    }
    static void TearDownTestSuite() {
        delete stereo;
        stereo = nullptr;
    }
    void SetUp() override { ASSERT_FALSE(stereo->empty()) << "no music at " << MusicPath(); }

    static double Seconds() { return double(stereo->size() / 2) / kRate; }

    // The 512 bands the demo reads at demo time t: the last 1024 samples of
    // the left channel, triangle window.
    static std::vector<float> Spectrum(double t) {
        static fmod_standin::SpectrumAnalyser analyser;
        std::vector<float> block(1024, 0.0f), bands(512);
        long end = long(t * kRate);
        for (long i = 0; i < 1024; ++i) {
            long frame = end - 1024 + i;
            if (frame >= 0 && size_t(frame) < stereo->size() / 2) block[size_t(i)] = (*stereo)[size_t(frame) * 2];
        }
        analyser.Compute(block.data(), 512, FMOD_DSP_FFT_WINDOW_TRIANGLE, bands.data());
        return bands;
    }

    // Band k at every frame of 60 a second from `from` to `to`.
    static std::vector<float> Band(int k, double from, double to) {
        std::vector<float> values;
        for (double t = from; t < to; t += 1.0 / 60) values.push_back(Spectrum(t)[size_t(k)]);
        return values;
    }

    static double Rms(double from, double to) {
        double sum = 0;
        size_t a = size_t(from * kRate), b = std::min(size_t(to * kRate), stereo->size() / 2);
        for (size_t i = a; i < b; ++i)
            sum += (*stereo)[2 * i] * (*stereo)[2 * i] + (*stereo)[2 * i + 1] * (*stereo)[2 * i + 1];
        return std::sqrt(sum / double(2 * (b - a)));
    }

    static std::vector<float>* stereo;
};
std::vector<float>* Music::stereo = nullptr;

double Mean(const std::vector<float>& v) {
    double sum = 0;
    for (float x : v) sum += x;
    return sum / double(v.size());
}

}  // namespace

TEST_F(Music, HatchingBandIsModestWhileTheHatchingSceneListens) {
    // HandToHatchEffect (17.5 s to 33.5 s) takes 10 x band 40 off its level
    // every frame; a modest band keeps that in step with its 2 a second fall.
    double mean = Mean(Band(40, 17.5, 33.5));
    EXPECT_GT(mean, 0.005);
    EXPECT_LT(mean, 0.02);
}

TEST_F(Music, TitleWordsBandPulses) {
    // BeginEffect scales the words by 0.02 x band 180 + 0.001 from 3.5 s on.
    std::vector<float> band = Band(180, 3.5, 10.5);
    double mean = Mean(band);
    float peak = *std::max_element(band.begin(), band.end());
    EXPECT_GT(mean, 0.003);
    EXPECT_LT(mean, 0.03);
    EXPECT_GT(peak, 0.02);
    EXPECT_LT(peak, 0.1) << "the words at most double their size";
    size_t high = size_t(std::count_if(band.begin(), band.end(), [&](float v) { return v > 2 * mean; }));
    size_t low = size_t(std::count_if(band.begin(), band.end(), [&](float v) { return v < 0.5 * mean; }));
    EXPECT_GT(high, band.size() / 20) << "pulses";
    EXPECT_GT(low, band.size() / 10) << "and rests between them";
    EXPECT_LT(Mean(Band(180, 0.5, 3.4)), 0.1 * mean) << "no pulse under the title cards";
}

TEST_F(Music, SoundChangesAtEverySceneCue) {
    // Energy in three ranges, a second before and a second after each cue.
    auto ranges = [&](double from, double to) {
        std::vector<double> sums(3, 0.0);
        for (double t = from + 0.05; t < to; t += 0.05) {
            std::vector<float> s = Spectrum(t);
            for (int k = 1; k < 512; ++k) sums[k < 8 ? 0 : k < 100 ? 1 : 2] += s[size_t(k)] * s[size_t(k)];
        }
        return sums;
    };
    for (double cue : {3.5, 10.5, 17.5, 33.5, 73.0, 90.0}) {
        std::vector<double> before = ranges(cue - 1, cue), after = ranges(cue, cue + 1);
        double change = 0;
        for (int r = 0; r < 3; ++r)
            change = std::max(change, std::fabs(std::log((after[r] + 1e-9) / (before[r] + 1e-9))));
        EXPECT_GT(change, std::log(1.6)) << "at " << cue << " s";
    }
}

TEST_F(Music, LastsAsLongAsTheDemoAndFadesToSilenceByTheEnd) {
    EXPECT_NEAR(Seconds(), 110.0, 0.05);
    EXPECT_GT(Rms(105.0, 106.0), 0.02) << "still playing before the fade";
    EXPECT_LT(Rms(109.0, 109.5), 0.5 * Rms(105.0, 106.0));
    EXPECT_LT(Rms(109.95, 110.0), 0.002);
    float peak = 0;
    for (float v : *stereo) peak = std::max(peak, std::fabs(v));
    EXPECT_LT(peak, 1.0f) << "no clipping";
    EXPECT_GT(peak, 0.3f) << "not too quiet";
}
