// Fuzz target for the sound stand-in's MP3 loading: what createSound does
// with a file's bytes, then the sound read as the mixer reads it, up to
// kMaxFrames sample frames (some fifteen MP3 frames: more decodes the same
// paths again), once more from a point behind its window (a seek back), and
// a spectrum of its start.
#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/fmod/fmod_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto decoder = std::make_unique<fmod_standin::Mp3Decoder>();
    std::vector<float> first;
    if (decoder->Open(std::vector<uint8_t>(data, data + size), &first) != FMOD_OK) {
        return 0;
    }
    fmod_standin::SoundState sound;
    if (sound.Start(std::move(decoder), std::move(first)) != FMOD_OK) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(sound.lock);
    constexpr int64_t kRead = 4096;
    constexpr int64_t kMaxFrames = 4 * kRead;
    float sum = 0.0f;
    for (int64_t frame = 0; frame < std::min(sound.Frames(), kMaxFrames); frame += kRead) {
        const int64_t end = sound.DecodeTo(frame, frame + kRead);
        if (end <= frame) break;
        const float* samples = sound.At(frame);  // the window holds frame .. end - 1 in one piece
        for (int64_t i = 0; i < (end - frame) * 2; ++i) {
            sum += samples[i];
        }
    }
    volatile float heard = sum;  // every sample read counts
    (void)heard;
    std::vector<float> block(1024, 0.0f);
    const int64_t end = sound.DecodeTo(0, static_cast<int64_t>(block.size()));
    for (int64_t at = 0; at < end; ++at) {
        block[static_cast<size_t>(at)] = std::clamp(sound.At(at)[0], -1.0f, 1.0f);
    }
    fmod_standin::SpectrumAnalyser analyser;
    float bands[512];
    analyser.Compute(block.data(), 512, FMOD_DSP_FFT_WINDOW_TRIANGLE, bands);
    return 0;
}

namespace {

// Frames of MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, 417 bytes each, with
// zero side information: silence. `mode` is the channel-mode bits.
std::vector<uint8_t> SilentFrames(int count, uint8_t mode) {
    std::vector<uint8_t> out;
    for (int i = 0; i < count; ++i) {
        const uint8_t header[4] = {0xFF, 0xFB, 0x90, mode};
        out.insert(out.end(), header, header + 4);
        out.insert(out.end(), 413, 0);
    }
    return out;
}

}  // namespace

extern "C" void FuzzSeeds(std::vector<std::vector<uint8_t>>& seeds) {
    seeds.push_back(SilentFrames(12, 0x00));  // stereo
    seeds.push_back(SilentFrames(12, 0xC0));  // mono
    std::vector<uint8_t> tagged = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> frames = SilentFrames(6, 0x40);  // joint stereo
    tagged.insert(tagged.end(), frames.begin(), frames.end());
    seeds.push_back(tagged);
}
