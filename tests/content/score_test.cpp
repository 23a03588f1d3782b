// The score reader (the demo's own score is checked by what it sounds like,
// in music_test.cpp).
#include <gtest/gtest.h>

#include "tools/contentgen/score.h"

using namespace gen;

TEST(Score, NoteNamesGiveMidiNumbersAndChordSymbolsTheirNotesFromOctaveThree) {
    const std::pair<const char*, int> notes[] = {{"C4", 60}, {"A4", 69}, {"G#5", 80}, {"Bb3", 58}, {"A0", 21},
                                                 {"H4", -1}, {"A", -1},  {"A45", -1}, {"A#", -1}};
    for (const auto& [name, number] : notes) EXPECT_EQ(NoteNumber(name), number) << name;
    const std::pair<const char*, std::vector<int>> chords[] = {
        {"Am", {57, 60, 64}}, {"F", {53, 57, 60}}, {"G7", {55, 59, 62, 65}}, {"F#m", {54, 57, 61}}};
    Chord chord;
    for (const auto& [symbol, wanted] : chords) {
        ASSERT_TRUE(ParseChord(symbol, chord)) << symbol;
        EXPECT_EQ(chord.notes, wanted) << symbol;
    }
    EXPECT_FALSE(ParseChord("Xm", chord));
    EXPECT_FALSE(ParseChord("Adim", chord));
}

TEST(Score, MalformedScoresAreRefusedWithTheirLine) {
    const std::string head = "tempo 120\nsection a 0 chords Am\n";
    Score score;
    std::string problem;
    EXPECT_FALSE(ParseScore(head + "section b 0 chords F\nend 8\n", score, problem));
    EXPECT_NE(problem.find("line 3"), std::string::npos) << problem;
    EXPECT_FALSE(ParseScore(head + "pattern kick x...\nend 8\n", score, problem));
    EXPECT_NE(problem.find("line 3"), std::string::npos) << problem;
    EXPECT_FALSE(ParseScore(head + "melody a A4 Q9\nend 8\n", score, problem));
    EXPECT_FALSE(ParseScore(head + "volume 11\nend 8\n", score, problem));
    EXPECT_FALSE(ParseScore(head, score, problem)) << "a score without an end";
    EXPECT_FALSE(ParseScore("tempo 120\nsection a 4 chords Am\nend 8\n", score, problem));
    EXPECT_FALSE(ParseScore("tempo 0\nsection a 0 chords Am\nend 8\n", score, problem));
    EXPECT_TRUE(ParseScore(head + "# a comment\nmelody a A4 - . G#4 | C5\nend 8\n", score, problem)) << problem;
    EXPECT_EQ(score.melodies["a"], (std::vector<int>{69, kHold, kRest, 68, 72}));
}

TEST(Score, LevelsAndChordsFollowTheSectionAndItsBars) {
    Score score;
    std::string problem;
    ASSERT_TRUE(
        ParseScore("tempo 120\nsection a 0 chords Am F pad=0.5\nsection b 10 chords C hat=1\nend 20\n", score, problem))
        << problem;
    EXPECT_FLOAT_EQ(score.Level("pad", 9.9), 0.5f);
    EXPECT_FLOAT_EQ(score.Level("pad", 10), 0.0f);
    EXPECT_FLOAT_EQ(score.Level("hat", 10), 1.0f);
    EXPECT_EQ(score.ChordAt(3.9).notes[0], 57);   // bar 0: Am
    EXPECT_EQ(score.ChordAt(4.0).notes[0], 53);   // bar 1: F
    EXPECT_EQ(score.ChordAt(8.0).notes[0], 57);   // bar 2: Am again
    EXPECT_EQ(score.ChordAt(10.0).notes[0], 48);  // section b's bars count from its start
}
