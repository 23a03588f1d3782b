// The sound of a capture: the music decoded as the sound stand-in decodes it
// for playback, cut to a span of samples and written as 16-bit stereo PCM.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

// Decodes the music file into interleaved stereo floats at kSampleRate.
// False, with the reason in `error`, when it cannot be read or decoded.
bool LoadMusic(const std::string& path, std::vector<float>* stereo, std::string* error);

// Samples [first, first + count) of `stereo` as interleaved 16-bit PCM;
// samples outside the music are silence.
std::vector<int16_t> CutPcm16(const std::vector<float>& stereo, int64_t first, int64_t count);

// A 16-bit stereo WAV file at kSampleRate holding `pcm`. False, with the
// reason in `error`, when it cannot be written whole.
bool WriteWav(const std::string& path, const std::vector<int16_t>& pcm, std::string* error);

}  // namespace capture
