#include <gtest/gtest.h>

#include <algorithm>

#include "platform/fmod/fmod.hpp"
#include "platform/win32/win32_platform.h"
#include "sound/music_player.h"
#include "tests/support/sound_fixtures.h"

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

using MusicPlayerDeathTest = MusicPlayerTest;

TEST_F(MusicPlayerDeathTest, MissingEmptyOrCorruptMusicEndsTheProcessWithMinusOne) {
    ScratchDirectory directory;
    EXPECT_EXIT(player.CreateMusic(), ::testing::ExitedWithCode(255), "music//music.mp3.*File not found");
    WriteMusic({});
    EXPECT_EXIT(player.CreateMusic(), ::testing::ExitedWithCode(255), "music//music.mp3.*empty");
    WriteMusic(std::vector<uint8_t>(4000, 0x55));
    EXPECT_EXIT(player.CreateMusic(), ::testing::ExitedWithCode(255), "music//music.mp3.*format");
}
