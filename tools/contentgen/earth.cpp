// The earth scene: the globe "sphere.x" (radius 2.9 at the origin) with its
// maps "earthmap1k.jpg" (colour), "earth_nrm.dds" (tangent-space relief,
// tangent east, binormal south), "earth_day_color_spec.dds" (daylight colour,
// specular mask in alpha: the oceans shine) and "earth_clouds_alpha.dds"
// (white, cloud cover in alpha), all equirectangular with u = 0 at 180
// degrees west and v = 0 at the north pole, as the sphere's coordinates run;
// the star field "StarField.jpg" behind it; the cylinder "cylinder.X" that
// stands between the fixed camera and the globe and breaks apart; and the
// credits card "creditsPlane.x" (4 x 2 units in its own x-y plane, facing
// -z, for the mesh path to carry).
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

constexpr int kMapWidth = 1024, kMapHeight = 512;
constexpr float kLandLevel = 0.1f;

Vec3 MapDirection(float x, float y) {
    float lon = 2 * kPi * x / kMapWidth - kPi, lat = kPi / 2 - kPi * y / kMapHeight;
    return {std::cos(lat) * std::cos(lon), std::sin(lat), std::cos(lat) * std::sin(lon)};
}

// Continents: above kLandLevel is land.
float Elevation(Vec3 d) {
    return Fbm3(d.x * 1.5f + 3, d.y * 1.5f, d.z * 1.5f, 801, 7) + 0.25f * Fbm3(d.x * 5, d.y * 5, d.z * 5, 802, 4);
}

struct EarthMaps {
    Image colour, day, normal, clouds;
};

EarthMaps PaintEarth() {
    EarthMaps maps{Image(kMapWidth, kMapHeight), Image(kMapWidth, kMapHeight), Image(kMapWidth, kMapHeight),
                   Image(kMapWidth, kMapHeight)};
    std::vector<float> elevation(size_t(kMapWidth) * kMapHeight);
    ParallelRows(kMapHeight, [&](int y) {
        for (int x = 0; x < kMapWidth; ++x)
            elevation[size_t(y) * kMapWidth + x] = Elevation(MapDirection(x + 0.5f, y + 0.5f));
    });
    auto e = [&](int x, int y) {
        x = (x + kMapWidth) % kMapWidth;
        y = std::clamp(y, 0, kMapHeight - 1);
        return elevation[size_t(y) * kMapWidth + x];
    };
    ParallelRows(kMapHeight, [&](int y) {
        float lat = 90 - 180 * (y + 0.5f) / kMapHeight;
        for (int x = 0; x < kMapWidth; ++x) {
            Vec3 d = MapDirection(x + 0.5f, y + 0.5f);
            float h = e(x, y) - kLandLevel;
            float n = Fbm3(d.x * 8, d.y * 8, d.z * 8, 803, 3);
            float polar = Smoothstep(68, 78, std::fabs(lat) + 6 * n);
            Rgba c, day;
            float specular;
            if (h < 0) {
                c = Mix(Rgba{0.10f, 0.30f, 0.42f}, Rgba{0.02f, 0.07f, 0.20f}, Smoothstep(0, 0.25f, -h));
                specular = 1.0f;
            } else {
                float dry = Smoothstep(0.2f, 0.7f, 1 - std::fabs(std::fabs(lat) - 24) / 18 + 0.8f * n);
                Rgba green = Mix(Rgba{0.17f, 0.34f, 0.10f}, Rgba{0.33f, 0.42f, 0.18f}, Clamp01(0.5f + n));
                c = Mix(green, Rgba{0.66f, 0.55f, 0.34f}, dry);
                c = Mix(c, Rgba{0.42f, 0.37f, 0.32f}, Smoothstep(0.25f, 0.45f, h));
                c = Mix(c, Rgba{0.9f, 0.9f, 0.92f}, Smoothstep(0.5f, 0.65f, h));
                specular = 0.12f;
            }
            c = Mix(c, Rgba{0.92f, 0.94f, 0.97f}, polar);
            specular = Lerp(specular, 0.4f, polar);
            maps.colour.At(x, y) = {c.r, c.g, c.b, 1};
            day = {std::min(1.0f, c.r * 1.15f + 0.03f), std::min(1.0f, c.g * 1.15f + 0.03f),
                   std::min(1.0f, c.b * 1.1f + 0.03f), specular};
            maps.day.At(x, y) = day;
            // Relief: slopes of the land in units of the globe's surface.
            float coslat = std::max(0.05f, std::cos(lat * kPi / 180));
            float east = (std::max(e(x + 1, y), kLandLevel) - std::max(e(x - 1, y), kLandLevel)) / (2 * coslat);
            float south = std::max(e(x, y + 1), kLandLevel) - std::max(e(x, y - 1), kLandLevel);
            const float strength = 12.0f;
            Vec3 nn = Normalize({-east * strength, -south * strength, 1});
            maps.normal.At(x, y) = {0.5f + 0.5f * nn.x, 0.5f + 0.5f * nn.y, 0.5f + 0.5f * nn.z, 1};
            // Clouds: swirled bands, thinner over the dry belts.
            float swirl = Fbm3(d.x * 2, d.y * 2, d.z * 2, 804, 3);
            float cloud = Fbm3(d.x * 3 + swirl, d.y * 6, d.z * 3 - swirl, 805, 6);
            float cover = Smoothstep(0.0f, 0.55f, cloud + 0.25f * std::cos(lat * kPi / 180 * 4) - 0.05f);
            maps.clouds.At(x, y) = {1, 1, 1, cover};
        }
    });
    return maps;
}

Image StarField(int width, int height) {
    Image sky(width, height, {0.0f, 0.0f, 0.01f, 1});
    // A faint milky band across the picture.
    ParallelRows(height, [&](int y) {
        for (int x = 0; x < width; ++x) {
            float u = float(x) / width, v = float(y) / height;
            float band = std::exp(-std::pow((v - 0.25f - 0.5f * u) * 4.5f, 2.0f));
            float n = Clamp01(0.5f + 0.6f * Fbm2(u * 6, v * 6, 811, 5));
            float glow = band * n * 0.09f;
            sky.At(x, y) = {glow * 0.8f, glow * 0.85f, glow + 0.01f, 1};
        }
    });
    Rng rng(812);
    for (int i = 0; i < 2600; ++i) {
        float x = rng.Uniform() * width, y = rng.Uniform() * height;
        float b = std::pow(rng.Uniform(), 6.0f) * 1.4f + 0.08f;
        float radius = 0.55f + 1.1f * std::pow(rng.Uniform(), 8.0f);
        float tint = rng.Range(-1, 1);
        Rgba colour{b * (1 + 0.15f * tint), b, b * (1 - 0.15f * tint), 1};
        for (int yy = int(y - 4); yy <= int(y + 4); ++yy)
            for (int xx = int(x - 4); xx <= int(x + 4); ++xx) {
                if (xx < 0 || yy < 0 || xx >= width || yy >= height) continue;
                float d2 = (xx + 0.5f - x) * (xx + 0.5f - x) + (yy + 0.5f - y) * (yy + 0.5f - y);
                float w = std::exp(-d2 / (2 * radius * radius));
                Rgba& p = sky.At(xx, yy);
                p = {std::min(1.0f, p.r + colour.r * w), std::min(1.0f, p.g + colour.g * w),
                     std::min(1.0f, p.b + colour.b * w), 1};
            }
    }
    return sky;
}

// A capped cylinder about `axis` through `centre`, subdivided so that it
// breaks into many pieces. Its texture coordinates are where its pencil
// strokes lie, in units of its own size: round the side once in kStrokeTurn
// (one hatch tile of 5 units, so that the strokes close up round the
// back) by the side's height in the same measure; the caps flat, in the
// same measure.
Mesh Cylinder(Vec3 centre, Vec3 axis, float radius, float height, int segments, int rings) {
    Mesh m;
    m.materials.push_back({"Cylinder", {1, 1, 1, 1}, 10, {0.2f, 0.2f, 0.2f}, {0, 0, 0}, "Hatch5.dds"});
    constexpr float kStrokeTurn = 5;
    const float unit = kStrokeTurn / (2 * kPi * radius);
    axis = Normalize(axis);
    Vec3 side = Normalize(Cross({0, 0, 1}, axis)), up = Cross(axis, side);
    auto ring = [&](float t, float a) {
        return centre + axis * (height * (t - 0.5f)) + (side * std::cos(a) + up * std::sin(a)) * radius;
    };
    for (int k = 0; k <= rings; ++k)
        for (int j = 0; j <= segments; ++j) {
            float a = 2 * kPi * j / segments, t = float(k) / rings;
            m.AddVertex(ring(t, a), {kStrokeTurn * j / segments, t * height * unit});
        }
    auto at = [&](int k, int j) { return uint32_t(k * (segments + 1) + j); };
    for (int k = 0; k < rings; ++k)
        for (int j = 0; j < segments; ++j) {
            Vec3 out = m.positions[at(k, j)] + m.positions[at(k + 1, j + 1)] - centre * 2;
            out = out - axis * Dot(out, axis);
            m.AddTriangleFacing(at(k, j), at(k, j + 1), at(k + 1, j + 1), 0, out);
            m.AddTriangleFacing(at(k, j), at(k + 1, j + 1), at(k + 1, j), 0, out);
        }
    for (int end = 0; end < 2; ++end) {
        Vec3 normal = end ? axis : -axis;
        uint32_t mid = m.AddVertex(centre + normal * (height * 0.5f), {2.5f, 2.5f * end});
        uint32_t first = uint32_t(m.positions.size());
        for (int j = 0; j <= segments; ++j) {
            float a = 2 * kPi * j / segments;
            m.AddVertex(ring(float(end), a),
                        {2.5f + radius * unit * std::cos(a), 2.5f * end + radius * unit * std::sin(a)});
        }
        for (int j = 0; j < segments; ++j) m.AddTriangleFacing(mid, first + j, first + j + 1, 0, normal);
    }
    m.ComputeNormals();
    return m.Unwelded();  // every face flies off as a piece of its own
}

Mesh CreditsPlane() {
    Mesh m;
    m.materials.push_back({"Credits", {1, 1, 1, 1}, 5, {0.1f, 0.1f, 0.1f}, {0, 0, 0}, "credits_copy.jpg"});
    const int cols = 8, rows = 4;
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= cols; ++c) {
            float u = float(c) / cols, v = float(r) / rows;
            m.AddVertex({-2 + 4 * u, 1 - 2 * v, 0}, {u, v}, {0, 0, -1});
        }
    auto at = [&](int r, int c) { return uint32_t(r * (cols + 1) + c); };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            m.AddTriangleFacing(at(r, c), at(r, c + 1), at(r + 1, c + 1), 0, {0, 0, -1});
            m.AddTriangleFacing(at(r, c), at(r + 1, c + 1), at(r + 1, c), 0, {0, 0, -1});
        }
    return m;
}

}  // namespace

void GenerateEarth(AssetSet& out) {
    Material earth{"Earth", {1, 1, 1, 1}, 20, {0.3f, 0.3f, 0.3f}, {0, 0, 0}, "earthmap1k.jpg"};
    Mesh sphere = LatLongGrid({0, 0, 0}, world::kEarthRadius, kPi / 2, -kPi / 2, 48, 96, false, earth);
    out.AddFile("sphere.x", WriteXFile("Earth", {{"EarthMesh", &sphere}}));
    out.AddMeshPreview("sphere.x", sphere);

    // Upright as the fixed camera sees it, a little tilted, across the line
    // of sight so that it keeps clear of the globe behind it, its top leaning
    // towards the eye so that the top shows as an ellipse.
    Vec3 forward = Normalize(Vec3{0, 0, 0} - world::kStarEye), right = Normalize(Cross({0, 1, 0}, forward));
    Vec3 up = Cross(forward, right);
    Mesh cylinder = Cylinder(world::kCylinderCentre, up + right * 0.25f - forward * 0.4f, 0.55f, 2.2f, 40, 10);
    out.AddFile("cylinder.X", WriteXFile("Cylinder", {{"CylinderMesh", &cylinder}}));
    out.AddMeshPreview("cylinder.X", cylinder);

    Mesh plane = CreditsPlane();
    out.AddFile("creditsPlane.x", WriteXFile("CreditsPlane", {{"CreditsPlaneMesh", &plane}}));
    out.AddMeshPreview("creditsPlane.x", plane);

    EarthMaps maps = PaintEarth();
    out.AddFile("earthmap1k.jpg", EncodeJpeg(maps.colour, 92));
    out.AddPreview("earthmap1k.jpg", maps.colour);
    out.AddFile("earth_day_color_spec.dds", EncodeDds(MipChain(maps.day), DdsFormat::Dxt5));
    Image dayOpaque = maps.day;  // alpha is the specular mask, not coverage
    for (int y = 0; y < dayOpaque.Height(); ++y)
        for (int x = 0; x < dayOpaque.Width(); ++x) dayOpaque.At(x, y).a = 1;
    out.AddPreview("earth_day_color_spec.dds", dayOpaque);
    out.AddFile("earth_nrm.dds", EncodeDds(MipChain(maps.normal), DdsFormat::Dxt1));
    out.AddPreview("earth_nrm.dds", maps.normal);
    out.AddFile("earth_clouds_alpha.dds", EncodeDds(MipChain(maps.clouds), DdsFormat::Dxt5));
    out.AddPreview("earth_clouds_alpha.dds", maps.clouds);

    Image stars = StarField(1024, 768);
    out.AddFile("StarField.jpg", EncodeJpeg(stars, 95));
    out.AddPreview("StarField.jpg", stars);
}

}  // namespace gen
