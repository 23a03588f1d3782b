// The demo's music: a 110-second piece at 120 beats a minute, synthesised
// from the score text (content/score/music.score) and encoded to MP3.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gen {

constexpr int kSampleRate = 44100;
constexpr double kMusicSeconds = 110.0;

// Interleaved stereo samples in [-1, 1] for the score. False, with the reason
// in `problem`, when the score cannot be read.
bool SynthesiseMusic(const std::string& score, std::vector<float>& stereo, std::string& problem);
// MP3 (CBR 160 kbit/s, joint stereo) of interleaved stereo samples.
std::vector<uint8_t> EncodeMp3(const std::vector<float>& stereo);
bool GenerateMusic(const std::string& score, std::vector<uint8_t>& mp3, std::string& problem);

}  // namespace gen
