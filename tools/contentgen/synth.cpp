#include "tools/contentgen/synth.h"

#include "tools/contentgen/rng.h"

namespace gen {
namespace {

double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

}  // namespace

float Saw::Next(double frequency, double rate) {
    double dt = frequency / rate;
    double v = 2 * phase - 1 - PolyBlep(phase, dt);
    phase += dt;
    phase -= std::floor(phase);
    return float(v);
}

float Pulse::Next(double frequency, double rate, double width) {
    double dt = frequency / rate;
    double v = (phase < width ? 1.0 : -1.0) + PolyBlep(phase, dt);
    double shifted = phase - width + (phase < width ? 1.0 : 0.0);
    v -= PolyBlep(shifted, dt);
    phase += dt;
    phase -= std::floor(phase);
    return float(v);
}

void Svf::Run(float input, float cutoff, float resonance, double rate) {
    if (cutoff != lastCutoff) {
        lastCutoff = cutoff;
        coefficient = float(2 * std::sin(3.14159265358979 * std::min(double(cutoff), rate / 6) / rate));
    }
    const float f = coefficient;
    float q = 1 / std::max(0.5f, resonance);
    low += f * band;
    high = input - low - q * band;
    band += f * high;
}

PluckedString::PluckedString(double frequency, double rate, uint32_t seed, float brightness)
    : line(size_t(std::max(2.0, rate / frequency))), brightness(brightness) {
    Rng rng(seed);
    for (float& v : line) v = rng.Range(-1, 1);
}

float PluckedString::Next() {
    size_t next = (position + 1) % line.size();
    float out = line[position];
    line[position] = 0.996f * (brightness * line[position] + (1 - brightness) * line[next]);
    position = next;
    return out;
}

StereoBuffer Reverb(const StereoBuffer& send, float roomSize, float damping) {
    const size_t frames = send.left.size();
    StereoBuffer wet(frames);
    const int combs[4] = {1116, 1188, 1277, 1356}, allpasses[2] = {556, 441};
    for (int channel = 0; channel < 2; ++channel) {
        const std::vector<float>& in = channel ? send.right : send.left;
        std::vector<float>& out = channel ? wet.right : wet.left;
        const int spread = channel ? 23 : 0;
        for (int c = 0; c < 4; ++c) {
            std::vector<float> line(size_t(combs[c] + spread), 0.0f);
            size_t pos = 0;
            float store = 0;
            for (size_t i = 0; i < frames; ++i) {
                float y = line[pos];
                store = y * (1 - damping) + store * damping;
                line[pos] = in[i] + store * roomSize;
                pos = (pos + 1) % line.size();
                out[i] += y * 0.25f;
            }
        }
        for (int a = 0; a < 2; ++a) {
            std::vector<float> line(size_t(allpasses[a] + spread), 0.0f);
            size_t pos = 0;
            for (size_t i = 0; i < frames; ++i) {
                float buffered = line[pos];
                float x = out[i];
                line[pos] = x + buffered * 0.5f;
                out[i] = buffered - x;
                pos = (pos + 1) % line.size();
            }
        }
    }
    return wet;
}

}  // namespace gen
