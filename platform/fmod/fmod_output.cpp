// The outputs on Linux: an SDL2 audio device that pulls the mix on SDL's
// audio thread, or the silent clock output (fmod_clock_output.cpp), used
// headless and wherever no device opens.
#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/fmod/fmod_internal.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows.h"

namespace fmod_standin {

namespace {

class SdlOutput final : public Output {
public:
    explicit SdlOutput(SystemState* system_) : system(system_) {}
    ~SdlOutput() override {
        if (device != 0) {
            SDL_CloseAudioDevice(device);  // waits for a callback in progress
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    // SDL audio must already be initialised.
    bool Open() {
        SDL_AudioSpec wanted{};
        wanted.freq = kOutputRate;
        wanted.format = AUDIO_F32SYS;
        wanted.channels = static_cast<Uint8>(system->outputChannels);
        wanted.samples = 1024;
        wanted.callback = &SdlOutput::Fill;
        wanted.userdata = this;
        SDL_AudioSpec obtained{};
        device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (device == 0) {
            return false;
        }
        SDL_PauseAudioDevice(device, 0);
        return true;
    }

    int64_t Frames() override { return frames.load(std::memory_order_acquire); }
    void Lock() override { SDL_LockAudioDevice(device); }
    void Unlock() override { SDL_UnlockAudioDevice(device); }

private:
    static void Fill(void* userdata, Uint8* stream, int length) {
        auto* self = static_cast<SdlOutput*>(userdata);
        const int channels = self->system->outputChannels;
        const int64_t count = length / static_cast<int>(sizeof(float)) / channels;
        float* mix = reinterpret_cast<float*>(stream);
        const int64_t first = self->frames.load(std::memory_order_relaxed);
        self->system->Mix(first, count, mix);
        std::transform(mix, mix + count * channels, mix, [](float v) { return std::clamp(v, -1.0f, 1.0f); });
        self->frames.store(first + count, std::memory_order_release);
    }

    SystemState* system;
    SDL_AudioDeviceID device = 0;
    std::atomic<int64_t> frames{0};
};

// ALSA prints its own errors to stderr while SDL probes for a device (eight
// lines on a machine without a sound card, before our one line). While the
// device is opened its error handler is one that prints nothing. SDL loads
// libasound itself; loading it here first (where it is installed) reaches the
// same library, whose handler is process-wide.
void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

class AlsaErrorsSilenced {
public:
    AlsaErrorsSilenced() {
        library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (library) setHandler = reinterpret_cast<SetHandler>(dlsym(library, "snd_lib_error_set_handler"));
        if (setHandler) setHandler(&QuietAlsaErrors);
    }
    ~AlsaErrorsSilenced() {
        if (setHandler) setHandler(nullptr);  // ALSA's default handler again
        if (library) dlclose(library);
    }
    AlsaErrorsSilenced(const AlsaErrorsSilenced&) = delete;
    AlsaErrorsSilenced& operator=(const AlsaErrorsSilenced&) = delete;

private:
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    void* library = nullptr;
    SetHandler setHandler = nullptr;
};

}  // namespace

std::unique_ptr<Output> OpenOutput(SystemState* system) {
    // DEMO_AUDIO=device asks for the audio device even when rendering headless.
    const char* audio = std::getenv("DEMO_AUDIO");
    const bool deviceWanted = audio && std::strcmp(audio, "device") == 0;
    const bool headless = std::getenv("DEMO_HEADLESS") != nullptr || Win32_GetBackend() == Win32Backend::Headless;
    if (deviceWanted || !headless) {
        AlsaErrorsSilenced quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
            auto output = std::make_unique<SdlOutput>(system);
            if (output->Open()) {
                return output;
            }
        }
        std::fprintf(stderr, "sound: no audio output (%s); the music plays silently\n", SDL_GetError());
    }
    return std::make_unique<ClockOutput>();
}

}  // namespace fmod_standin
