#include "tools/contentgen/noise.h"

#include <cmath>

namespace gen {
namespace {

uint32_t Hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

uint32_t Hash3(int x, int y, int z, uint32_t seed) {
    return Hash(uint32_t(x) * 0x8da6b343U ^ Hash(uint32_t(y) * 0xd8163841U ^ Hash(uint32_t(z) * 0xcb1ab31fU ^ seed)));
}

float Fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

int Wrap(int i, int period) {
    if (period <= 0) return i;
    int m = i % period;
    return m < 0 ? m + period : m;
}

float Grad2(uint32_t h, float x, float y) {
    // Eight directions around the circle.
    static const float gx[8] = {1, -1, 0, 0, 0.7071f, -0.7071f, 0.7071f, -0.7071f};
    static const float gy[8] = {0, 0, 1, -1, 0.7071f, 0.7071f, -0.7071f, -0.7071f};
    return gx[h & 7] * x + gy[h & 7] * y;
}

float Grad3(uint32_t h, float x, float y, float z) {
    switch (h % 12) {
    case 0: return x + y;
    case 1: return -x + y;
    case 2: return x - y;
    case 3: return -x - y;
    case 4: return x + z;
    case 5: return -x + z;
    case 6: return x - z;
    case 7: return -x - z;
    case 8: return y + z;
    case 9: return -y + z;
    case 10: return y - z;
    default: return -y - z;
    }
}

}  // namespace

float Noise2(float x, float y, uint32_t seed, int period) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float dx = x - fx, dy = y - fy;
    int x0 = Wrap(ix, period), x1 = Wrap(ix + 1, period);
    int y0 = Wrap(iy, period), y1 = Wrap(iy + 1, period);
    float n00 = Grad2(Hash3(x0, y0, 0, seed), dx, dy);
    float n10 = Grad2(Hash3(x1, y0, 0, seed), dx - 1, dy);
    float n01 = Grad2(Hash3(x0, y1, 0, seed), dx, dy - 1);
    float n11 = Grad2(Hash3(x1, y1, 0, seed), dx - 1, dy - 1);
    float u = Fade(dx), v = Fade(dy);
    float a = n00 + (n10 - n00) * u;
    float b = n01 + (n11 - n01) * u;
    return (a + (b - a) * v) * 1.4142f;
}

float Noise3(float x, float y, float z, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    int ix = int(fx), iy = int(fy), iz = int(fz);
    float dx = x - fx, dy = y - fy, dz = z - fz;
    float u = Fade(dx), v = Fade(dy), w = Fade(dz);
    float c[2][2][2];
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i) c[k][j][i] = Grad3(Hash3(ix + i, iy + j, iz + k, seed), dx - i, dy - j, dz - k);
    float x00 = c[0][0][0] + (c[0][0][1] - c[0][0][0]) * u;
    float x10 = c[0][1][0] + (c[0][1][1] - c[0][1][0]) * u;
    float x01 = c[1][0][0] + (c[1][0][1] - c[1][0][0]) * u;
    float x11 = c[1][1][0] + (c[1][1][1] - c[1][1][0]) * u;
    float y0 = x00 + (x10 - x00) * v;
    float y1 = x01 + (x11 - x01) * v;
    return (y0 + (y1 - y0) * w) * 0.9f;
}

float Fbm2(float x, float y, uint32_t seed, int octaves, float gain, int period) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * Noise2(x, y, seed + uint32_t(o) * 7919u, period);
        norm += amp;
        amp *= gain;
        x *= 2;
        y *= 2;
        if (period > 0) period *= 2;
    }
    return sum / norm * 1.6f;
}

float Fbm3(float x, float y, float z, uint32_t seed, int octaves, float gain) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * Noise3(x, y, z, seed + uint32_t(o) * 7919u);
        norm += amp;
        amp *= gain;
        x *= 2.03f;
        y *= 2.03f;
        z *= 2.03f;
    }
    return sum / norm * 1.6f;
}

float Ridged2(float x, float y, uint32_t seed, int octaves) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        float n = 1 - std::fabs(Noise2(x, y, seed + uint32_t(o) * 104729u));
        sum += amp * n * n;
        norm += amp;
        amp *= 0.5f;
        x *= 2.1f;
        y *= 2.1f;
    }
    return sum / norm;
}

}  // namespace gen
