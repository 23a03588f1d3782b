// Inside the sound-library stand-in: the objects behind the FMOD handles, the
// MP3 decoder, the two kinds of output and the spectrum analyser. Not part of
// the FMOD API; tests use the decoder and the analyser directly.
#pragma once

#include <kissfft/kiss_fftr.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/fmod/fmod.hpp"

namespace fmod_standin {

constexpr int kOutputRate = 44100;
// Longest sound createSound accepts, in output frames (ten minutes).
constexpr int64_t kMaxSoundFrames = int64_t{kOutputRate} * 600;

// Decodes a whole MP3 into interleaved stereo float frames at kOutputRate.
// FMOD_ERR_FILE_EOF for no bytes, FMOD_ERR_FORMAT when no audio can be
// decoded, FMOD_ERR_MEMORY beyond kMaxSoundFrames.
FMOD_RESULT DecodeMp3(const uint8_t* data, size_t size, std::vector<float>* stereo);

// Magnitude spectrum of `numvalues` bands from 2 x numvalues samples (oldest
// first), windowed and scaled so that a full-scale sine reads about 1 in its
// band; every value is clamped to [0, 1].
class SpectrumAnalyser {
public:
    SpectrumAnalyser() = default;
    ~SpectrumAnalyser();
    SpectrumAnalyser(const SpectrumAnalyser&) = delete;
    SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

    void Compute(const float* samples, int numvalues, FMOD_DSP_FFT_WINDOW window, float* out);

private:
    void Prepare(int size, FMOD_DSP_FFT_WINDOW window);

    kiss_fftr_cfg config = nullptr;
    int size = 0;
    FMOD_DSP_FFT_WINDOW windowType = FMOD_DSP_FFT_WINDOW_MAX;
    std::vector<float> window;
    float scale = 0.0f;
    std::vector<float> windowed;
    std::vector<kiss_fft_cpx> bins;
};

// Where the mixed sound goes. The position counts the output frames mixed so
// far; channels measure their play position against it.
class Output {
public:
    virtual ~Output() = default;
    virtual int64_t Frames() = 0;
    // Held around every change to the channels and every read of them, so
    // that an output mixing on a thread of its own sees consistent state.
    virtual void Lock() {}
    virtual void Unlock() {}
};

struct SoundState;

struct ChannelState final : FMOD::Channel {
    struct SystemState* system = nullptr;
    const SoundState* sound = nullptr;  // null when the channel is free
    bool paused = false;
    int64_t played = 0;     // frames played up to `syncFrame`
    int64_t syncFrame = 0;  // output frame at which `played` was taken

    int64_t Position(int64_t outputFrame) const { return paused ? played : played + (outputFrame - syncFrame); }
    bool Playing(int64_t outputFrame) const;
};

struct SoundState final : FMOD::Sound {
    std::vector<float> stereo;  // interleaved left, right
    int64_t Frames() const { return static_cast<int64_t>(stereo.size() / 2); }
};

struct SystemState final : FMOD::System {
    bool initialised = false;
    FMOD_SPEAKERMODE speakerMode = FMOD_SPEAKERMODE_STEREO;
    int outputChannels = 2;
    std::unique_ptr<Output> output;
    std::vector<std::unique_ptr<ChannelState>> channels;
    std::vector<std::unique_ptr<SoundState>> sounds;
    SpectrumAnalyser analyser;
    std::vector<float> history;

    // Adds the playing channels' samples of output frames [first, first + count)
    // into `mix` (outputChannels interleaved). Called with the output locked.
    void Mix(int64_t first, int64_t count, float* mix) const;
};

// The output the system opens at init: an SDL2 audio device that mixes on
// SDL's thread, or, headless, a silent output whose position follows the
// performance counter.
std::unique_ptr<Output> OpenOutput(SystemState* system);

}  // namespace fmod_standin
