// Fuzz target for the content generator's readers: the music score text and
// the camera path reader of the contact sheet.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/contentgen/paths.h"
#include "tools/contentgen/score.h"

extern "C" void FuzzSeeds(std::vector<std::vector<uint8_t>>& seeds) {
    const std::string score =
        "tempo 120\n# comment\nsection a 0 chords Am F C G7 pad=0.5 hat=1\nsection b 8 chords F#m Bb sus=1\n"
        "pattern hat x.X.x.X.x.X.x.Xx\narp 0 2 4 1 3 5 2 4 0 2 4 1 3 5 4 2\nmelody a A5 - . G#5 | C6 -\nend 16\n";
    seeds.emplace_back(score.begin(), score.end());
    std::vector<uint8_t> path =
        gen::WriteCameraPath({"x.cp", 2.0f, {{0, {0, 1, 2}, {0, 0, 0}}, {2, {4, 5, 6}, {1, 1, 1}}}});
    seeds.push_back(path);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gen::Score score;
    std::string problem;
    if (gen::ParseScore(std::string(reinterpret_cast<const char*>(data), size), score, problem)) {
        // Every beat of a parsed score has a section, a chord and levels.
        for (double beat = 0; beat < score.endBeat; beat += score.endBeat / 16) {
            const gen::Chord& chord = score.ChordAt(beat);
            if (chord.notes.empty()) __builtin_trap();
            (void)score.Level("pad", beat);
        }
    }
    gen::CameraPathKeys keys;
    if (gen::ParseCameraPathFile(std::vector<uint8_t>(data, data + size), keys) && !keys.eyes.empty() &&
        keys.duration > 0) {
        gen::Vec3 eye, target;
        gen::EvaluateCameraPath(keys, keys.duration * 0.5f, eye, target);
    }
    return 0;
}
