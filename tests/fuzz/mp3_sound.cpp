// Fuzz target for the sound stand-in's MP3 loading (what createSound does
// with a file's bytes), followed by a spectrum of the decoded start.
#include <algorithm>
#include <vector>

#include "platform/fmod/fmod_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<float> stereo;
    if (fmod_standin::DecodeMp3(data, size, &stereo) == FMOD_OK) {
        std::vector<float> block(1024, 0.0f);
        for (size_t i = 0; i < block.size() && i * 2 < stereo.size(); ++i) {
            block[i] = std::clamp(stereo[i * 2], -1.0f, 1.0f);
        }
        fmod_standin::SpectrumAnalyser analyser;
        float bands[512];
        analyser.Compute(block.data(), 512, FMOD_DSP_FFT_WINDOW_TRIANGLE, bands);
    }
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
