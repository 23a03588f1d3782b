// MP3 decoding for createSound: libmpg123 in feed mode over the file's bytes,
// told to accept only 32-bit float stereo at the output rate, so that it
// duplicates mono and resamples other rates itself.
#include <mpg123.h>

#include <algorithm>

#include "platform/fmod/fmod_internal.h"

namespace fmod_standin {

namespace {

struct Decoder {
    Decoder() {
        static const int initialised = mpg123_init();
        (void)initialised;
        handle = mpg123_new(nullptr, nullptr);
    }
    ~Decoder() {
        if (handle != nullptr) {
            mpg123_delete(handle);
        }
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    bool Configure() {
        return handle != nullptr && mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0) == MPG123_OK &&
               mpg123_format_none(handle) == MPG123_OK &&
               mpg123_format(handle, kOutputRate, MPG123_STEREO, MPG123_ENC_FLOAT_32) == MPG123_OK &&
               mpg123_open_feed(handle) == MPG123_OK;
    }

    mpg123_handle* handle = nullptr;
};

bool FormatIsOurs(mpg123_handle* handle) {
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    return mpg123_getformat(handle, &rate, &channels, &encoding) == MPG123_OK && rate == kOutputRate && channels == 2 &&
           encoding == MPG123_ENC_FLOAT_32;
}

}  // namespace

FMOD_RESULT DecodeMp3(const uint8_t* data, size_t size, std::vector<float>* stereo) {
    stereo->clear();
    if (size == 0) {
        return FMOD_ERR_FILE_EOF;
    }
    Decoder decoder;
    if (!decoder.Configure()) {
        return FMOD_ERR_MEMORY;
    }
    if (mpg123_feed(decoder.handle, data, size) != MPG123_OK) {
        return FMOD_ERR_MEMORY;
    }

    const size_t maxSamples = static_cast<size_t>(kMaxSoundFrames) * 2;
    float block[4096];
    bool formatKnown = false;
    for (;;) {
        size_t done = 0;
        const int result = mpg123_read(decoder.handle, block, sizeof(block), &done);
        if (result == MPG123_NEW_FORMAT) {
            if (!FormatIsOurs(decoder.handle)) {
                return FMOD_ERR_FORMAT;
            }
            formatKnown = true;
            // Room for the whole sound at once, from the decoder's length (its
            // frame count, exact for files with a frame index): the samples
            // are not copied again and again as the vector grows.
            const off_t length = mpg123_length(decoder.handle);
            if (length > 0 && stereo->empty()) {
                stereo->reserve(std::min(maxSamples, static_cast<size_t>(length) * 2 + sizeof(block) / sizeof(float)));
            }
        }
        if (done > 0 && formatKnown) {
            const size_t count = done / sizeof(float);
            if (stereo->size() + count > maxSamples) {
                stereo->clear();
                return FMOD_ERR_MEMORY;
            }
            stereo->insert(stereo->end(), block, block + count);
        }
        if (result == MPG123_NEED_MORE || result == MPG123_DONE) {
            break;  // every byte has been fed: the end of the file
        }
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            // A damaged frame after good ones ends the sound there; damage
            // before any audio means the file is not one we can play.
            if (stereo->empty()) {
                return FMOD_ERR_FORMAT;
            }
            break;
        }
    }
    stereo->resize(stereo->size() / 2 * 2);
    if (stereo->empty()) {
        return FMOD_ERR_FORMAT;
    }
    return FMOD_OK;
}

}  // namespace fmod_standin
