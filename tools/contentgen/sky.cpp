// The sky: one colour function of direction (gradient, sun, soft clouds,
// a hazy sea below the horizon) painted into the dome's picture "Sky02.jpg"
// and the six faces of the reflection cube map "cubemap.dds", the dome mesh
// "skydome.X" (radius 800 about the origin, seen from inside, down to 10
// degrees below the horizon), and a tiling cloud layer "clouds1.tga".
#include <array>
#include <cmath>

#include "tools/contentgen/groups.h"
#include "tools/contentgen/image_files.h"
#include "tools/contentgen/noise.h"
#include "tools/contentgen/parallel.h"
#include "tools/contentgen/shapes.h"
#include "tools/contentgen/world.h"

namespace gen {
namespace {

constexpr float kDomeBottom = -10.0f * kPi / 180;

Rgba SkyColour(Vec3 dir) {
    dir = Normalize(dir);
    const Rgba zenith{0.18f, 0.38f, 0.76f}, horizon{0.74f, 0.83f, 0.93f}, sea{0.24f, 0.35f, 0.43f};
    float up = std::max(dir.y, 0.0f);
    Rgba c = Mix(horizon, zenith, std::pow(up, 0.5f));
    // Clouds on a flat layer above, thinning towards the horizon.
    if (dir.y > 0.01f) {
        float u = dir.x / (dir.y + 0.1f), v = dir.z / (dir.y + 0.1f);
        float n = Fbm2(u * 1.4f, v * 1.4f, 501, 5);
        float cover = Smoothstep(0.05f, 0.6f, n) * Smoothstep(0.01f, 0.2f, dir.y);
        float shade = 0.82f + 0.18f * Clamp01(Fbm2(u * 1.4f + 0.15f, v * 1.4f + 0.15f, 501, 5) - n + 0.5f);
        c = Mix(c, Rgba{0.97f * shade, 0.97f * shade, 0.99f * shade}, cover * 0.85f);
    }
    // The sun: a wide glow and a bright disc.
    float s = std::max(0.0f, Dot(dir, world::SunDirection()));
    float glow = 0.3f * std::pow(s, 16.0f) + 0.25f * std::pow(s, 200.0f) + std::pow(s, 2500.0f);
    c = c + Rgba{1.0f, 0.93f, 0.78f, 0} * glow;
    // Below the horizon, a hazy sea.
    float below = Smoothstep(0.0f, -0.12f, dir.y);
    c = Mix(c, sea, below);
    return {std::min(c.r, 1.0f), std::min(c.g, 1.0f), std::min(c.b, 1.0f), 1};
}

// The dome's texture: u round the horizon, v from the zenith (0) to 10
// degrees below the horizon (1), as LatLongGrid lays them out from inside.
Image DomePicture(int width, int height) {
    Image image(width, height);
    ParallelRows(height, [&](int y) {
        for (int x = 0; x < width; ++x) {
            float lon = 2 * kPi * (x + 0.5f) / width - kPi;
            float lat = kPi / 2 + (kDomeBottom - kPi / 2) * (y + 0.5f) / height;
            image.At(x, y) = SkyColour({std::cos(lat) * std::cos(lon), std::sin(lat), -std::cos(lat) * std::sin(lon)});
        }
    });
    return image;
}

// Direction of texel (x, y) of a cube face, faces in Direct3D order.
Vec3 CubeDirection(int face, float u, float v) {
    switch (face) {
    case 0: return {1, -v, -u};
    case 1: return {-1, -v, u};
    case 2: return {u, 1, v};
    case 3: return {u, -1, -v};
    case 4: return {u, -v, 1};
    default: return {-u, -v, -1};
    }
}

Image CloudLayer(int size) {
    Image image(size, size);
    const int period = 4;
    ParallelRows(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            float u = float(x) / size * period, v = float(y) / size * period;
            float n = Fbm2(u, v, 511, 6, 0.55f, period);
            float density = Smoothstep(-0.05f, 0.65f, n);
            float shade = 0.75f + 0.25f * Clamp01(0.5f + Fbm2(u + 0.1f, v + 0.1f, 511, 6, 0.55f, period) - n);
            image.At(x, y) = {shade, shade, std::min(1.0f, shade * 1.03f), density};
        }
    });
    return image;
}

}  // namespace

void GenerateSky(AssetSet& out) {
    Material material{"Sky", {1, 1, 1, 1}, 0, {0, 0, 0}, {0, 0, 0}, "Sky02.jpg"};
    Mesh dome = LatLongGrid({0, 0, 0}, world::kSkyRadius, kPi / 2, kDomeBottom, 24, 64, true, material);
    out.AddFile("skydome.X", WriteXFile("SkyDome", {{"SkyDomeMesh", &dome}}));
    out.AddMeshPreview("skydome.X", dome);

    Image picture = DomePicture(1024, 512);
    out.AddFile("Sky02.jpg", EncodeJpeg(picture, 92));
    out.AddPreview("Sky02.jpg", picture);

    Image clouds = CloudLayer(512);
    out.AddFile("clouds1.tga", EncodeTga(clouds, true));
    out.AddPreview("clouds1.tga", clouds);

    const int faceSize = 256;
    std::array<std::vector<Image>, 6> faces;
    for (int f = 0; f < 6; ++f) {
        Image face(faceSize, faceSize);
        ParallelRows(faceSize, [&](int y) {
            for (int x = 0; x < faceSize; ++x)
                face.At(x, y) =
                    SkyColour(CubeDirection(f, 2 * (x + 0.5f) / faceSize - 1, 2 * (y + 0.5f) / faceSize - 1));
        });
        faces[f] = MipChain(face);
    }
    out.AddFile("cubemap.dds", EncodeDdsCube(faces, DdsFormat::A8R8G8B8));
    // Preview: the cube unfolded as a cross.
    Image cross(faceSize * 4, faceSize * 3, {0, 0, 0, 0});
    const int place[6][2] = {{2, 1}, {0, 1}, {1, 0}, {1, 2}, {1, 1}, {3, 1}};
    for (int f = 0; f < 6; ++f) cross.Composite(faces[f][0], place[f][0] * faceSize, place[f][1] * faceSize);
    out.AddPreview("cubemap.dds", cross);
}

}  // namespace gen
