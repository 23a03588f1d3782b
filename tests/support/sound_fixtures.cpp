#include "tests/support/sound_fixtures.h"

#include <lame/lame.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <stdexcept>

std::vector<float> Sine(double hertz, double seconds, int rate, float amplitude) {
    std::vector<float> samples(static_cast<size_t>(seconds * rate));
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * hertz * i / rate));
    }
    return samples;
}

std::vector<uint8_t> EncodeMp3(const std::vector<float>& left, const std::vector<float>& right, int rate) {
    const bool mono = right.empty();
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, mono ? 1 : 2);
    lame_set_mode(lame, mono ? MONO : STEREO);
    lame_set_brate(lame, 192);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        throw std::runtime_error("lame_init_params failed");
    }
    const int frames = static_cast<int>(left.size());
    std::vector<uint8_t> mp3(static_cast<size_t>(frames * 5 / 4 + 7200 + 16384));
    int size = lame_encode_buffer_ieee_float(lame, left.data(), mono ? left.data() : right.data(), frames, mp3.data(),
                                             static_cast<int>(mp3.size()));
    if (size >= 0) {
        const int tail = lame_encode_flush(lame, mp3.data() + size, static_cast<int>(mp3.size()) - size);
        size = tail < 0 ? tail : size + tail;
    }
    if (size >= 0) {
        // The first frame is a placeholder for the LAME tag, which tells the
        // decoder the encoder's delay and padding (an exact length).
        lame_get_lametag_frame(lame, mp3.data(), static_cast<size_t>(size));
    }
    lame_close(lame);
    if (size < 0) {
        throw std::runtime_error("lame encoding failed");
    }
    mp3.resize(static_cast<size_t>(size));
    return mp3;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

ScratchDirectory::ScratchDirectory() {
    static std::atomic<int> counter{0};
    path = (std::filesystem::temp_directory_path() /
            ("demo_sound_" + std::to_string(getpid()) + "_" + std::to_string(counter++)))
               .string();
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    previous = std::filesystem::current_path().string();
    std::filesystem::current_path(path);
}

ScratchDirectory::~ScratchDirectory() {
    std::filesystem::current_path(previous);
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void WriteMusic(const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories("music");
    WriteFile("music/music.mp3", bytes);
}
