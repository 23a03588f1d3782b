#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/fmod/fmod.hpp"
#include "platform/win32/win32_platform.h"
#include "tests/support/sound_fixtures.h"

namespace {

constexpr int kSampleRate = 44100;

// A started sound system on the headless output, its clock stepping 1/30 s
// per presented frame, in a scratch directory holding "tone.mp3": two seconds
// of a full-scale 1 kHz sine on the left, silence on the right.
class SoundSystem : public ::testing::Test {
protected:
    void SetUp() override {
        Win32_SetFixedStep(30);
        const std::vector<float> left = Sine(1000.0, 2.0, kSampleRate, 0.9f);
        WriteFile("tone.mp3", EncodeMp3(left, std::vector<float>(left.size(), 0.0f), kSampleRate));
        system = Started();
    }
    void TearDown() override {
        system->release();
        Win32_SetFixedStep(0);
    }

    static FMOD::System* Started() {
        FMOD::System* created = nullptr;
        EXPECT_EQ(FMOD_System_Create(&created), FMOD_OK);
        EXPECT_EQ(created->init(100, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
        return created;
    }

    static FMOD::Sound* Load(FMOD::System* target, const char* name) {
        FMOD::Sound* sound = nullptr;
        EXPECT_EQ(target->createSound(name, FMOD_CREATECOMPRESSEDSAMPLE | FMOD_ACCURATETIME, nullptr, &sound), FMOD_OK);
        return sound;
    }

    static void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            Win32_FramePresented();
        }
    }

    std::vector<float> Spectrum(int channel = 0) {
        std::vector<float> values(512, -1.0f);
        EXPECT_EQ(system->getSpectrum(values.data(), 512, channel, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_OK);
        return values;
    }

    ScratchDirectory directory;
    FMOD::System* system = nullptr;
};

bool AllZero(const std::vector<float>& values) {
    return std::all_of(values.begin(), values.end(), [](float v) { return v == 0.0f; });
}

int Loudest(const std::vector<float>& values) {
    return static_cast<int>(std::max_element(values.begin(), values.end()) - values.begin());
}

}  // namespace

TEST_F(SoundSystem, ReportsAStereoDriverAndRefusesCallsOutOfOrder) {
    FMOD::System* fresh = nullptr;
    ASSERT_EQ(FMOD_System_Create(&fresh), FMOD_OK);
    FMOD::Sound* sound = nullptr;
    float values[512];
    EXPECT_EQ(fresh->createSound("tone.mp3", FMOD_DEFAULT, nullptr, &sound), FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(fresh->getSpectrum(values, 512, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_ERR_UNINITIALIZED);
    FMOD_CAPS caps = 0;
    FMOD_SPEAKERMODE mode = FMOD_SPEAKERMODE_RAW;
    EXPECT_EQ(fresh->getDriverCaps(0, &caps, nullptr, nullptr, &mode), FMOD_OK);
    EXPECT_EQ(mode, FMOD_SPEAKERMODE_STEREO);
    EXPECT_EQ(fresh->setSpeakerMode(mode), FMOD_OK);
    EXPECT_EQ(fresh->init(100, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    EXPECT_EQ(fresh->setSpeakerMode(mode), FMOD_ERR_INITIALIZED);
    EXPECT_EQ(fresh->update(), FMOD_OK);
    fresh->release();
}

TEST_F(SoundSystem, MissingEmptyAndCorruptFilesAreErrors) {
    std::filesystem::create_directory("folder.mp3");
    WriteFile("empty.mp3", {});
    WriteFile("text.mp3", std::vector<uint8_t>(300, 'x'));
    FMOD::Sound* sound = reinterpret_cast<FMOD::Sound*>(1);
    EXPECT_EQ(system->createSound("absent.mp3", FMOD_DEFAULT, nullptr, &sound), FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(system->createSound("folder.mp3", FMOD_DEFAULT, nullptr, &sound), FMOD_ERR_FILE_BAD);
    EXPECT_EQ(system->createSound("empty.mp3", FMOD_DEFAULT, nullptr, &sound), FMOD_ERR_FILE_EOF);
    EXPECT_EQ(system->createSound("text.mp3", FMOD_DEFAULT, nullptr, &sound), FMOD_ERR_FORMAT);
    EXPECT_EQ(system->createSound(nullptr, FMOD_DEFAULT, nullptr, &sound), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->createSound("tone.mp3", FMOD_LOOP_NORMAL, nullptr, &sound), FMOD_ERR_UNSUPPORTED);
}

TEST_F(SoundSystem, LoadsTheExactLengthAndPlaysOnWithThePerformanceCounterUnlessPausedFromWhereItIsSet) {
    FMOD::Sound* sound = Load(system, "tone.mp3");
    ASSERT_NE(sound, nullptr);
    unsigned int frames = 0;
    unsigned int milliseconds = 0;
    EXPECT_EQ(sound->getLength(&frames, FMOD_TIMEUNIT_PCM), FMOD_OK);
    EXPECT_EQ(sound->getLength(&milliseconds, FMOD_TIMEUNIT_MS), FMOD_OK);
    EXPECT_EQ(std::pair(frames, milliseconds), std::pair(2u * kSampleRate, 2000u));
    FMOD::Channel* channel = nullptr;
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, true, &channel), FMOD_OK);
    ASSERT_NE(channel, nullptr);
    unsigned int position = 1;
    Frames(5);
    EXPECT_EQ(channel->getPosition(&position, FMOD_TIMEUNIT_PCM), FMOD_OK);
    EXPECT_EQ(position, 0u) << "paused";
    EXPECT_TRUE(AllZero(Spectrum()));
    EXPECT_EQ(channel->setPaused(false), FMOD_OK);
    Frames(10);
    EXPECT_EQ(channel->getPosition(&position, FMOD_TIMEUNIT_PCM), FMOD_OK);
    EXPECT_EQ(position, 10u * kSampleRate / 30);
    // SetPosition moves the play position, in samples or milliseconds, short of the end.
    EXPECT_EQ(channel->setPosition(kSampleRate, FMOD_TIMEUNIT_PCM), FMOD_OK);
    Frames(3);
    channel->getPosition(&position, FMOD_TIMEUNIT_PCM);
    EXPECT_EQ(position, unsigned(kSampleRate + 3 * kSampleRate / 30));
    EXPECT_EQ(channel->setPosition(500, FMOD_TIMEUNIT_MS), FMOD_OK);
    channel->getPosition(&position, FMOD_TIMEUNIT_PCM);
    EXPECT_EQ(position, unsigned(kSampleRate / 2));
    EXPECT_EQ(channel->setPosition(2 * kSampleRate, FMOD_TIMEUNIT_PCM), FMOD_ERR_INVALID_POSITION);
}

TEST_F(SoundSystem, SpectrumIsSilentUntilPlayingThenPeaksInTheSinesBandOnItsChannelOnly) {
    Frames(5);
    EXPECT_TRUE(AllZero(Spectrum())) << "nothing playing";
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, Load(system, "tone.mp3"), false, nullptr), FMOD_OK);
    EXPECT_TRUE(AllZero(Spectrum())) << "the window starts at the play start";
    Frames(6);
    const std::vector<float> left = Spectrum(0);
    EXPECT_EQ(Loudest(left), 23);
    EXPECT_GT(left[23], 0.6f);
    EXPECT_LE(left[23], 1.0f);
    const std::vector<float> right = Spectrum(1);
    EXPECT_LT(*std::max_element(right.begin(), right.end()), 0.02f);
}

TEST_F(SoundSystem, SpectrumIsTheSameOnEveryRunWithAFixedStep) {
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, Load(system, "tone.mp3"), false, nullptr), FMOD_OK);
    Frames(7);
    const std::vector<float> first = Spectrum();

    FMOD::System* again = Started();
    ASSERT_EQ(again->playSound(FMOD_CHANNEL_FREE, Load(again, "tone.mp3"), false, nullptr), FMOD_OK);
    Frames(7);
    std::vector<float> second(512);
    ASSERT_EQ(again->getSpectrum(second.data(), 512, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_OK);
    again->release();
    EXPECT_EQ(first, second);
}

TEST_F(SoundSystem, ALongSoundGivesTheSameSamplesWhereverItsPositionMoves) {
    // 30 s of one-second tones, 1 kHz and 2 kHz in turn.
    std::vector<float> left;
    for (int second = 0; second < 30; ++second) {
        const std::vector<float> tone = Sine(second % 2 ? 2000.0 : 1000.0, 1.0, kSampleRate, 0.9f);
        left.insert(left.end(), tone.begin(), tone.end());
    }
    WriteFile("long.mp3", EncodeMp3(left, std::vector<float>(left.size(), 0.0f), kSampleRate));
    FMOD::Sound* sound = Load(system, "long.mp3");
    unsigned int length = 0;
    ASSERT_EQ(sound->getLength(&length, FMOD_TIMEUNIT_PCM), FMOD_OK);
    EXPECT_EQ(length, 30u * kSampleRate);
    FMOD::Channel* channel = nullptr;
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel), FMOD_OK);
    const auto spectrumAt = [&](unsigned int frame) {
        EXPECT_EQ(channel->setPosition(frame, FMOD_TIMEUNIT_PCM), FMOD_OK);
        return Spectrum();
    };
    const std::vector<float> late = spectrumAt(29 * kSampleRate + kSampleRate / 2);
    EXPECT_EQ(Loudest(late), 46) << "the 2 kHz tone 29.5 s in";
    EXPECT_GT(late[46], 0.6f);
    EXPECT_EQ(Loudest(spectrumAt(2 * kSampleRate + kSampleRate / 2)), 23) << "back to the 1 kHz tone 2.5 s in";
    EXPECT_EQ(spectrumAt(29 * kSampleRate + kSampleRate / 2), late) << "forward again";
}

TEST_F(SoundSystem, SoundPlaysOnceAndItsChannelIsFreedAfterwards) {
    FMOD::Sound* sound = Load(system, "tone.mp3");
    FMOD::Channel* channel = nullptr;
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel), FMOD_OK);
    bool playing = false;
    EXPECT_EQ(channel->isPlaying(&playing), FMOD_OK);
    EXPECT_TRUE(playing);
    Frames(3 * 30);
    EXPECT_EQ(channel->isPlaying(&playing), FMOD_OK);
    EXPECT_FALSE(playing);
    EXPECT_TRUE(AllZero(Spectrum()));
    EXPECT_EQ(system->update(), FMOD_OK);
    FMOD::Channel* next = nullptr;
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &next), FMOD_OK);
    EXPECT_EQ(next, channel);  // the first free channel again
}

TEST_F(SoundSystem, RefusesBadArgumentsAndRunsOutOfFreeChannels) {
    float values[512];
    EXPECT_EQ(system->getSpectrum(values, 500, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->getSpectrum(values, 512, 2, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, reinterpret_cast<FMOD::Sound*>(values), false, nullptr),
              FMOD_ERR_INVALID_HANDLE);
    FMOD::System* small = nullptr;  // free channels run out
    ASSERT_EQ(FMOD_System_Create(&small), FMOD_OK);
    ASSERT_EQ(small->init(2, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    FMOD::Sound* sound = Load(small, "tone.mp3");
    EXPECT_EQ(small->playSound(FMOD_CHANNEL_FREE, sound, false, nullptr), FMOD_OK);
    EXPECT_EQ(small->playSound(FMOD_CHANNEL_FREE, sound, false, nullptr), FMOD_OK);
    EXPECT_EQ(small->playSound(FMOD_CHANNEL_FREE, sound, false, nullptr), FMOD_ERR_CHANNEL_ALLOC);
    small->release();
}
