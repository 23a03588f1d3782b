#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/fmod/fmod.hpp"
#include "platform/win32/win32_platform.h"
#include "sound/music_player.h"
#include "tests/sound/sound_fixtures.h"

namespace {

constexpr float kUnread = 7.0f;  // no spectrum read ever yields this

class MusicPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { sinceSpectrum = 0.0f; }
    void TearDown() override {
        player.system->release();
        sinceSpectrum = 0.0f;
    }

    void MarkUnread() { std::fill(std::begin(player.spectrum), std::end(player.spectrum), kUnread); }
    bool Read() const { return player.spectrum[0] != kUnread; }

    MusicPlayer player;
};

}  // namespace

TEST_F(MusicPlayerTest, ConstructionStartsTheSoundSystemWithReadingOff) {
    EXPECT_NE(player.system, nullptr);
    EXPECT_FALSE(player.spectrumEnabled);
    EXPECT_FLOAT_EQ(player.spectrumInterval, 0.1f);
    EXPECT_TRUE(std::all_of(std::begin(player.spectrum), std::end(player.spectrum), [](float v) { return v == 0; }));
}

TEST_F(MusicPlayerTest, WithConstructionDefaultsTheSpectrumIsNeverRead) {
    MarkUnread();
    for (int frame = 0; frame < 20; ++frame) {
        player.Update(0.05f);
    }
    EXPECT_FALSE(Read());
    EXPECT_NEAR(sinceSpectrum, 1.0f, 1e-5f);
}

TEST_F(MusicPlayerTest, IntervalMinusOneReadsOnEveryFrame) {
    player.spectrumEnabled = true;
    player.spectrumInterval = -1.0f;
    for (int frame = 0; frame < 5; ++frame) {
        MarkUnread();
        player.Update(0.02f);
        EXPECT_TRUE(Read()) << "frame " << frame;
        EXPECT_EQ(sinceSpectrum, 0.0f);
    }
}

TEST_F(MusicPlayerTest, SwitchingReadingOffKeepsTheLastValuesWhileTheCountGrows) {
    player.spectrumEnabled = true;
    player.spectrumInterval = -1.0f;
    player.Update(0.02f);
    player.spectrumEnabled = false;
    MarkUnread();
    player.Update(0.25f);
    player.Update(0.25f);
    EXPECT_FALSE(Read());
    EXPECT_FLOAT_EQ(sinceSpectrum, 0.5f);
}

TEST_F(MusicPlayerTest, IntervalReadsInTheFirstFrameAfterMoreThanItHasPassed) {
    player.spectrumEnabled = true;
    MarkUnread();
    player.Update(0.04f);  // 0.04 accumulated
    player.Update(0.04f);  // 0.08
    player.Update(0.04f);  // 0.12
    EXPECT_FALSE(Read());
    EXPECT_NEAR(sinceSpectrum, 0.12f, 1e-6f);
    player.Update(0.04f);  // more than 0.1 had passed: read, and this frame's dt is not added
    EXPECT_TRUE(Read());
    EXPECT_EQ(sinceSpectrum, 0.0f);
    MarkUnread();
    player.Update(0.1f);
    player.Update(0.1f);  // exactly 0.1 is not more than the interval
    EXPECT_FALSE(Read());
}

TEST_F(MusicPlayerTest, PlayingMusicShowsInTheSpectrum) {
    ScratchDirectory directory;
    const std::vector<float> tone = Sine(1000.0, 1.0, 44100, 0.9f);
    WriteMusic(EncodeMp3(tone, tone, 44100));
    Win32_SetFixedStep(60);
    player.spectrumEnabled = true;
    player.spectrumInterval = -1.0f;
    player.StartMusic(player.CreateMusic());
    for (int frame = 0; frame < 10; ++frame) {
        Win32_FramePresented();
        player.Update(1.0f / 60);
    }
    Win32_SetFixedStep(0);
    const float* loudest = std::max_element(std::begin(player.spectrum), std::end(player.spectrum));
    EXPECT_EQ(loudest - player.spectrum, 23);
    EXPECT_GT(*loudest, 0.6f);
}

using MusicPlayerDeathTest = MusicPlayerTest;

TEST_F(MusicPlayerDeathTest, MissingMusicEndsTheProcessWithMinusOne) {
    ScratchDirectory directory;
    EXPECT_EXIT(player.CreateMusic(), ::testing::ExitedWithCode(255), "music//music.mp3.*File not found");
}

TEST_F(MusicPlayerDeathTest, EmptyMusicEndsTheProcessWithMinusOne) {
    ScratchDirectory directory;
    WriteMusic({});
    EXPECT_EXIT(player.CreateMusic(), ::testing::ExitedWithCode(255), "music//music.mp3.*empty");
}

TEST_F(MusicPlayerDeathTest, CorruptMusicEndsTheProcessWithMinusOne) {
    ScratchDirectory directory;
    WriteMusic(std::vector<uint8_t>(4000, 0x55));
    EXPECT_EXIT(player.CreateMusic(), ::testing::ExitedWithCode(255), "music//music.mp3.*format");
}

TEST_F(MusicPlayerDeathTest, FailingToStartTheMusicEndsTheProcessWithMinusOne) {
    EXPECT_EXIT(player.StartMusic(nullptr), ::testing::ExitedWithCode(255), "starting the music");
}
