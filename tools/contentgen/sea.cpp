// The sea: "ocean.X", a disc of radius 780 on the plane y = -3 (u = x / 24,
// v = -z / 24, so the tangent runs along +x and the binormal along -z), and
// its tiling wave normal map "waves2.dds" (tangent-space normal in RGB, wave
// height in alpha).
#include <cmath>

#include "tools/contentgen/groups.h"
#include "tools/contentgen/image_files.h"
#include "tools/contentgen/noise.h"
#include "tools/contentgen/parallel.h"
#include "tools/contentgen/rng.h"
#include "tools/contentgen/shapes.h"
#include "tools/contentgen/world.h"

namespace gen {
namespace {

struct Wave {
    int kx, ky;  // whole cycles across the tile, so the sum tiles
    float amplitude, phase;
};

std::vector<Wave> Waves() {
    Rng rng(601);
    std::vector<Wave> waves;
    // A main swell direction with spread, longer waves stronger.
    for (int i = 0; i < 28; ++i) {
        float len = 1.5f + 10.0f * std::pow(rng.Uniform(), 1.5f);  // cycles across the tile
        float angle = 0.5f + rng.Range(-0.9f, 0.9f);
        Wave w{int(std::lround(len * std::cos(angle))), int(std::lround(len * std::sin(angle))), 0,
               rng.Range(0, 2 * kPi)};
        if (w.kx == 0 && w.ky == 0) w.kx = 1;
        w.amplitude = 0.5f / std::hypot(float(w.kx), float(w.ky));
        waves.push_back(w);
    }
    return waves;
}

Image WaveNormals(int size) {
    std::vector<Wave> waves = Waves();
    std::vector<float> h(size_t(size) * size);
    ParallelRows(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            float u = float(x) / size, v = float(y) / size, sum = 0;
            for (const Wave& w : waves) {
                // Sharpened crests: a raised sine.
                float s = 0.5f + 0.5f * std::sin(2 * kPi * (w.kx * u + w.ky * v) + w.phase);
                sum += w.amplitude * (2 * std::pow(s, 1.6f) - 1);
            }
            sum += 0.04f * Fbm2(u * 16, v * 16, 602, 3, 0.5f, 16);
            h[size_t(y) * size + x] = sum;
        }
    });
    float lo = h[0], hi = h[0];
    for (float v : h) lo = std::min(lo, v), hi = std::max(hi, v);
    auto at = [&](int x, int y) { return h[size_t((y + size) % size) * size + (x + size) % size]; };
    Image image(size, size);
    const float strength = 6.0f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float du = (at(x + 1, y) - at(x - 1, y)) * 0.5f * strength;
            float dv = (at(x, y + 1) - at(x, y - 1)) * 0.5f * strength;
            Vec3 n = Normalize({-du, -dv, 1});
            image.At(x, y) = {0.5f + 0.5f * n.x, 0.5f + 0.5f * n.y, 0.5f + 0.5f * n.z, (at(x, y) - lo) / (hi - lo)};
        }
    return image;
}

// Mip chain of a normal map: box-filtered, each normal renormalised.
std::vector<Image> NormalMipChain(const Image& base) {
    std::vector<Image> chain = MipChain(base);
    for (size_t l = 1; l < chain.size(); ++l)
        for (int y = 0; y < chain[l].Height(); ++y)
            for (int x = 0; x < chain[l].Width(); ++x) {
                Rgba& p = chain[l].At(x, y);
                Vec3 n = Normalize({2 * p.r - 1, 2 * p.g - 1, 2 * p.b - 1});
                p = {0.5f + 0.5f * n.x, 0.5f + 0.5f * n.y, 0.5f + 0.5f * n.z, p.a};
            }
    return chain;
}

}  // namespace

void GenerateSea(AssetSet& out) {
    Material material{"Sea", {0.30f, 0.45f, 0.55f, 1}, 60, {0.8f, 0.8f, 0.8f}, {0, 0, 0}, "waves2.dds"};
    // A fan of 32 long triangles from the centre: the sea is flat and every
    // shader draws its waves per pixel, so more triangles would change no
    // pixel, while a software rasteriser shades the 4x4 blocks along each
    // edge on screen once for each triangle (rings of them cost the colour
    // scene's sea pass two fifths of its time). 32 sides keep the rim
    // within 4 units of the circle, well under a pixel at the horizon.
    Mesh sea = Disc(world::kSeaLevel, world::kSeaRadius, 1, 32, 24, material);
    out.AddFile("ocean.X", WriteXFile("Ocean", {{"OceanMesh", &sea}}));
    out.AddMeshPreview("ocean.X", sea);

    Image waves = WaveNormals(256);
    out.AddFile("waves2.dds", EncodeDds(NormalMipChain(waves), DdsFormat::A8R8G8B8));
    Image opaque = waves;  // alpha holds heights, not coverage
    for (int y = 0; y < opaque.Height(); ++y)
        for (int x = 0; x < opaque.Width(); ++x) opaque.At(x, y).a = 1;
    out.AddPreview("waves2.dds", opaque);
}

}  // namespace gen
