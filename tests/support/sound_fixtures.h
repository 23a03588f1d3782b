// Generated sound for the sound tests: sine waves, MP3 files encoded with
// LAME, and a scratch working directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `seconds` of a sine at `hertz`, sampled at `rate`, peak `amplitude`.
std::vector<float> Sine(double hertz, double seconds, int rate, float amplitude);

// An MP3 of the given channels (right empty: mono) at `rate`.
std::vector<uint8_t> EncodeMp3(const std::vector<float>& left, const std::vector<float>& right, int rate);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

// A fresh directory that becomes the working directory for the object's
// lifetime; the previous one is restored afterwards.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& Path() const { return path; }

private:
    std::string path;
    std::string previous;
};

// music/music.mp3 in the working directory (what "music//music.mp3" names).
void WriteMusic(const std::vector<uint8_t>& bytes);
