// The island: heightfield, mesh "fy_faen_assSmall.X" and its three textures,
// all sampled from one height function so that they line up: the colour map
// "island.jpg", the detail normal map "islandNormal.jpg" and the light map
// "shadowmap.tga" (the ground lit by sun and sky, cast shadows included),
// each covering the mesh's square with u along +x and v along -z.
#include "tools/contentgen/island.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>

#include "tools/contentgen/groups.h"
#include "tools/contentgen/image_files.h"
#include "tools/contentgen/noise.h"
#include "tools/contentgen/parallel.h"
#include "tools/contentgen/world.h"

namespace gen {
namespace {

using namespace world;

float SmoothMin(float a, float b, float k) {
    float h = Clamp01(0.5f + 0.5f * (b - a) / k);
    return Lerp(b, a, h) - k * h * (1 - h);
}

// 0 at sea, rising towards the bay's beach.
float BeachWeight(float x, float z) {
    float dx = x - kBayX, dz = z - kBayZ;
    return std::exp(-(dx * dx + dz * dz) / (2 * 24.0f * 24.0f));
}

// Inland measure: 1 at the island's centre, 0 on the coast, negative at sea.
float Land(float x, float z) {
    float wx = x + 9 * Fbm2(x * 0.02f, z * 0.02f, 101, 3) + 3 * Fbm2(x * 0.07f, z * 0.07f, 105, 2);
    float wz = z + 9 * Fbm2(x * 0.02f + 3.7f, z * 0.02f - 1.9f, 102, 3) + 3 * Fbm2(x * 0.07f + 1.3f, z * 0.07f, 106, 2);
    float land = 1 - std::hypot(wx + 2, (wz + 2) * 1.08f) / 54;
    // The bay: an inlet opening to +z, its shore wobbling like the rest of the coast.
    float bx = x + 3 * Fbm2(x * 0.08f, z * 0.08f, 107, 2) - kBayX;
    float bz = z + 3 * Fbm2(x * 0.08f + 7.1f, z * 0.08f, 108, 2) - kBayZ;
    float bay = (std::hypot(bx * 1.1f, bz * 0.85f) / kBayRadius - 1) * 0.45f;
    return SmoothMin(land, bay, 0.08f);
}

// How much of a cliff coast the shore at (x, z) is: the south and west shores.
float Cliffness(float x, float z) {
    Vec3 dir = Normalize({x + 2, 0, z + 2});
    float side = Smoothstep(-0.1f, 0.6f, Dot(dir, Normalize({-0.6f, 0, -1})));
    // Cliffs come and go along the shore.
    float patches = Smoothstep(-0.4f, 0.3f, Noise2(dir.x * 1.3f + 5, dir.z * 1.3f + 5, 111));
    return side * patches * (1 - BeachWeight(x, z));
}

// Rock, sand and grass weights of the ground at a point, for the colour and
// normal maps.
struct Ground {
    float rock, sand;
};

Ground GroundAt(float y, float slope, float beach) {
    float rock = std::max(Smoothstep(0.28f, 0.5f, slope), Smoothstep(21.0f, 27.0f, y));
    float sandLine = -1.6f + 1.6f * beach;
    float sand = (1 - Smoothstep(sandLine - 0.6f, sandLine + 0.4f, y)) * (1 - rock);
    return {rock, sand};
}

constexpr int kGrid = kIslandGrid;  // mesh cells a side
constexpr int kColourSize = 1024;   // colour and normal map
constexpr int kShadowSize = 512;

struct HeightGrid {
    int size;
    std::vector<float> h;  // texel centres
    float Texel() const { return 2 * kIslandHalf / size; }
    float At(int i, int j) const {
        i = std::clamp(i, 0, size - 1);
        j = std::clamp(j, 0, size - 1);
        return h[size_t(j) * size + i];
    }
    // Bilinear height at world (x, z).
    float Sample(float x, float z) const {
        float fx = (x + kIslandHalf) / Texel() - 0.5f, fy = (kIslandHalf - z) / Texel() - 0.5f;
        int i = int(std::floor(fx)), j = int(std::floor(fy));
        float tx = fx - i, ty = fy - j;
        return Lerp(Lerp(At(i, j), At(i + 1, j), tx), Lerp(At(i, j + 1), At(i + 1, j + 1), tx), ty);
    }
    Vec3 Normal(int i, int j) const {
        float t = Texel();
        // +i is +x, +j is -z.
        float dhdx = (At(i + 1, j) - At(i - 1, j)) / (2 * t);
        float dhdz = -(At(i, j + 1) - At(i, j - 1)) / (2 * t);
        return Normalize({-dhdx, 1, -dhdz});
    }
};

float WorldX(int i, int size) { return -kIslandHalf + (i + 0.5f) * 2 * kIslandHalf / size; }
float WorldZ(int j, int size) { return kIslandHalf - (j + 0.5f) * 2 * kIslandHalf / size; }

HeightGrid MakeHeights(int size) {
    HeightGrid grid{size, std::vector<float>(size_t(size) * size)};
    ParallelRows(size, [&](int j) {
        for (int i = 0; i < size; ++i) grid.h[size_t(j) * size + i] = IslandHeight(WorldX(i, size), WorldZ(j, size));
    });
    return grid;
}

// The mesh's triangles: right triangles over the grid, each split at its
// long side's midpoint while a grid point inside it lies more than
// kIslandTolerance off its plane (under the sea, more than
// kIslandTolerance / kIslandUnderSea), or while a smaller triangle inside it
// would be split: flat ground gets a few large triangles, the cliffs and
// the shore line every cell. A software rasteriser shades whole 4 x 4 pixel
// blocks, so small triangles where they do not show cost most of a block
// each. Both triangles that share a long side split together, so no cracks
// open.

struct Corner {
    int i, j;
};

class Triangulation {
public:
    explicit Triangulation(const std::vector<float>& heights) : h(heights), error(heights.size(), 0.0f) {
        // Every triangle of the hierarchy, coarsest first, then their errors
        // from the finest up, so that each midpoint holds the largest error of
        // everything below it on either side.
        std::vector<std::array<Corner, 3>> all = Hierarchy();
        for (size_t k = all.size(); k-- > 0;) Measure(all[k]);
    }

    // The triangles, each as (long side's ends, right angle).
    std::vector<std::array<Corner, 3>> Triangles() const {
        std::vector<std::array<Corner, 3>> out;
        for (auto& top : Tops()) Split(top, out);
        return out;
    }

private:
    static constexpr int n = kGrid + 1;
    const std::vector<float>& h;
    std::vector<float> error;

    static std::array<std::array<Corner, 3>, 2> Tops() {
        return {{{{{0, 0}, {kGrid, kGrid}, {kGrid, 0}}}, {{{kGrid, kGrid}, {0, 0}, {0, kGrid}}}}};
    }
    float H(Corner c) const { return h[size_t(c.j) * n + c.i]; }
    static bool HasMidpoint(const std::array<Corner, 3>& t) {
        return (t[0].i + t[1].i) % 2 == 0 && (t[0].j + t[1].j) % 2 == 0 &&
               std::abs(t[0].i - t[2].i) + std::abs(t[0].j - t[2].j) > 1;
    }
    static Corner Mid(Corner a, Corner b) { return {(a.i + b.i) / 2, (a.j + b.j) / 2}; }
    float& Error(Corner c) { return error[size_t(c.j) * n + c.i]; }
    float Error(Corner c) const { return error[size_t(c.j) * n + c.i]; }

    // Every triangle that can be split, a level's triangles all before the
    // next level's.
    static std::vector<std::array<Corner, 3>> Hierarchy() {
        std::vector<std::array<Corner, 3>> all, level;
        for (const auto& top : Tops()) level.push_back(top);
        while (!level.empty()) {
            std::vector<std::array<Corner, 3>> next;
            for (const auto& t : level) {
                if (!HasMidpoint(t)) continue;
                all.push_back(t);
                Corner m = Mid(t[0], t[1]);
                next.push_back({t[2], t[0], m});
                next.push_back({t[1], t[2], m});
            }
            level.swap(next);
        }
        return all;
    }

    // The largest height off the triangle's plane at the grid points inside
    // it, kept at its long side's midpoint together with what lies below it
    // on either side.
    void Measure(const std::array<Corner, 3>& t) {
        Corner m = Mid(t[0], t[1]);
        const Corner &a = t[0], &b = t[1], &c = t[2];
        float area = float((b.i - a.i) * (c.j - a.j) - (c.i - a.i) * (b.j - a.j));
        float off = 0, lo = H(a), hi = H(a);
        for (int j = std::min({a.j, b.j, c.j}); j <= std::max({a.j, b.j, c.j}); ++j)
            for (int i = std::min({a.i, b.i, c.i}); i <= std::max({a.i, b.i, c.i}); ++i) {
                float wa = float((b.i - i) * (c.j - j) - (c.i - i) * (b.j - j)) / area;
                float wb = float((c.i - i) * (a.j - j) - (a.i - i) * (c.j - j)) / area;
                float wc = 1 - wa - wb;
                if (wa < 0 || wb < 0 || wc < 0) continue;
                float ground = H({i, j}), plane = wa * H(a) + wb * H(b) + wc * H(c);
                float d = std::fabs(ground - plane);
                if (std::max(ground, plane) < kSeaLevel - 0.5f) d *= kIslandUnderSea;
                off = std::max(off, d);
                lo = std::min(lo, ground);
                hi = std::max(hi, ground);
            }
        // The shore: where the sea and its waves cut the mesh, within a unit
        // of the sea level. On a gentle beach a height a little off moves
        // the water's edge far, so the shore keeps every cell.
        if (lo < kSeaLevel + 1 && hi > kSeaLevel - 1) off = std::numeric_limits<float>::max();
        float e = std::max(Error(m), off);
        for (const std::array<Corner, 3>& child : {std::array<Corner, 3>{c, a, m}, std::array<Corner, 3>{b, c, m}})
            if (HasMidpoint(child)) e = std::max(e, Error(Mid(child[0], child[1])));
        Error(m) = e;
    }

    void Split(const std::array<Corner, 3>& t, std::vector<std::array<Corner, 3>>& out) const {
        Corner m = Mid(t[0], t[1]);
        if (HasMidpoint(t) && Error(m) > kIslandTolerance) {
            Split({t[2], t[0], m}, out);
            Split({t[1], t[2], m}, out);
        } else {
            out.push_back(t);
        }
    }
};

Mesh BuildMesh() {
    Mesh mesh;
    mesh.materials.push_back({"IslandGround", {1, 1, 1, 1}, 8, {0.1f, 0.1f, 0.1f}, {0, 0, 0}, "island.jpg"});
    const int n = kGrid + 1;
    const float step = 2 * kIslandHalf / kGrid;
    std::vector<float> h(size_t(n) * n);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            h[size_t(j) * n + i] = IslandHeight(-kIslandHalf + i * step, -kIslandHalf + j * step);
    auto height = [&](Corner c) { return h[size_t(c.j) * n + c.i]; };
    std::vector<uint32_t> index(size_t(n) * n, UINT32_MAX);
    auto vertex = [&](Corner c) {
        uint32_t& slot = index[size_t(c.j) * n + c.i];
        if (slot == UINT32_MAX) {
            float x = -kIslandHalf + c.i * step, z = -kIslandHalf + c.j * step;
            slot = mesh.AddVertex({x, height(c), z},
                                  {(x + kIslandHalf) / (2 * kIslandHalf), (kIslandHalf - z) / (2 * kIslandHalf)});
        }
        return slot;
    };
    std::vector<std::array<Corner, 3>> triangles = Triangulation(h).Triangles();
    // Where a cell keeps both its halves, it is split along the diagonal with
    // the smaller height difference, so that ridges stay ridges and the
    // water line runs smoothly across the cells.
    std::map<std::pair<int, int>, int> halves;
    auto cell = [](const std::array<Corner, 3>& t) {
        return std::pair(std::min({t[0].i, t[1].i, t[2].i}), std::min({t[0].j, t[1].j, t[2].j}));
    };
    auto half = [](const std::array<Corner, 3>& t) { return std::abs(t[0].i - t[1].i) == 1; };
    for (const auto& t : triangles)
        if (half(t)) ++halves[cell(t)];
    std::erase_if(triangles, [&](const std::array<Corner, 3>& t) { return half(t) && halves[cell(t)] == 2; });
    for (const auto& [at, count] : halves) {
        if (count != 2) continue;
        auto [i, j] = at;
        Corner a{i, j}, b{i, j + 1}, c{i + 1, j + 1}, d{i + 1, j};
        if (std::fabs(height(a) - height(c)) <= std::fabs(height(b) - height(d))) {
            triangles.push_back({a, b, c});
            triangles.push_back({a, c, d});
        } else {
            triangles.push_back({a, b, d});
            triangles.push_back({b, c, d});
        }
    }
    // Triangles wholly under water are left out: the sea hides them in every
    // scene, and the colour scene's island shader would only throw their
    // pixels away, after paying for them. Those within half a unit of the
    // surface stay, for the water line's outline.
    auto deep = [&](const std::array<Corner, 3>& t) {
        return std::max({height(t[0]), height(t[1]), height(t[2])}) < kSeaLevel - 0.5f;
    };
    std::erase_if(triangles, deep);
    // From the north (+z) southwards and from the west eastwards: every
    // camera of the island's scenes looks at it from the north or the west,
    // so the near ground comes first and early depth testing spares the
    // shading of what it hides.
    auto key = [](const std::array<Corner, 3>& t) {
        return std::pair(-(t[0].j + t[1].j + t[2].j), t[0].i + t[1].i + t[2].i);
    };
    std::stable_sort(triangles.begin(), triangles.end(), [&](auto& a, auto& b) { return key(a) < key(b); });
    for (const auto& t : triangles) {
        // Wound to face up (+i is +x, +j is +z).
        int cross = (t[1].j - t[0].j) * (t[2].i - t[0].i) - (t[1].i - t[0].i) * (t[2].j - t[0].j);
        if (cross > 0)
            mesh.AddTriangle(vertex(t[0]), vertex(t[1]), vertex(t[2]), 0);
        else
            mesh.AddTriangle(vertex(t[0]), vertex(t[2]), vertex(t[1]), 0);
    }
    mesh.ComputeNormals();
    return mesh;
}

Rgba GroundColour(float x, float z, float y, Vec3 normal) {
    float slope = 1 - normal.y;
    float beach = BeachWeight(x, z);
    Ground g = GroundAt(y, slope, beach);
    float n1 = Fbm2(x * 0.08f, z * 0.08f, 201, 4);
    float n2 = Fbm2(x * 0.5f, z * 0.5f, 202, 3);
    // Layered rock: soft bands, and thin dark seams between the beds.
    float strata = 0.5f + 0.5f * std::sin(y * 1.7f + 2.5f * n1);
    float bed = y * 0.55f + 1.2f * n1;
    float seam = Smoothstep(0.8f, 0.97f, bed - std::floor(bed));
    Rgba rock = Mix(Rgba{0.44f, 0.40f, 0.35f}, Rgba{0.70f, 0.65f, 0.56f}, 0.3f + 0.5f * strata + 0.15f * n2);
    rock = Mix(rock, Rgba{0.30f, 0.27f, 0.24f}, 0.6f * seam);
    Rgba grass = Mix(Rgba{0.31f, 0.45f, 0.19f}, Rgba{0.55f, 0.54f, 0.30f}, Clamp01(0.5f + 0.6f * n1));
    grass = Mix(grass, Rgba{0.18f, 0.30f, 0.13f}, Smoothstep(0.15f, 0.45f, Fbm2(x * 0.15f, z * 0.15f, 203, 3)));
    Rgba sand = Mix(Rgba{0.88f, 0.80f, 0.61f}, Rgba{0.80f, 0.71f, 0.52f}, Clamp01(0.5f + 0.8f * n2));
    float wet = 1 - Smoothstep(kSeaLevel - 0.1f, kSeaLevel + 0.5f, y);
    sand = Mix(sand, Rgba{0.62f, 0.55f, 0.42f}, wet);
    Rgba c = Mix(Mix(grass, sand, g.sand), rock, g.rock);
    // Below the water line the ground turns to a dark, weedy seabed.
    float depth = Clamp01((kSeaLevel - 0.3f - y) / 6);
    c = Mix(c, Rgba{0.22f, 0.33f, 0.31f}, depth);
    return {c.r, c.g, c.b, 1};
}

// Fine bumps carried by the normal map: rough on rock, faint on sand.
float Detail(float x, float z, float rockiness) {
    return rockiness * 0.35f * Fbm2(x * 0.9f, z * 0.9f, 301, 3) + 0.06f * Fbm2(x * 3.1f, z * 3.1f, 302, 2);
}

}  // namespace

float IslandHeight(float x, float z) {
    float land = Land(x, z);
    if (land <= 0) return kSeaLevel + std::max(-11.0f, land * 70);
    float cliff = Cliffness(x, z), beach = BeachWeight(x, z);
    // Cliffs rise from a strip of shingle at their foot in three steps of
    // rock: a steep face of a few mesh cells, then a ledge that slopes
    // gently back, then the next face, so that the shore reads as layered
    // rock catching the light on its ledges rather than one stretched wall.
    // The steps wander a little along the shore.
    float up = Clamp01((land - 0.012f) / 0.2f + 0.07f * Fbm2(x * 0.06f, z * 0.06f, 112, 2));
    float stepped = up * 3;
    float face = stepped - std::floor(stepped);
    float terraces = (std::floor(stepped) + 0.2f * face + 0.8f * Smoothstep(0.45f, 0.95f, face)) / 3;
    float rise = Lerp(Smoothstep(0, 0.5f, land), Smoothstep(0, 1, up) * 0.25f + terraces * 0.75f, cliff);
    float e = rise * (6 + 10 * cliff) * Lerp(1, 0.35f, beach * (1 - Smoothstep(0.05f, 0.4f, land)));
    e += 0.5f * cliff * Smoothstep(0, 0.012f, land);  // the shingle, just above the sea
    e += 6 * Smoothstep(0.2f, 0.9f, land);
    // The peak in the south-west, and a lower hill in the east.
    float px = x + 10, pz = z + 8, qx = x - 22, qz = z - 2;
    float inland = Smoothstep(0.05f, 0.4f, land);
    e += 21 * std::exp(-(px * px + pz * pz) / (2 * 13.0f * 13.0f)) * inland;
    e += 7 * std::exp(-(qx * qx + qz * qz) / (2 * 10.0f * 10.0f)) * inland;
    // Ridges and gullies running down from the heights, and rough ground.
    float wx = x + 6 * Fbm2(x * 0.03f, z * 0.03f, 109, 2), wz = z + 6 * Fbm2(x * 0.03f, z * 0.03f + 4.4f, 110, 2);
    e += 8 * (Ridged2(wx * 0.045f, wz * 0.045f, 103, 4) - 0.45f) * Smoothstep(0.1f, 0.6f, land) * (1 - 0.7f * beach);
    e += 1.2f * Fbm2(x * 0.2f, z * 0.2f, 104, 3) * Smoothstep(0, 0.2f, land) * (1 - 0.8f * beach);
    return kSeaLevel + e;
}

void GenerateIsland(AssetSet& out) {
    Mesh mesh = BuildMesh();
    out.AddFile("fy_faen_assSmall.X", WriteXFile("Island", {{"IslandMesh", &mesh}}));
    out.AddMeshPreview("fy_faen_assSmall.X", mesh);

    HeightGrid heights = MakeHeights(kColourSize);
    Image colour(kColourSize, kColourSize), normal(kColourSize, kColourSize);
    const float t = heights.Texel();
    ParallelRows(kColourSize, [&](int j) {
        for (int i = 0; i < kColourSize; ++i) {
            float x = WorldX(i, kColourSize), z = WorldZ(j, kColourSize), y = heights.At(i, j);
            Vec3 n = heights.Normal(i, j);
            colour.At(i, j) = GroundColour(x, z, y, n);
            float rock = GroundAt(y, 1 - n.y, BeachWeight(x, z)).rock;
            float rough = 0.3f + 0.7f * rock;
            float ddx = (Detail(x + t, z, rough) - Detail(x - t, z, rough)) / (2 * t);
            float ddz = (Detail(x, z + t, rough) - Detail(x, z - t, rough)) / (2 * t);
            // Tangent along +u (+x), binormal along +v (-z), normal out of the ground.
            Vec3 d = Normalize({-ddx, ddz, 1});
            normal.At(i, j) = {0.5f + 0.5f * d.x, 0.5f + 0.5f * d.y, 0.5f + 0.5f * d.z, 1};
        }
    });
    out.AddFile("island.jpg", EncodeJpeg(colour, 92));
    out.AddPreview("island.jpg", colour);
    out.AddFile("islandNormal.jpg", EncodeJpeg(normal, 95));
    out.AddPreview("islandNormal.jpg", normal);

    // Cast shadows of the sun: 1 in light, 0.5 in full shadow, soft edges (a
    // grid like the heights', sampled between its texels as they are).
    const Vec3 sun = SunDirection();
    HeightGrid cast{kShadowSize, std::vector<float>(size_t(kShadowSize) * kShadowSize)};
    ParallelRows(kShadowSize, [&](int j) {
        for (int i = 0; i < kShadowSize; ++i) {
            float x = WorldX(i, kShadowSize), z = WorldZ(j, kShadowSize);
            Vec3 p{x, heights.Sample(x, z) + 0.25f, z};
            float penumbra = 1;
            for (float s = 0.5f; s < 120; s += 0.5f + s * 0.02f) {
                Vec3 q = p + sun * s;
                if (q.y > 40 || std::fabs(q.x) > kIslandHalf || std::fabs(q.z) > kIslandHalf) break;
                penumbra = std::min(penumbra, (q.y - heights.Sample(q.x, q.z)) / (0.08f * s));
                if (penumbra <= 0) break;
            }
            cast.h[size_t(j) * kShadowSize + i] = 0.5f + 0.5f * Smoothstep(0, 1, Clamp01(penumbra));
        }
    });

    // The light map "shadowmap.tga", at the colour map's size: the ground lit
    // by the sun and the sky (the colour map times kSky times the sky's share,
    // 0.55 + 0.45 times the detail normal's height, plus kSun times 1.25 times
    // the sun's: the detail normal's cosine to it times the cast shadow),
    // stored as the square root of a 1.6th so that the dark keeps its steps;
    // and in alpha the light as the pencil sees it, 0.12 of the sky's share
    // and 0.88 of the sun's. The island and its mirror image are lit from it
    // without reading the colour map, and the normal map only on the cliff
    // faces. The detail normals lie on
    // the ground as the mesh shapes it (the normal of heights a mesh cell
    // apart). kSky and kSun are the shaders' sky and sun colours.
    const Rgba kSky{0.36f, 0.44f, 0.56f}, kSun{1.05f, 0.97f, 0.86f};
    Image light(kColourSize, kColourSize);
    const float cell = 2 * kIslandHalf / kGrid;
    ParallelRows(kColourSize, [&](int j) {
        for (int i = 0; i < kColourSize; ++i) {
            float x = WorldX(i, kColourSize), z = WorldZ(j, kColourSize);
            float dhdx = (heights.Sample(x + cell, z) - heights.Sample(x - cell, z)) / (2 * cell);
            float dhdz = (heights.Sample(x, z + cell) - heights.Sample(x, z - cell)) / (2 * cell);
            Vec3 up = Normalize({-dhdx, 1, -dhdz});
            Vec3 tangent = Normalize({1, dhdx, 0}), binormal = Normalize({0, -dhdz, -1});
            const Rgba& d = normal.At(i, j);
            Vec3 n = Normalize(up * (2 * d.b - 1) + tangent * (2 * d.r - 1) + binormal * (2 * d.g - 1));
            float inLight = Clamp01((cast.Sample(x, z) - 0.5f) * 2);
            float sky = 0.55f + 0.45f * n.y, sunLight = std::max(Dot(n, sun), 0.0f) * inLight;
            const Rgba& a = colour.At(i, j);
            auto lit = [&](float albedo, float skyColour, float sunColour) {
                return std::sqrt(std::min(albedo * (skyColour * sky + sunColour * sunLight * 1.25f) / 1.6f, 1.0f));
            };
            // On the cliff faces the island shader relights the ground from
            // the mesh's normal and takes the cast shadow back from alpha:
            // there the pencil's light is that of the mesh's normal, without
            // the detail (as the faces weigh in the shader).
            float face = Smoothstep(0.55f, 0.3f, std::fabs(up.y));
            float sunOnMesh = std::max(Dot(up, sun), 0.05f) * inLight;
            float pencil =
                Lerp(0.12f * sky + 0.88f * sunLight, 0.12f * (0.55f + 0.45f * up.y) + 0.88f * sunOnMesh, face);
            light.At(i, j) = {lit(a.r, kSky.r, kSun.r), lit(a.g, kSky.g, kSun.g), lit(a.b, kSky.b, kSun.b), pencil};
        }
    });
    out.AddFile("shadowmap.tga", EncodeTga(light, true));
    out.AddPreview("shadowmap.tga", light);
}

}  // namespace gen
