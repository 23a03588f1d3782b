// The music and its 512-band spectrum.
#pragma once

namespace FMOD {
class System;
class Sound;
}  // namespace FMOD

class MusicPlayer {
public:
    MusicPlayer();               // starts the sound system; ends the process with -1 on failure
    FMOD::Sound* CreateMusic();  // "music//music.mp3"; ends the process with -1 on failure
    // playSound on a free channel, not paused; ends the process with -1 on failure.
    void StartMusic(FMOD::Sound* sound);
    void Update(float dt);

    FMOD::System* system = nullptr;
    bool spectrumEnabled = false;
    float spectrumInterval = 0.1f;
    float spectrum[512] = {};
};

// Seconds accumulated since the last spectrum read.
extern float sinceSpectrum;
