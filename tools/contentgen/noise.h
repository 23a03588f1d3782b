// Gradient noise (Perlin style) in two and three dimensions, with an optional
// period in whole cells for textures that must tile, and fractal sums of it.
// Values lie roughly in [-1, 1]; every function is a pure function of its
// arguments and the seed.
#pragma once

#include <cstdint>

namespace gen {

float Noise2(float x, float y, uint32_t seed, int period = 0);
float Noise3(float x, float y, float z, uint32_t seed);

// Sum of `octaves` layers, each at twice the frequency and `gain` times the
// amplitude of the one before, normalised to about [-1, 1].
float Fbm2(float x, float y, uint32_t seed, int octaves, float gain = 0.5f, int period = 0);
float Fbm3(float x, float y, float z, uint32_t seed, int octaves, float gain = 0.5f);
// Ridged variant: sharp crests where the noise crosses zero, in [0, 1].
float Ridged2(float x, float y, uint32_t seed, int octaves);

}  // namespace gen
