// The music and its spectrum. Every failure of the sound system at start-up,
// or of creating the music, ends the process with status -1 after one line on
// stderr; failures of the per-frame calls are ignored.
#include "sound/music_player.h"

#include <cstdio>
#include <cstdlib>

#include "platform/fmod/fmod.hpp"

float sinceSpectrum = 0.0f;

namespace {

void Require(FMOD_RESULT result, const char* what) {
    if (result != FMOD_OK) {
        std::fprintf(stderr, "music: %s failed: %s\n", what, FMOD_ErrorString(result));
        std::exit(-1);
    }
}

}  // namespace

MusicPlayer::MusicPlayer() {
    spectrumInterval = 0.1f;
    spectrumEnabled = false;
    FMOD_CAPS caps = 0;
    FMOD_SPEAKERMODE speakerMode = FMOD_SPEAKERMODE_STEREO;
    Require(FMOD_System_Create(&system), "creating the sound system");
    Require(system->getDriverCaps(0, &caps, nullptr, nullptr, &speakerMode), "reading the driver caps");
    Require(system->setSpeakerMode(speakerMode), "setting the speaker mode");
    Require(system->init(100, FMOD_INIT_NORMAL, nullptr), "starting the sound system");
    system->update();
    for (float& value : spectrum) {
        value = 0.0f;
    }
}

FMOD::Sound* MusicPlayer::CreateMusic() {
    FMOD::Sound* sound = nullptr;
    Require(system->createSound("music//music.mp3", FMOD_CREATECOMPRESSEDSAMPLE | FMOD_ACCURATETIME, nullptr, &sound),
            "loading music//music.mp3");
    return sound;
}

void MusicPlayer::StartMusic(FMOD::Sound* sound) {
    FMOD::Channel* channel = nullptr;
    Require(system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel), "starting the music");
}

void MusicPlayer::Update(float dt) {
    if (spectrumEnabled && sinceSpectrum > spectrumInterval) {
        system->getSpectrum(spectrum, 512, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE);
        sinceSpectrum = 0.0f;
    } else {
        sinceSpectrum += dt;
    }
    system->update();
}
