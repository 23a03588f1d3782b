#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/fmod/fmod.hpp"
#include "tests/support/sound_fixtures.h"

// With an audio device (asked for with DEMO_AUDIO=device even while rendering
// headless), the music goes to an SDL2 audio device that pulls the mix on its
// own thread. SDL's "disk" audio driver stands in for a sound card: it writes
// what it is given to a file, in real time. Runs in a child process, since it
// changes the environment.
TEST(SoundOnAudioDevice, PlaysTheMixThroughTheDeviceAndAnalysesIt) {
    ScratchDirectory directory;
    const std::vector<float> left = Sine(1000.0, 2.0, 44100, 0.9f);
    WriteFile("tone.mp3", EncodeMp3(left, std::vector<float>(left.size(), 0.0f), 44100));
    const std::string output = directory.Path() + "/device.raw";

    EXPECT_EXIT(
        {
            setenv("DEMO_AUDIO", "device", 1);
            setenv("SDL_AUDIODRIVER", "disk", 1);
            setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
            FMOD::System* system = nullptr;
            FMOD::Sound* sound = nullptr;
            FMOD::Channel* channel = nullptr;
            if (FMOD_System_Create(&system) != FMOD_OK || system->init(8, FMOD_INIT_NORMAL, nullptr) != FMOD_OK ||
                system->createSound("tone.mp3", FMOD_DEFAULT, nullptr, &sound) != FMOD_OK ||
                system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel) != FMOD_OK) {
                std::exit(1);
            }
            unsigned int position = 0;
            for (int wait = 0; wait < 300 && position < 22050; ++wait) {
                SDL_Delay(10);
                channel->getPosition(&position, FMOD_TIMEUNIT_PCM);
            }
            if (position < 22050) {
                std::exit(2);  // the device never pulled half a second
            }
            std::vector<float> spectrum(512);
            system->getSpectrum(spectrum.data(), 512, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE);
            if (std::max_element(spectrum.begin(), spectrum.end()) - spectrum.begin() != 23) {
                std::exit(3);
            }
            system->release();  // closes the device, flushing the file
            // The device writes silence from init on, for as long as the
            // sound takes to load under the machine's load: the tone is
            // looked for in all it wrote.
            std::ifstream file(output, std::ios::binary);
            std::vector<float> written(static_cast<size_t>(std::filesystem::file_size(output) / 4));
            file.read(reinterpret_cast<char*>(written.data()), static_cast<std::streamsize>(written.size() * 4));
            const bool heard = std::any_of(written.begin(), written.end(), [](float v) { return v > 0.5f; });
            std::exit(heard ? 0 : 4);
        },
        ::testing::ExitedWithCode(0), "");
}

// Where SDL's ALSA driver finds no sound card, ALSA's own error lines are kept
// off stderr while the device is opened: only the stand-in's one line about
// the silent music remains (or nothing, where a card opens). The child sends
// its stderr to a file and reads it back.
TEST(SoundOnAudioDevice, AlsaPrintsNothingWhileTheDeviceIsOpened) {
    ScratchDirectory directory;
    const std::string log = directory.Path() + "/stderr.txt";
    EXPECT_EXIT(
        {
            setenv("DEMO_AUDIO", "device", 1);
            setenv("SDL_AUDIODRIVER", "alsa", 1);
            if (!std::freopen(log.c_str(), "w", stderr)) std::exit(2);
            FMOD::System* system = nullptr;
            if (FMOD_System_Create(&system) != FMOD_OK || system->init(8, FMOD_INIT_NORMAL, nullptr) != FMOD_OK)
                std::exit(3);
            system->release();
            std::fflush(stderr);
            std::ifstream file(log);
            const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            std::exit(text.find("ALSA lib") == std::string::npos ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
