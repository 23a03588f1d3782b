// The score text of the music (content/score/music.score): tempo, sections
// with their chords and instrument levels, drum and bass patterns, the
// arpeggio's steps and the melodies. The file's own comments describe it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace gen {

struct Chord {
    std::vector<int> notes;  // MIDI notes from the root in octave 3 up
};

struct Section {
    std::string name;
    double startBeat = 0;
    std::vector<Chord> chords;
    std::map<std::string, float> levels;
};

// One eighth-note step of a melody: a MIDI note, -1 to hold, -2 to rest.
constexpr int kHold = -1, kRest = -2;

struct Score {
    double tempo = 120;
    double endBeat = 0;
    std::vector<Section> sections;                     // in time order
    std::map<std::string, std::string> patterns;       // 16 steps each
    std::vector<int> arp;                              // 16 steps
    std::map<std::string, std::vector<int>> melodies;  // by section name

    double SecondsPerBeat() const { return 60.0 / tempo; }
    // The section sounding at `beat` (the last one starting at or before it).
    const Section& SectionAt(double beat) const;
    float Level(const std::string& instrument, double beat) const;
    const Chord& ChordAt(double beat) const;
};

// MIDI number of a note name such as "A4" or "G#5" (C4 = 60); -1 if malformed.
int NoteNumber(const std::string& name);
// Notes of a chord symbol such as "Am", "F", "G7", "Dm", "E" (root in octave 3).
bool ParseChord(const std::string& symbol, Chord& chord);
// False, with the line and reason in `problem`, for a malformed score.
bool ParseScore(const std::string& text, Score& score, std::string& problem);

}  // namespace gen
