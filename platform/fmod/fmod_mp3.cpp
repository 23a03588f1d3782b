// MP3 decoding for createSound: libmpg123 in feed mode over the file's bytes,
// told to accept only 32-bit float stereo at the output rate, so that it
// duplicates mono and resamples other rates itself. Decoded a block at a
// time, so that a sound decodes as it plays.
#include <mpg123.h>

#include <algorithm>

#include "platform/fmod/fmod_internal.h"

namespace fmod_standin {

namespace {

bool FormatIsOurs(mpg123_handle* handle) {
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    return mpg123_getformat(handle, &rate, &channels, &encoding) == MPG123_OK && rate == kOutputRate && channels == 2 &&
           encoding == MPG123_ENC_FLOAT_32;
}

}  // namespace

Mp3Decoder::Mp3Decoder() {
    static const int initialised = mpg123_init();
    (void)initialised;
}

Mp3Decoder::~Mp3Decoder() {
    if (handle != nullptr) {
        mpg123_delete(handle);
    }
}

FMOD_RESULT Mp3Decoder::Open(std::vector<uint8_t> file, std::vector<float>* stereo) {
    bytes = std::move(file);
    return Restart(stereo);
}

FMOD_RESULT Mp3Decoder::Restart(std::vector<float>* stereo) {
    stereo->clear();
    ended = true;  // until the file is fed
    formatKnown = false;
    decodedFrames = 0;
    if (bytes.empty()) {
        return FMOD_ERR_FILE_EOF;
    }
    if (handle != nullptr) {
        mpg123_delete(handle);
    }
    handle = mpg123_new(nullptr, nullptr);
    if (handle == nullptr || mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0) != MPG123_OK ||
        mpg123_format_none(handle) != MPG123_OK ||
        mpg123_format(handle, kOutputRate, MPG123_STEREO, MPG123_ENC_FLOAT_32) != MPG123_OK ||
        mpg123_open_feed(handle) != MPG123_OK || mpg123_feed(handle, bytes.data(), bytes.size()) != MPG123_OK) {
        return FMOD_ERR_MEMORY;
    }
    ended = false;
    while (stereo->empty() && !ended) {
        if (Next(stereo) == FMOD_ERR_FORMAT) {
            return FMOD_ERR_FORMAT;
        }
    }
    return stereo->empty() ? FMOD_ERR_FORMAT : FMOD_OK;
}

FMOD_RESULT Mp3Decoder::Next(std::vector<float>* stereo) {
    if (ended) {
        return FMOD_OK;
    }
    size_t done = 0;
    const int result = mpg123_read(handle, block, sizeof(block), &done);
    if (result == MPG123_NEW_FORMAT) {
        if (!FormatIsOurs(handle)) {
            ended = true;
            return FMOD_ERR_FORMAT;
        }
        formatKnown = true;
        // The decoder's length: its frame count, exact for files with a
        // frame index. Asked only when the file can hold the MPEG frames it
        // claims (each takes more than one byte): converting a huge claimed
        // count to output frames takes the decoder time in proportion to it.
        const off_t mpegFrames = mpg123_framelength(handle);
        if (mpegFrames > 0 && static_cast<uint64_t>(mpegFrames) <= bytes.size()) {
            const off_t length = mpg123_length(handle);
            if (length > 0) {
                announcedFrames = std::min<int64_t>(length, kMaxSoundFrames);
            }
        }
    }
    if (done > 0 && formatKnown) {
        const size_t count = done / sizeof(float) / 2 * 2;
        if (decodedFrames + static_cast<int64_t>(count / 2) > kMaxSoundFrames) {
            ended = true;
            return FMOD_ERR_MEMORY;
        }
        decodedFrames += static_cast<int64_t>(count / 2);
        stereo->insert(stereo->end(), block, block + count);
    }
    if (result == MPG123_NEED_MORE || result == MPG123_DONE) {
        ended = true;  // every byte has been fed: the end of the file
    } else if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
        // A damaged frame after good ones ends the sound there; damage
        // before any audio means the file is not one we can play.
        ended = true;
        if (decodedFrames == 0) {
            return FMOD_ERR_FORMAT;
        }
    }
    return FMOD_OK;
}

FMOD_RESULT Mp3Decoder::Rest(std::vector<float>* stereo) {
    FMOD_RESULT result = FMOD_OK;
    while (result == FMOD_OK && !ended) {
        result = Next(stereo);
    }
    return result;
}

FMOD_RESULT DecodeMp3(const uint8_t* data, size_t size, std::vector<float>* stereo) {
    Mp3Decoder decoder;
    FMOD_RESULT result = decoder.Open(std::vector<uint8_t>(data, data + size), stereo);
    if (result == FMOD_OK && decoder.AnnouncedFrames() > 0) {
        // Room for the whole sound at once: the samples are not copied again
        // and again as the vector grows.
        stereo->reserve(static_cast<size_t>(decoder.AnnouncedFrames()) * 2 + Mp3Decoder::kBlockSamples);
    }
    if (result == FMOD_OK) {
        result = decoder.Rest(stereo);
    }
    if (result != FMOD_OK) {
        stereo->clear();
    }
    return result;
}

}  // namespace fmod_standin
