// Spectrum analysis for getSpectrum: a real FFT (KissFFT's header-only C++
// form, the same on Linux and in a web page) of 2 x numvalues
// windowed samples; band k is bin k, k x rate / (2 x numvalues) Hz. Each
// magnitude is divided by half the window's sum (its coherent gain times the
// size, halved for the one-sided spectrum), so a full-scale sine centred on a
// band reads 1 there.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/fmod/fmod_internal.h"

namespace fmod_standin {

namespace {

float WindowValue(FMOD_DSP_FFT_WINDOW window, int n, int size) {
    const double x = static_cast<double>(n) / size;
    const double a = 2.0 * std::numbers::pi * x;
    switch (window) {
    case FMOD_DSP_FFT_WINDOW_TRIANGLE: return static_cast<float>(1.0 - std::fabs(2.0 * x - 1.0));
    case FMOD_DSP_FFT_WINDOW_HAMMING: return static_cast<float>(0.54 - 0.46 * std::cos(a));
    case FMOD_DSP_FFT_WINDOW_HANNING: return static_cast<float>(0.5 - 0.5 * std::cos(a));
    case FMOD_DSP_FFT_WINDOW_BLACKMAN: return static_cast<float>(0.42 - 0.5 * std::cos(a) + 0.08 * std::cos(2 * a));
    case FMOD_DSP_FFT_WINDOW_BLACKMANHARRIS:
        return static_cast<float>(0.35875 - 0.48829 * std::cos(a) + 0.14128 * std::cos(2 * a) -
                                  0.01168 * std::cos(3 * a));
    default: return 1.0f;
    }
}

}  // namespace

void SpectrumAnalyser::Prepare(int size_, FMOD_DSP_FFT_WINDOW window_) {
    if (size_ != size) {
        fft = std::make_unique<kissfft<float>>(static_cast<size_t>(size_ / 2), false);
        size = size_;
        windowed.resize(static_cast<size_t>(size));
        bins.resize(static_cast<size_t>(size / 2));
        windowType = FMOD_DSP_FFT_WINDOW_MAX;
    }
    if (window_ != windowType) {
        window.resize(static_cast<size_t>(size));
        double sum = 0.0;
        for (int n = 0; n < size; ++n) {
            window[static_cast<size_t>(n)] = WindowValue(window_, n, size);
            sum += window[static_cast<size_t>(n)];
        }
        scale = static_cast<float>(2.0 / sum);
        windowType = window_;
    }
}

void SpectrumAnalyser::Compute(const float* samples, int numvalues, FMOD_DSP_FFT_WINDOW window_, float* out) {
    Prepare(numvalues * 2, window_);
    for (int n = 0; n < size; ++n) {
        windowed[static_cast<size_t>(n)] = samples[n] * window[static_cast<size_t>(n)];
    }
    // Bin 0 holds the constant term as its real part (the highest bin, not
    // reported, as its imaginary part); bins 1 .. size / 2 - 1 are as computed.
    fft->transform_real(windowed.data(), bins.data());
    for (int k = 0; k < numvalues; ++k) {
        const std::complex<float>& bin = bins[static_cast<size_t>(k)];
        const float magnitude = (k == 0 ? std::fabs(bin.real()) : std::abs(bin)) * scale;
        out[k] = std::min(magnitude, 1.0f);
    }
}

}  // namespace fmod_standin
