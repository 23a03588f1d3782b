#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/fmod/fmod_internal.h"
#include "tests/support/sound_fixtures.h"

using fmod_standin::SpectrumAnalyser;

namespace {

constexpr int kBands = 512;
constexpr int kRate = fmod_standin::kOutputRate;

std::vector<float> Analyse(const std::vector<float>& samples, FMOD_DSP_FFT_WINDOW window) {
    SpectrumAnalyser analyser;
    std::vector<float> bands(kBands, -1.0f);
    analyser.Compute(samples.data(), kBands, window, bands.data());
    return bands;
}

int Loudest(const std::vector<float>& bands) {
    return static_cast<int>(std::max_element(bands.begin(), bands.end()) - bands.begin());
}

// A sine whose frequency sits exactly on band `band` of a 1024-sample window.
std::vector<float> BandCentredSine(int band, float amplitude) {
    return Sine(static_cast<double>(band) * kRate / (2 * kBands), 2.0 * kBands / kRate + 1e-9, kRate, amplitude);
}

}  // namespace

TEST(Spectrum, SineReadsItsAmplitudeInItsBandWithEveryWindow) {
    for (FMOD_DSP_FFT_WINDOW window :
         {FMOD_DSP_FFT_WINDOW_RECT, FMOD_DSP_FFT_WINDOW_TRIANGLE, FMOD_DSP_FFT_WINDOW_HAMMING,
          FMOD_DSP_FFT_WINDOW_HANNING, FMOD_DSP_FFT_WINDOW_BLACKMAN, FMOD_DSP_FFT_WINDOW_BLACKMANHARRIS}) {
        const std::vector<float> bands = Analyse(BandCentredSine(40, 1.0f), window);
        EXPECT_EQ(Loudest(bands), 40) << "window " << window;
        EXPECT_NEAR(bands[40], 1.0f, 0.01f) << "window " << window;
    }
    const std::vector<float> quarter = Analyse(BandCentredSine(100, 0.25f), FMOD_DSP_FFT_WINDOW_TRIANGLE);
    EXPECT_NEAR(quarter[100], 0.25f, 0.005f);
}

TEST(Spectrum, SilenceGivesZerosAndClippedSoundStaysBetweenZeroAndOne) {
    std::vector<float> bands = Analyse(std::vector<float>(2 * kBands, 0.0f), FMOD_DSP_FFT_WINDOW_TRIANGLE);
    EXPECT_TRUE(std::all_of(bands.begin(), bands.end(), [](float v) { return v == 0.0f; }));
    std::vector<float> samples = BandCentredSine(10, 1.0f);
    for (float& v : samples) v = std::clamp(v * 4.0f + 0.8f, -1.0f, 1.0f);  // clipped, with a DC offset
    bands = Analyse(samples, FMOD_DSP_FFT_WINDOW_TRIANGLE);
    EXPECT_TRUE(std::all_of(bands.begin(), bands.end(), [](float v) { return v >= 0.0f && v <= 1.0f; }));
}

TEST(Spectrum, OtherSizesUseTwiceAsManySamples) {
    SpectrumAnalyser analyser;
    std::vector<float> small(64);
    const std::vector<float> samples = Sine(8.0 * kRate / 128, 128.0 / kRate + 1e-9, kRate, 1.0f);
    analyser.Compute(samples.data(), 64, FMOD_DSP_FFT_WINDOW_HANNING, small.data());
    EXPECT_EQ(Loudest(small), 8);
    // The same analyser then serves the demo's size again.
    std::vector<float> large(kBands);
    const std::vector<float> big = BandCentredSine(40, 1.0f);
    analyser.Compute(big.data(), kBands, FMOD_DSP_FFT_WINDOW_TRIANGLE, large.data());
    EXPECT_EQ(Loudest(large), 40);
    EXPECT_NEAR(large[40], 1.0f, 0.01f);
}
