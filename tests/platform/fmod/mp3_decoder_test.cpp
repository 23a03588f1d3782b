#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/fmod/fmod_internal.h"
#include "tests/support/sound_fixtures.h"

using fmod_standin::DecodeMp3;

namespace {

constexpr int kRate = fmod_standin::kOutputRate;

// Root mean square of one channel of interleaved stereo, over the middle half.
float Rms(const std::vector<float>& stereo, int channel) {
    const size_t frames = stereo.size() / 2;
    double sum = 0.0;
    for (size_t i = frames / 4; i < frames * 3 / 4; ++i) {
        sum += stereo[i * 2 + channel] * stereo[i * 2 + channel];
    }
    return static_cast<float>(std::sqrt(sum / static_cast<double>(frames / 2)));
}

FMOD_RESULT Decode(const std::vector<uint8_t>& bytes, std::vector<float>* stereo) {
    return DecodeMp3(bytes.data(), bytes.size(), stereo);
}

}  // namespace

TEST(Mp3Decoding, DecodesStereoAtTheOutputRateKeepingChannelsApart) {
    const std::vector<float> left = Sine(440.0, 1.0, kRate, 0.5f);
    const std::vector<float> right(left.size(), 0.0f);
    std::vector<float> stereo;
    ASSERT_EQ(Decode(EncodeMp3(left, right, kRate), &stereo), FMOD_OK);
    EXPECT_EQ(stereo.size() / 2, static_cast<size_t>(kRate));  // encoder delay and padding removed
    // Sized once from the decoder's length: no more room than one read block beyond the sound.
    EXPECT_LE(stereo.capacity(), stereo.size() + 4096);
    EXPECT_NEAR(Rms(stereo, 0), 0.5f / std::sqrt(2.0f), 0.02f);
    EXPECT_LT(Rms(stereo, 1), 0.01f);
}

TEST(Mp3Decoding, MonoAtAnotherRateIsResampledAndDuplicated) {
    const std::vector<float> mono = Sine(300.0, 1.0, 22050, 0.5f);
    std::vector<float> stereo;
    ASSERT_EQ(Decode(EncodeMp3(mono, {}, 22050), &stereo), FMOD_OK);
    EXPECT_NEAR(static_cast<double>(stereo.size() / 2), kRate, 2.0);
    for (size_t i = 0; i < stereo.size(); i += 2) {
        ASSERT_EQ(stereo[i], stereo[i + 1]) << "frame " << i / 2;
    }
    EXPECT_NEAR(Rms(stereo, 0), 0.5f / std::sqrt(2.0f), 0.03f);
}

TEST(Mp3Decoding, NoBytesIsAnEndOfFileErrorAndTextAFormatError) {
    std::vector<float> stereo;
    EXPECT_EQ(DecodeMp3(nullptr, 0, &stereo), FMOD_ERR_FILE_EOF);
    const std::string text = "This is a plain text file, not a piece of music.\n";
    EXPECT_EQ(Decode(std::vector<uint8_t>(text.begin(), text.end()), &stereo), FMOD_ERR_FORMAT);
    EXPECT_TRUE(stereo.empty());
}

TEST(Mp3Decoding, TruncatedFileGivesTheAudioBeforeTheCut) {
    std::vector<uint8_t> bytes = EncodeMp3(Sine(440.0, 1.0, kRate, 0.5f), {}, kRate);
    bytes.resize(bytes.size() / 2);
    std::vector<float> stereo;
    ASSERT_EQ(Decode(bytes, &stereo), FMOD_OK);
    EXPECT_GT(stereo.size() / 2, static_cast<size_t>(kRate / 4));
    EXPECT_LT(stereo.size() / 2, static_cast<size_t>(kRate * 3 / 4));
}
