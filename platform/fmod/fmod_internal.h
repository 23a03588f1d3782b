// Inside the sound-library stand-in: the objects behind the FMOD handles, the
// MP3 decoder, the two kinds of output and the spectrum analyser. Not part of
// the FMOD API; tests use the decoder and the analyser directly.
#pragma once

#include <kissfft/kissfft.hh>

#include <complex>
#include <cstddef>
#include <cstdint>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/fmod/fmod.hpp"

// The decoder's state: libmpg123's handle on Linux, the browser's decoded
// samples in a web page.
struct mpg123_handle_struct;

namespace fmod_standin {

constexpr int kOutputRate = 44100;
// Longest sound createSound accepts, in output frames (ten minutes).
constexpr int64_t kMaxSoundFrames = int64_t{kOutputRate} * 600;

// Decodes an MP3 held in memory into interleaved stereo float frames at
// kOutputRate, a block at a time.
class Mp3Decoder {
public:
    static constexpr size_t kBlockSamples = 4096;

    Mp3Decoder();
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Takes the file's bytes and decodes into `stereo` (emptied first) up to
    // its first samples. FMOD_ERR_FILE_EOF for no bytes, FMOD_ERR_FORMAT when
    // no audio can be decoded.
    FMOD_RESULT Open(std::vector<uint8_t> file, std::vector<float>* stereo);
    // Starts again from the top of the file, as Open did.
    FMOD_RESULT Restart(std::vector<float>* stereo);
    // Appends the next block of samples to `stereo` (none once Ended()). A
    // damaged frame after good ones ends the sound there; FMOD_ERR_MEMORY
    // beyond kMaxSoundFrames.
    FMOD_RESULT Next(std::vector<float>* stereo);
    // Appends every block left.
    FMOD_RESULT Rest(std::vector<float>* stereo);
    bool Ended() const { return ended; }
    // The length the file announces (its frame index), or 0 when it does not.
    int64_t AnnouncedFrames() const { return announcedFrames; }

private:
    ::mpg123_handle_struct* handle = nullptr;
    std::vector<uint8_t> bytes;
    [[maybe_unused]] float block[kBlockSamples];  // libmpg123 only
    [[maybe_unused]] bool formatKnown = false;
    bool ended = false;
    int64_t decodedFrames = 0;
    int64_t announcedFrames = 0;
};

// Decodes a whole MP3. FMOD_ERR_FILE_EOF for no bytes, FMOD_ERR_FORMAT when
// no audio can be decoded, FMOD_ERR_MEMORY beyond kMaxSoundFrames; `stereo`
// is left empty on failure.
FMOD_RESULT DecodeMp3(const uint8_t* data, size_t size, std::vector<float>* stereo);

// Magnitude spectrum of `numvalues` bands from 2 x numvalues samples (oldest
// first), windowed and scaled so that a full-scale sine reads about 1 in its
// band; every value is clamped to [0, 1].
class SpectrumAnalyser {
public:
    SpectrumAnalyser() = default;
    SpectrumAnalyser(const SpectrumAnalyser&) = delete;
    SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

    void Compute(const float* samples, int numvalues, FMOD_DSP_FFT_WINDOW window, float* out);

private:
    void Prepare(int size, FMOD_DSP_FFT_WINDOW window);

    std::unique_ptr<kissfft<float>> fft;  // complex FFT of size / 2 points, used as a real FFT
    int size = 0;
    FMOD_DSP_FFT_WINDOW windowType = FMOD_DSP_FFT_WINDOW_MAX;
    std::vector<float> window;
    float scale = 0.0f;
    std::vector<float> windowed;
    std::vector<std::complex<float>> bins;
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
    SoundState* sound = nullptr;  // null when the channel is free
    bool paused = false;
    int64_t played = 0;     // frames played up to `syncFrame`
    int64_t syncFrame = 0;  // output frame at which `played` was taken

    int64_t Position(int64_t outputFrame) const { return paused ? played : played + (outputFrame - syncFrame); }
    bool Playing(int64_t outputFrame) const;
};

// A sound keeps its file compressed and decodes as it is read: only a window
// of decoded frames is held, from kKeptFrames behind the earliest frame of
// the latest read (room for the spectrum's look back) to the end of that
// read. A read before the window starts the decoder again from the top of
// the file, so every read gives the same samples however the position moved.
struct SoundState final : FMOD::Sound {
    static constexpr int64_t kKeptFrames = 32768;

    // Takes the opened decoder; a file that does not announce its length is
    // decoded through once to count its frames.
    FMOD_RESULT Start(std::unique_ptr<Mp3Decoder> opened, std::vector<float> firstFrames);
    // The sound's length in frames: as announced until the decoder reaches
    // the end of the file, exact from then on.
    int64_t Frames() const { return length.load(std::memory_order_acquire); }
    // With `lock` held: decodes frames [first, end) where the file has them
    // and returns the end of what it could (at most `end`); the frames are
    // then at At(first) on, interleaved left, right.
    int64_t DecodeTo(int64_t first, int64_t end);
    const float* At(int64_t frame) const { return window.data() + (frame - windowStart) * 2; }

    std::mutex lock;

private:
    int64_t WindowEnd() const { return windowStart + static_cast<int64_t>(window.size() / 2); }
    void DropBefore(int64_t frame);

    std::unique_ptr<Mp3Decoder> decoder;
    std::vector<float> window;  // interleaved left, right: frames from windowStart on
    int64_t windowStart = 0;
    std::atomic<int64_t> length{0};
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
    // into `mix` (outputChannels interleaved), decoding them as needed. Called
    // with the output locked.
    void Mix(int64_t first, int64_t count, float* mix) const;
};

// The silent output: its position follows the performance counter
// (QueryPerformanceCounter). Output frames since it was made: elapsed ticks x
// rate / frequency, rounded down; a counter that changes frequency or runs
// backwards (switched between the wall clock and fixed steps) continues from
// where it was.
class ClockOutput : public Output {
public:
    ClockOutput();
    int64_t Frames() override;

private:
    int64_t baseCount = 0;
    int64_t baseFrames = 0;
    int64_t lastFrames = 0;
    int64_t frequency = 1;
};

// The output the system opens at init: on Linux an SDL2 audio device that
// mixes on SDL's thread, or, headless, the clock output; in a web page the
// clock output with Web Audio playing the music (fmod_output_web.cpp).
std::unique_ptr<Output> OpenOutput(SystemState* system);

}  // namespace fmod_standin
