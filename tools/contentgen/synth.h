// Sound building blocks for the music: band-limited oscillators, a state-
// variable filter, envelopes, a plucked string, a stereo buffer with panning
// and a reverb. All plain arithmetic on floats and doubles: the same input
// gives the same samples.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace gen {

inline double NoteFrequency(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// Sawtooth with PolyBLEP edges (little aliasing), in [-1, 1].
class Saw {
public:
    float Next(double frequency, double rate);
    double phase = 0;
};

// Pulse of duty `width` with PolyBLEP edges.
class Pulse {
public:
    float Next(double frequency, double rate, double width);
    double phase = 0;
};

// Chamberlin state-variable filter: low-, band- and high-pass outputs.
class Svf {
public:
    void Run(float input, float cutoff, float resonance, double rate);
    float low = 0, band = 0, high = 0;

private:
    float lastCutoff = -1, coefficient = 0;
};

// Karplus-Strong plucked string.
class PluckedString {
public:
    PluckedString(double frequency, double rate, uint32_t seed, float brightness);
    float Next();

private:
    std::vector<float> line;
    size_t position = 0;
    float brightness;
};

// Interleaved-free stereo accumulation buffer with constant-power panning.
struct StereoBuffer {
    explicit StereoBuffer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    void Add(size_t frame, float value, float pan) {  // pan -1 (left) .. 1 (right)
        if (frame >= left.size()) return;
        double a = (pan + 1) * 0.25 * 3.14159265358979;
        left[frame] += float(value * std::cos(a));
        right[frame] += float(value * std::sin(a));
    }
    std::vector<float> left, right;
};

// A Schroeder reverb (parallel damped combs, then all-passes) per channel,
// returning the wet signal for a dry input buffer.
StereoBuffer Reverb(const StereoBuffer& send, float roomSize, float damping);

}  // namespace gen
