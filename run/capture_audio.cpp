#include "run/capture_audio.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/fmod/fmod_internal.h"
#include "run/capture_timing.h"

namespace capture {

static_assert(fmod_standin::kOutputRate == kSampleRate, "the capture's sound runs at the music's rate");

namespace {

void PutLittleEndian(std::vector<uint8_t>* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

bool LoadMusic(const std::string& path, std::vector<float>* stereo, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "cannot read the music \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    FMOD_RESULT result = fmod_standin::DecodeMp3(bytes.data(), bytes.size(), stereo);
    if (result != FMOD_OK) {
        *error = "cannot decode the music \"" + path + "\": " + FMOD_ErrorString(result);
        return false;
    }
    return true;
}

std::vector<int16_t> CutPcm16(const std::vector<float>& stereo, int64_t first, int64_t count) {
    std::vector<int16_t> pcm(static_cast<size_t>(std::max<int64_t>(count, 0)) * 2, 0);
    const int64_t available = static_cast<int64_t>(stereo.size() / 2);
    const int64_t from = std::max<int64_t>(0, -first);
    const int64_t to = std::min<int64_t>(count, available - first);
    for (int64_t i = from; i < to; ++i) {
        for (int c = 0; c < 2; ++c) {
            float value = std::clamp(stereo[static_cast<size_t>((first + i) * 2 + c)], -1.0f, 1.0f);
            pcm[static_cast<size_t>(i * 2 + c)] = static_cast<int16_t>(std::lrint(value * 32767.0f));
        }
    }
    return pcm;
}

bool WriteWav(const std::string& path, const std::vector<int16_t>& pcm, std::string* error) {
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * sizeof(int16_t));
    std::vector<uint8_t> header;
    header.insert(header.end(), {'R', 'I', 'F', 'F'});
    PutLittleEndian(&header, 36 + dataBytes, 4);
    header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLittleEndian(&header, 16, 4);                   // format chunk size
    PutLittleEndian(&header, 1, 2);                    // PCM
    PutLittleEndian(&header, 2, 2);                    // channels
    PutLittleEndian(&header, kSampleRate, 4);          // sample rate
    PutLittleEndian(&header, kSampleRate * 2 * 2, 4);  // bytes a second
    PutLittleEndian(&header, 2 * 2, 2);                // bytes a sample frame
    PutLittleEndian(&header, 16, 2);                   // bits a sample
    header.insert(header.end(), {'d', 'a', 't', 'a'});
    PutLittleEndian(&header, dataBytes, 4);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = "cannot write \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    // The samples are written as they lie in memory: little-endian machines only.
    bool written = std::fwrite(header.data(), 1, header.size(), file) == header.size() &&
                   std::fwrite(pcm.data(), 1, dataBytes, file) == dataBytes;
    int savedErrno = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        savedErrno = errno;
    }
    if (!written) {
        *error = "cannot write \"" + path + "\": " + std::strerror(savedErrno);
        return false;
    }
    return true;
}

}  // namespace capture
