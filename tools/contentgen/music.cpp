// The music: the score's sections played by a handful of instruments, each
// rendered note by note into a stereo mix with a reverb send, then faded out
// over the last three seconds and encoded to MP3 with LAME.
//
// Instruments (levels come from the score's sections): pad (detuned saws
// through a low-pass, one chord a bar), bass (pattern, root of the chord),
// arp (pulse-wave sixteenths over the chord's tones, with an echo), pluck
// (plucked strings, eighths), bell (FM bells), lead (the melody), glass (FM
// tinkles, denser as their section goes on), kick, snare, hat, scratch (a
// pencil on paper: noise round 1.7 kHz, for the drawing scenes) and crash. The
// hat is what the title words pulse with (its noise lies round 7.7 kHz); the
// scratch is what the hatching scene listens to (the band round 1.7 kHz).
#include "tools/contentgen/music.h"

#include <algorithm>
#include <cmath>

#include <lame/lame.h>

#include "tools/contentgen/rng.h"
#include "tools/contentgen/score.h"
#include "tools/contentgen/synth.h"

namespace gen {
namespace {

constexpr double kRate = kSampleRate;

struct MixBuses {
    explicit MixBuses(size_t frames) : dry(frames), send(frames) {}
    StereoBuffer dry, send;
    // Adds `value` at `frame`, `reverb` of it also to the reverb send.
    void Add(size_t frame, float value, float pan, float reverb) {
        dry.Add(frame, value, pan);
        if (reverb > 0) send.Add(frame, value * reverb, pan);
    }
};

size_t Frame(double seconds) { return size_t(std::max(0.0, seconds) * kRate); }

float Envelope(double t, double length, double attack, double release) {
    if (t < 0) return 0;
    double a = std::min(1.0, t / attack);
    if (t > length) a *= std::max(0.0, 1 - (t - length) / release);
    return float(a);
}

// Every step of a 16-step pattern in a section, bars counted from its start.
template <typename Fn>
void ForEachStep(const Section& section, double sectionEnd, Fn fn) {
    for (double bar = section.startBeat; bar < sectionEnd; bar += 4)
        for (int step = 0; step < 16; ++step) {
            double beat = bar + step * 0.25;
            if (beat >= sectionEnd) return;
            fn(beat, step);
        }
}

double SectionEnd(const Score& score, size_t i) {
    return i + 1 < score.sections.size() ? score.sections[i + 1].startBeat : score.endBeat;
}

// The chord's tones spread over two octaves from octave `base` (3 = as written).
std::vector<int> Spread(const Chord& chord, int octavesUp) {
    std::vector<int> tones;
    for (int o = 0; o < 2; ++o)
        for (int n : chord.notes) tones.push_back(n + 12 * (octavesUp + o));
    std::sort(tones.begin(), tones.end());
    return tones;
}

void Pad(const Score& score, MixBuses& mix) {
    const double spb = score.SecondsPerBeat();
    for (size_t s = 0; s < score.sections.size(); ++s) {
        const Section& section = score.sections[s];
        double end = SectionEnd(score, s);
        float level = score.Level("pad", section.startBeat);
        if (level <= 0) continue;
        for (double bar = section.startBeat; bar < end; bar += 4) {
            const Chord& chord = score.ChordAt(bar);
            double length = std::min(4.0, end - bar) * spb;
            std::vector<int> voicing = {chord.notes[0], chord.notes[1] + 12, chord.notes[2] + 12, chord.notes[0] + 12};
            for (size_t v = 0; v < voicing.size(); ++v) {
                Saw saws[3];
                Svf filter;
                double f = NoteFrequency(voicing[v]);
                size_t start = Frame(bar * spb), frames = Frame(length + 1.2);
                float pan = -0.5f + float(v) / 3, cutoff = 0;
                for (size_t i = 0; i < frames; ++i) {
                    double t = i / kRate;
                    float x = saws[0].Next(f * 0.996, kRate) + saws[1].Next(f, kRate) + saws[2].Next(f * 1.004, kRate);
                    if (i % 64 == 0) cutoff = 900 + 500 * float(std::sin(t * 0.7 + v));  // a slow sweep
                    filter.Run(x, cutoff, 0.8f, kRate);
                    mix.Add(start + i, filter.low * Envelope(t, length, 0.35, 1.2) * level * 0.05f, pan, 0.5f);
                }
            }
        }
    }
}

void Bass(const Score& score, MixBuses& mix) {
    const double spb = score.SecondsPerBeat();
    const std::string& pattern = score.patterns.at("bass");
    for (size_t s = 0; s < score.sections.size(); ++s) {
        const Section& section = score.sections[s];
        float level = score.Level("bass", section.startBeat);
        if (level <= 0) continue;
        ForEachStep(section, SectionEnd(score, s), [&](double beat, int step) {
            if (pattern[size_t(step)] == '.') return;
            float accent = pattern[size_t(step)] == 'X' ? 1.0f : 0.75f;
            double f = NoteFrequency(score.ChordAt(beat).notes[0] - 12);
            double length = 0.7 * spb;
            Saw saw;
            Svf filter;
            double phase = 0;
            size_t start = Frame(beat * spb);
            for (size_t i = 0, n = Frame(length + 0.08); i < n; ++i) {
                double t = i / kRate;
                phase += f / kRate;
                float x = float(std::sin(2 * 3.14159265358979 * phase)) + 0.35f * saw.Next(f, kRate);
                filter.Run(x, 500, 0.9f, kRate);
                float env = Envelope(t, length, 0.004, 0.08) * float(0.75 + 0.25 * std::exp(-t * 6));
                mix.Add(start + i, filter.low * env * level * accent * 0.32f, 0, 0);
            }
        });
    }
}

void Arp(const Score& score, MixBuses& mix) {
    const double spb = score.SecondsPerBeat();
    for (size_t s = 0; s < score.sections.size(); ++s) {
        const Section& section = score.sections[s];
        float level = score.Level("arp", section.startBeat);
        if (level <= 0) continue;
        ForEachStep(section, SectionEnd(score, s), [&](double beat, int step) {
            std::vector<int> tones = Spread(score.ChordAt(beat), 1);
            double f = NoteFrequency(tones[size_t(score.arp[size_t(step)]) % tones.size()]);
            Pulse osc;
            Svf filter;
            size_t start = Frame(beat * spb);
            float pan = step % 2 ? 0.3f : -0.3f;
            for (size_t i = 0, n = Frame(0.3); i < n; ++i) {
                double t = i / kRate;
                filter.Run(osc.Next(f, kRate, 0.3), 3200, 0.7f, kRate);
                float v = filter.low * float(std::exp(-t * 14)) * level * 0.1f;
                mix.Add(start + i, v, pan, 0.25f);
                // An echo three sixteenths later, on the other side.
                mix.Add(start + i + Frame(0.75 * spb), v * 0.35f, -pan, 0.25f);
            }
        });
    }
}

void Pluck(const Score& score, MixBuses& mix) {
    const double spb = score.SecondsPerBeat();
    const std::string& pattern = score.patterns.at("pluck");
    int count = 0;
    for (size_t s = 0; s < score.sections.size(); ++s) {
        const Section& section = score.sections[s];
        float level = score.Level("pluck", section.startBeat);
        if (level <= 0) continue;
        ForEachStep(section, SectionEnd(score, s), [&](double beat, int step) {
            if (pattern[size_t(step)] == '.') return;
            std::vector<int> tones = Spread(score.ChordAt(beat), 1);
            static const int order[8] = {0, 2, 4, 5, 3, 1, 2, 3};
            int note = tones[size_t(order[(step / 2) % 8]) % tones.size()];
            PluckedString string(NoteFrequency(note), kRate, uint32_t(1000 + count++), 0.5f);
            size_t start = Frame(beat * spb);
            for (size_t i = 0, n = Frame(1.5); i < n; ++i)
                mix.Add(start + i, string.Next() * level * 0.16f, (step % 4) * 0.2f - 0.3f, 0.4f);
        });
    }
}

// FM bell: carrier f, modulator at `ratio` times f, the modulation dying away.
void Bell(MixBuses& mix, double start, double f, double ratio, double decay, float gain, float pan, float reverb) {
    size_t first = Frame(start);
    for (size_t i = 0, n = Frame(decay * 4); i < n; ++i) {
        double t = i / kRate;
        double index = 3.5 * std::exp(-t * 3 / decay) + 0.3;
        double v = std::sin(2 * 3.14159265358979 * f * t + index * std::sin(2 * 3.14159265358979 * f * ratio * t));
        mix.Add(first + i, float(v * std::exp(-t / decay) * std::min(1.0, t / 0.002)) * gain, pan, reverb);
    }
}

void Bells(const Score& score, MixBuses& mix) {
    const double spb = score.SecondsPerBeat();
    const std::string& pattern = score.patterns.at("bell");
    int count = 0;
    for (size_t s = 0; s < score.sections.size(); ++s) {
        const Section& section = score.sections[s];
        float level = score.Level("bell", section.startBeat);
        if (level <= 0) continue;
        ForEachStep(section, SectionEnd(score, s), [&](double beat, int step) {
            if (pattern[size_t(step)] == '.') return;
            const Chord& chord = score.ChordAt(beat);
            int note = chord.notes[size_t(count++ % 2 ? 2 : 0)] + 24;
            Bell(mix, beat * spb, NoteFrequency(note), 3.5, 0.9, level * 0.08f, count % 2 ? 0.35f : -0.35f, 0.6f);
        });
    }
}

void Glass(const Score& score, MixBuses& mix) {
    const double spb = score.SecondsPerBeat();
    Rng rng(1201);
    for (size_t s = 0; s < score.sections.size(); ++s) {
        const Section& section = score.sections[s];
        float level = score.Level("glass", section.startBeat);
        if (level <= 0) continue;
        double end = SectionEnd(score, s);
        ForEachStep(section, end, [&](double beat, int) {
            double progress = (beat - section.startBeat) / (end - section.startBeat);
            if (rng.Uniform() > 0.12 + 0.5 * progress) return;
            std::vector<int> tones = Spread(score.ChordAt(beat), 3);
            int note = tones[size_t(rng.Int(int(tones.size())))];
            double when = beat * spb + rng.Range(0, 0.06f);
            Bell(mix, when, NoteFrequency(note), 5.13, 0.25, level * rng.Range(0.02f, 0.05f), rng.Range(-0.8f, 0.8f),
                 0.7f);
        });
    }
}

void Lead(const Score& score, MixBuses& mix) {
    const double spb = score.SecondsPerBeat();
    for (size_t s = 0; s < score.sections.size(); ++s) {
        const Section& section = score.sections[s];
        float level = score.Level("lead", section.startBeat);
        auto melody = score.melodies.find(section.name);
        if (level <= 0 || melody == score.melodies.end() || melody->second.empty()) continue;
        const std::vector<int>& steps = melody->second;
        double end = SectionEnd(score, s);
        int total = int((end - section.startBeat) * 2);
        for (int i = 0; i < total; ++i) {
            int note = steps[size_t(i) % steps.size()];
            if (note < 0) continue;
            int held = 1;
            while (i + held < total && steps[size_t(i + held) % steps.size()] == kHold) ++held;
            double start = (section.startBeat + i * 0.5) * spb, length = held * 0.5 * spb * 0.95;
            double f = NoteFrequency(note);
            Saw a, b;
            Svf filter;
            size_t first = Frame(start);
            for (size_t k = 0, n = Frame(length + 0.25); k < n; ++k) {
                double t = k / kRate;
                double vibrato = 1 + 0.006 * std::sin(2 * 3.14159265358979 * 5.5 * t) * std::min(1.0, t / 0.4);
                float x = a.Next(f * vibrato, kRate) + b.Next(f * vibrato * 1.003, kRate);
                filter.Run(x, 2200, 1.0f, kRate);
                float v = filter.low * Envelope(t, length, 0.03, 0.25) * level * 0.06f;
                mix.Add(first + k, v, 0.1f, 0.45f);
                mix.Add(first + k + Frame(1.5 * spb), v * 0.25f, -0.4f, 0.45f);
            }
        }
    }
}

void Drums(const Score& score, MixBuses& mix) {
    const double spb = score.SecondsPerBeat();
    Rng noise(1301);
    for (size_t s = 0; s < score.sections.size(); ++s) {
        const Section& section = score.sections[s];
        double end = SectionEnd(score, s);
        float kick = score.Level("kick", section.startBeat), snare = score.Level("snare", section.startBeat);
        float hat = score.Level("hat", section.startBeat), crash = score.Level("crash", section.startBeat);
        float scratch = score.Level("scratch", section.startBeat);
        auto rngLength = [](int step) { return step % 4 == 0 ? 0.16 : 0.09; };
        if (crash > 0) {
            Svf filter;
            size_t first = Frame(section.startBeat * spb);
            for (size_t i = 0, n = Frame(2.5); i < n; ++i) {
                double t = i / kRate;
                filter.Run(noise.Range(-1, 1), 5000, 0.6f, kRate);
                mix.Add(first + i, filter.high * float(std::exp(-t / 0.7)) * crash * 0.12f, 0.2f, 0.4f);
            }
        }
        ForEachStep(section, end, [&](double beat, int step) {
            size_t first = Frame(beat * spb);
            auto hit = [&](const char* name) {
                char c = score.patterns.at(name)[size_t(step)];
                return c == 'X' ? 1.0f : c == 'x' ? 0.7f : 0.0f;
            };
            if (float v = hit("kick") * kick; v > 0) {
                double phase = 0;
                for (size_t i = 0, n = Frame(0.45); i < n; ++i) {
                    double t = i / kRate;
                    phase += (45 + 95 * std::exp(-t / 0.035)) / kRate;
                    float x = float(std::sin(2 * 3.14159265358979 * phase) * std::exp(-t / 0.28));
                    mix.Add(first + i, x * v * 0.5f, 0, 0);
                }
            }
            if (float v = hit("snare") * snare; v > 0) {
                Svf filter;
                for (size_t i = 0, n = Frame(0.35); i < n; ++i) {
                    double t = i / kRate;
                    filter.Run(noise.Range(-1, 1), 3000, 0.7f, kRate);
                    float tone = float(std::sin(2 * 3.14159265358979 * 185 * t) * std::exp(-t / 0.06));
                    float x = tone * 0.6f + (filter.band + 0.3f * filter.high) * float(std::exp(-t / 0.12));
                    mix.Add(first + i, x * v * 0.22f, -0.1f, 0.3f);
                }
            }
            if (float v = hit("scratch") * scratch; v > 0) {
                // A pencil stroke on paper: a short swell of noise round 1.7 kHz.
                Svf band;
                double length = rngLength(step);
                for (size_t i = 0, n = Frame(length); i < n; ++i) {
                    double t = i / kRate;
                    band.Run(noise.Range(-1, 1), 1720, 4.0f, kRate);
                    float env = float(std::sin(3.14159265358979 * t / length));
                    mix.Add(first + i, band.band * env * env * v * 0.24f, -0.25f, 0.2f);
                }
            }
            if (float v = hit("hat") * hat; v > 0) {
                Svf high, ring;
                float open = step % 4 == 2 ? 0.09f : 0.035f;
                for (size_t i = 0, n = Frame(0.3); i < n; ++i) {
                    double t = i / kRate;
                    float x = noise.Range(-1, 1);
                    high.Run(x, 6500, 0.7f, kRate);
                    ring.Run(high.high, 7750, 6.0f, kRate);
                    float y = (0.3f * high.high + ring.band) * float(std::exp(-t / open));
                    mix.Add(first + i, y * v * 0.2f, 0.15f, 0.1f);
                }
            }
        });
    }
}

}  // namespace

bool SynthesiseMusic(const std::string& text, std::vector<float>& stereo, std::string& problem) {
    Score score;
    if (!ParseScore(text, score, problem)) return false;
    for (const char* name : {"kick", "snare", "hat", "scratch", "bass", "pluck", "bell"})
        if (!score.patterns.count(name)) {
            problem = std::string("the score has no pattern for ") + name;
            return false;
        }
    if (score.arp.size() != 16) {
        problem = "the score has no arpeggio";
        return false;
    }
    const size_t frames = Frame(kMusicSeconds);
    MixBuses mix(frames + Frame(8));
    Pad(score, mix);
    Bass(score, mix);
    Arp(score, mix);
    Pluck(score, mix);
    Bells(score, mix);
    Glass(score, mix);
    Lead(score, mix);
    Drums(score, mix);
    StereoBuffer wet = Reverb(mix.send, 0.84f, 0.35f);
    stereo.assign(frames * 2, 0.0f);
    const double fadeFrom = kMusicSeconds - 3.0;
    for (size_t i = 0; i < frames; ++i) {
        double t = i / kRate;
        float gain =
            float(std::min(1.0, t / 0.01) * std::clamp((kMusicSeconds - t) / (kMusicSeconds - fadeFrom), 0.0, 1.0));
        stereo[2 * i] = std::tanh((mix.dry.left[i] + wet.left[i] * 0.3f) * 1.3f) * gain;
        stereo[2 * i + 1] = std::tanh((mix.dry.right[i] + wet.right[i] * 0.3f) * 1.3f) * gain;
    }
    return true;
}

std::vector<uint8_t> EncodeMp3(const std::vector<float>& stereo) {
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, kSampleRate);
    lame_set_out_samplerate(lame, kSampleRate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_brate(lame, 160);
    lame_set_VBR(lame, vbr_off);
    lame_set_quality(lame, 5);
    lame_set_num_samples(lame, (unsigned long)(stereo.size() / 2));
    lame_set_bWriteVbrTag(lame, 1);
    lame_init_params(lame);
    std::vector<uint8_t> out;
    const int chunk = 8192;
    std::vector<unsigned char> buffer(size_t(chunk) * 5 / 4 + 7200);
    for (size_t i = 0; i < stereo.size() / 2; i += chunk) {
        int n = int(std::min<size_t>(chunk, stereo.size() / 2 - i));
        int bytes =
            lame_encode_buffer_interleaved_ieee_float(lame, &stereo[2 * i], n, buffer.data(), int(buffer.size()));
        if (bytes > 0) out.insert(out.end(), buffer.begin(), buffer.begin() + bytes);
    }
    int bytes = lame_encode_flush(lame, buffer.data(), int(buffer.size()));
    if (bytes > 0) out.insert(out.end(), buffer.begin(), buffer.begin() + bytes);
    // The first frame was left for the information tag (length, encoder delay).
    size_t tag = lame_get_lametag_frame(lame, buffer.data(), buffer.size());
    if (tag > 0 && tag <= out.size()) std::copy(buffer.begin(), buffer.begin() + long(tag), out.begin());
    lame_close(lame);
    return out;
}

bool GenerateMusic(const std::string& score, std::vector<uint8_t>& mp3, std::string& problem) {
    std::vector<float> stereo;
    if (!SynthesiseMusic(score, stereo, problem)) return false;
    mp3 = EncodeMp3(stereo);
    if (mp3.empty()) {
        problem = "the MP3 encoder produced nothing";
        return false;
    }
    return true;
}

}  // namespace gen
