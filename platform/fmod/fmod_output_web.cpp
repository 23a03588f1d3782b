// The output in a web page: the clock output's position (the demo clock),
// with the music played by Web Audio. Whenever the channels change (a sound
// started, paused, moved), the page is told where the first playing channel
// is, and plays the decoded music (Module.demoMusic) from there in an
// AudioBufferSourceNode of its AudioContext at 44,100 Hz; with no
// AudioContext (a test run, before any click) nothing sounds.
#include <emscripten.h>

#include "platform/fmod/fmod_internal.h"

namespace fmod_standin {
namespace {

// clang-format off
EM_JS(void, PagePlayMusic, (double fromSeconds), {
    if (Module.demoPage) Module.demoPage.playMusic(fromSeconds);
});
EM_JS(void, PageStopMusic, (), {
    if (Module.demoPage) Module.demoPage.stopMusic();
});
// clang-format on

class WebAudioOutput final : public ClockOutput {
public:
    explicit WebAudioOutput(SystemState* system_) : system(system_) {}
    // Called after every change to the channels.
    void Unlock() override {
        const int64_t now = Frames();
        const ChannelState* playing = nullptr;
        for (const auto& channel : system->channels)
            if (channel->sound && !channel->paused && channel->Playing(now)) {
                playing = channel.get();
                break;
            }
        const int64_t start = playing ? now - playing->Position(now) : -1;  // output frame of the music's start
        if (start == playingFrom) return;
        playingFrom = start;
        if (playing)
            PagePlayMusic(static_cast<double>(playing->Position(now)) / kOutputRate);
        else
            PageStopMusic();
    }

private:
    SystemState* system;
    int64_t playingFrom = -1;
};

}  // namespace

std::unique_ptr<Output> OpenOutput(SystemState* system) { return std::make_unique<WebAudioOutput>(system); }

}  // namespace fmod_standin
