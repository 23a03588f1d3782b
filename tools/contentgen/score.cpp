#include "tools/contentgen/score.h"

#include <cstdlib>
#include <sstream>

namespace gen {

const Section& Score::SectionAt(double beat) const {
    size_t i = 0;
    while (i + 1 < sections.size() && sections[i + 1].startBeat <= beat) ++i;
    return sections[i];
}

float Score::Level(const std::string& instrument, double beat) const {
    const Section& s = SectionAt(beat);
    auto it = s.levels.find(instrument);
    return it == s.levels.end() ? 0.0f : it->second;
}

const Chord& Score::ChordAt(double beat) const {
    const Section& s = SectionAt(beat);
    size_t bar = size_t((beat - s.startBeat) / 4);
    return s.chords[bar % s.chords.size()];
}

int NoteNumber(const std::string& name) {
    static const int semitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return -1;
    int note = semitone[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#')
        note += 1, ++i;
    else if (name[i] == 'b')
        note -= 1, ++i;
    if (i + 1 != name.size() || name[i] < '0' || name[i] > '8') return -1;
    return 12 * (name[i] - '0' + 1) + note;
}

bool ParseChord(const std::string& symbol, Chord& chord) {
    int root = NoteNumber(symbol.substr(0, 1) + "3");
    if (root < 0) return false;
    size_t i = 1;
    if (i < symbol.size() && (symbol[i] == '#' || symbol[i] == 'b')) root += symbol[i++] == '#' ? 1 : -1;
    std::string quality = symbol.substr(i);
    std::vector<int> intervals;
    if (quality.empty())
        intervals = {0, 4, 7};
    else if (quality == "m")
        intervals = {0, 3, 7};
    else if (quality == "7")
        intervals = {0, 4, 7, 10};
    else if (quality == "m7")
        intervals = {0, 3, 7, 10};
    else if (quality == "maj7")
        intervals = {0, 4, 7, 11};
    else if (quality == "sus2")
        intervals = {0, 2, 7};
    else if (quality == "sus4")
        intervals = {0, 5, 7};
    else
        return false;
    chord.notes.clear();
    for (int interval : intervals) chord.notes.push_back(root + interval);
    return true;
}

bool ParseScore(const std::string& text, Score& score, std::string& problem) {
    score = Score();
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        problem = "score line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        if (size_t hash = line.find('#'); hash != std::string::npos && (hash == 0 || line[hash - 1] == ' '))
            line = line.substr(0, hash);
        std::istringstream words(line);
        std::string keyword;
        if (!(words >> keyword)) continue;
        if (keyword == "tempo") {
            if (!(words >> score.tempo) || score.tempo < 20 || score.tempo > 400)
                return fail("tempo outside 20 to 400");
        } else if (keyword == "end") {
            if (!(words >> score.endBeat)) return fail("bad end");
        } else if (keyword == "section") {
            Section s;
            std::string chordsWord;
            if (!(words >> s.name >> s.startBeat >> chordsWord) || chordsWord != "chords")
                return fail("expected: section NAME BEAT chords ...");
            if (!score.sections.empty() && s.startBeat <= score.sections.back().startBeat)
                return fail("sections out of order");
            for (std::string w; words >> w;) {
                if (size_t eq = w.find('='); eq != std::string::npos) {
                    s.levels[w.substr(0, eq)] = std::strtof(w.c_str() + eq + 1, nullptr);
                } else {
                    Chord c;
                    if (!ParseChord(w, c)) return fail("unknown chord " + w);
                    s.chords.push_back(c);
                }
            }
            if (s.chords.empty()) return fail("section without chords");
            score.sections.push_back(s);
        } else if (keyword == "pattern") {
            std::string name, steps;
            if (!(words >> name >> steps) || steps.size() != 16) return fail("a pattern has 16 steps");
            score.patterns[name] = steps;
        } else if (keyword == "arp") {
            for (int step; words >> step;) score.arp.push_back(step);
            if (score.arp.size() != 16) return fail("the arpeggio has 16 steps");
        } else if (keyword == "melody") {
            std::string section;
            words >> section;
            std::vector<int>& steps = score.melodies[section];
            for (std::string w; words >> w;) {
                if (w == "|") continue;
                if (w == "-")
                    steps.push_back(kHold);
                else if (w == ".")
                    steps.push_back(kRest);
                else if (int n = NoteNumber(w); n >= 0)
                    steps.push_back(n);
                else
                    return fail("unknown note " + w);
            }
        } else {
            return fail("unknown keyword " + keyword);
        }
    }
    if (score.sections.empty() || score.sections[0].startBeat != 0)
        return fail("the first section must start at beat 0");
    if (score.endBeat <= score.sections.back().startBeat) return fail("end must come after the last section");
    if (score.endBeat * score.SecondsPerBeat() > 600) return fail("longer than ten minutes");
    return true;
}

}  // namespace gen
