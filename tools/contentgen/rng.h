// The generator's only source of randomness: a PCG32 stream with a fixed
// seed per asset, so that every build produces the same bytes (the standard
// library's distributions are not portable, so none are used).
#pragma once

#include <cstdint>

namespace gen {

class Rng {
public:
    explicit Rng(uint64_t seed) : state(0) {
        Next();
        state += seed;
        Next();
    }
    uint32_t Next() {
        uint64_t old = state;
        state = old * 6364136223846793005ULL + 1442695040888963407ULL;
        uint32_t shifted = uint32_t(((old >> 18u) ^ old) >> 27u);
        uint32_t rot = uint32_t(old >> 59u);
        return (shifted >> rot) | (shifted << ((32 - rot) & 31));
    }
    // Uniform in [0, 1).
    float Uniform() { return float(Next() >> 8) * (1.0f / 16777216.0f); }
    float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }
    int Int(int n) { return int(Next() % uint32_t(n)); }

private:
    uint64_t state;
};

}  // namespace gen
