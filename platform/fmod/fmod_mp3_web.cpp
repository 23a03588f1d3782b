// MP3 decoding for createSound in a web page: the browser's own decoder
// (decodeAudioData), through an OfflineAudioContext at the output rate, so the
// decoded music is stereo at 44,100 Hz as libmpg123 gives it on Linux. The
// whole file is decoded at Open (the page waits for it there, ASYNCIFY); the
// decoder then hands out blocks of the decoded frames as libmpg123's does.
// The decoded buffer stays in the page (Module.demoMusic) for Web Audio to
// play (fmod_output_web.cpp).
#include <emscripten.h>

#include <algorithm>

#include "platform/fmod/fmod_internal.h"

struct mpg123_handle_struct {
    std::vector<float> stereo;  // interleaved left, right
    size_t next = 0;            // first sample not handed out
};

namespace fmod_standin {
namespace {

// clang-format off
// Frames decoded, or -1 when the bytes are not audio the browser can decode.
EM_JS(int, PageDecodeAudio, (const uint8_t* data, int size), {
    return Asyncify.handleSleep(function(wakeUp) {
        var bytes = HEAPU8.slice(data, data + size);
        var context = new OfflineAudioContext(2, 1, 44100);
        var failed = function() { Module.demoMusic = null; wakeUp(-1); };
        try {
            context.decodeAudioData(bytes.buffer, function(buffer) {
                Module.demoMusic = buffer;
                wakeUp(buffer.length);
            }, failed);
        } catch (e) {
            failed();
        }
    });
});
// Copies the decoded frames, interleaved left, right (mono on both sides).
EM_JS(void, PageCopyAudio, (float* out, int frames), {
    var buffer = Module.demoMusic;
    var left = buffer.getChannelData(0);
    var right = buffer.numberOfChannels > 1 ? buffer.getChannelData(1) : left;
    var at = out >> 2;
    for (var i = 0; i < frames; ++i) {
        HEAPF32[at + 2 * i] = left[i];
        HEAPF32[at + 2 * i + 1] = right[i];
    }
});
// clang-format on

}  // namespace

Mp3Decoder::Mp3Decoder() : handle(new mpg123_handle_struct) {}

Mp3Decoder::~Mp3Decoder() { delete handle; }

FMOD_RESULT Mp3Decoder::Open(std::vector<uint8_t> file, std::vector<float>* stereo) {
    stereo->clear();
    handle->stereo.clear();
    ended = true;
    if (file.empty()) return FMOD_ERR_FILE_EOF;
    const int frames = PageDecodeAudio(file.data(), static_cast<int>(file.size()));
    if (frames <= 0) return FMOD_ERR_FORMAT;
    if (frames > kMaxSoundFrames) return FMOD_ERR_MEMORY;
    handle->stereo.resize(static_cast<size_t>(frames) * 2);
    PageCopyAudio(handle->stereo.data(), frames);
    announcedFrames = frames;
    return Restart(stereo);
}

FMOD_RESULT Mp3Decoder::Restart(std::vector<float>* stereo) {
    stereo->clear();
    if (handle->stereo.empty()) return FMOD_ERR_FILE_EOF;
    handle->next = 0;
    ended = false;
    return Next(stereo);
}

FMOD_RESULT Mp3Decoder::Next(std::vector<float>* stereo) {
    const size_t count = std::min(kBlockSamples, handle->stereo.size() - handle->next);
    stereo->insert(stereo->end(), handle->stereo.begin() + static_cast<ptrdiff_t>(handle->next),
                   handle->stereo.begin() + static_cast<ptrdiff_t>(handle->next + count));
    handle->next += count;
    decodedFrames = static_cast<int64_t>(handle->next / 2);
    ended = handle->next >= handle->stereo.size();
    return FMOD_OK;
}

FMOD_RESULT Mp3Decoder::Rest(std::vector<float>* stereo) {
    while (!ended) Next(stereo);
    return FMOD_OK;
}

FMOD_RESULT DecodeMp3(const uint8_t* data, size_t size, std::vector<float>* stereo) {
    stereo->clear();
    Mp3Decoder decoder;
    FMOD_RESULT result = decoder.Open(std::vector<uint8_t>(data, data + size), stereo);
    if (result == FMOD_OK) result = decoder.Rest(stereo);
    if (result != FMOD_OK) stereo->clear();
    return result;
}

}  // namespace fmod_standin
