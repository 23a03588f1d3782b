// Pencil hatching: the six tones "Hatch0.dds" (lightest, a tenth of the paper
// covered) to "Hatch5.dds" (darkest, seven tenths), a tonal art map: every
// tone holds all the strokes of the lighter ones plus its own (horizontal
// strokes first, then one diagonal, then the other), so that blending
// neighbouring tones never makes strokes swim. Each mip level is drawn anew
// at its own resolution (strokes stay one to two texels wide; coarser levels
// get fewer of them, as many as keep the tone of level 0) instead of being
// filtered from the level above; from 8 texels down a level is the plain
// tone. All of them tile. Each texture carries its own tone in red and the
// next three darker tones in green, blue and alpha (the darkest repeated), so
// that a shader reads the whole ladder from two of them. Two looser sheets for the sea come with them:
// "hatch0.jpg" (long, light, wavy strokes) and "hatch1.jpg" (cross-hatching).
#include <cmath>
#include <string>

#include "tools/contentgen/groups.h"
#include "tools/contentgen/image_files.h"
#include "tools/contentgen/rng.h"

namespace gen {
namespace {

// A stroke in texture space (0 .. 1 across the tile), drawn at any resolution.
struct UnitStroke {
    Vec2 start;
    float angle, length, bend, width, darkness;
};

// One direction of strokes, in the fixed order in which tones take them.
std::vector<UnitStroke> Family(uint32_t seed, int count, float angle, float spread, float minLength, float maxLength) {
    Rng rng(seed);
    std::vector<UnitStroke> strokes;
    for (int i = 0; i < count; ++i)
        strokes.push_back({{rng.Uniform(), rng.Uniform()},
                           angle + rng.Range(-spread, spread),
                           rng.Range(minLength, maxLength),
                           rng.Range(-0.02f, 0.02f),
                           rng.Range(0.85f, 1.25f),
                           rng.Range(0.55f, 0.8f)});
    return strokes;
}

void Draw(Image& image, const UnitStroke& s, float widthScale) {
    const float size = float(image.Width());
    Stroke stroke;
    Vec2 dir{std::cos(s.angle), std::sin(s.angle)}, normal{-dir.y, dir.x};
    const int pieces = 6;
    for (int k = 0; k <= pieces; ++k) {
        float t = float(k) / pieces, bow = s.bend * 4 * t * (1 - t);
        stroke.points.push_back({(s.start.x + dir.x * s.length * t + normal.x * bow) * size,
                                 (s.start.y + dir.y * s.length * t + normal.y * bow) * size});
    }
    stroke.width = std::max(1.0f, s.width * widthScale);
    stroke.ink = Grey(0.12f);
    stroke.opacity = s.darkness;
    stroke.taper = 0.7f;
    DrawStroke(image, stroke, StrokeMode::Darken, true);
}

float MeanDarkness(const Image& image) {
    double sum = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) sum += 1 - image.At(x, y).r;
    return float(sum / (double(image.Width()) * image.Height()));
}

// A tone: the darkness it aims at (mean of 1 - brightness) and the share of
// strokes it takes from each family.
struct Tone {
    float darkness;
    float weights[3];
};

struct Counts {
    int n[3] = {0, 0, 0};
};

Image DrawCounts(const std::vector<UnitStroke> families[3], const Counts& counts, int size) {
    Image image(size, size, {1, 1, 1, 1});
    for (int f = 0; f < 3; ++f)
        for (int i = 0; i < std::min<int>(counts.n[f], int(families[f].size())); ++i) Draw(image, families[f][i], 1.4f);
    return image;
}

// The stroke counts, `scale` times the base ones.
Counts Scaled(const Counts& base, float scale) {
    Counts c;
    for (int f = 0; f < 3; ++f) c.n[f] = int(std::lround(base.n[f] * scale));
    return c;
}

// Adds strokes in `steps` rounds, make(k / steps) giving the counts after
// round k, until the drawing reaches `darkness`; keeps whichever of the last
// two rounds comes closer. Darkening multiplies, so drawing in rounds gives
// the same picture as drawing the final counts at once.
template <typename Make>
Counts Grow(const std::vector<UnitStroke> families[3], int size, float darkness, int steps, Make make, Image& out) {
    Image image(size, size, {1, 1, 1, 1});
    Counts drawn, before;
    float previous = 0;
    for (int k = 1; k <= steps; ++k) {
        Counts c = make(float(k) / float(steps));
        for (int f = 0; f < 3; ++f)
            for (int i = drawn.n[f]; i < std::min<int>(c.n[f], int(families[f].size())); ++i)
                Draw(image, families[f][i], 1.4f);
        before = drawn;
        drawn = c;
        float d = MeanDarkness(image);
        if (d >= darkness) {
            if (darkness - previous < d - darkness) {
                out = DrawCounts(families, before, size);
                return before;
            }
            break;
        }
        previous = d;
    }
    out = image;
    return drawn;
}

// A tone's chain: level 0 calibrated to the tone (holding at least the
// strokes of the lighter tone before it), each smaller level drawn anew with
// fewer strokes calibrated to level 0's darkness; below 16 texels, where no
// stroke can show, the plain tone.
std::vector<Image> ToneChain(const std::vector<UnitStroke> families[3], const Tone& tone, Counts& lighter,
                             int baseSize) {
    std::vector<Image> chain(1);
    Counts base = Grow(
        families, baseSize, tone.darkness, 500,
        [&](float x) {
            Counts c;
            for (int f = 0; f < 3; ++f) c.n[f] = std::max(lighter.n[f], int(std::lround(tone.weights[f] * x * 1500)));
            return c;
        },
        chain[0]);
    lighter = base;
    const float target = MeanDarkness(chain[0]);
    for (int size = baseSize / 2; size >= 1; size /= 2) {
        if (size < 16) {
            chain.push_back(Image(size, size, Grey(1 - target)));
            continue;
        }
        chain.emplace_back();
        Grow(
            families, size, target, 200, [&](float x) { return Scaled(base, x); }, chain.back());
    }
    return chain;
}

Image SeaSheet(uint32_t seed, int size, bool cross) {
    Image image(size, size, {1, 1, 1, 1});
    Rng rng(seed);
    int count = cross ? 260 : 140;
    for (int i = 0; i < count; ++i) {
        bool second = cross && (i % 2 == 1);
        float angle = second ? 0.85f + rng.Range(-0.1f, 0.1f) : rng.Range(-0.08f, 0.08f);
        float length = cross ? rng.Range(0.12f, 0.25f) : rng.Range(0.25f, 0.5f);
        Stroke s;
        float x = rng.Uniform() * size, y = rng.Uniform() * size, wave = rng.Range(0.004f, 0.012f) * size;
        for (int k = 0; k <= 12; ++k) {
            float t = float(k) / 12 * length * size;
            float w = cross ? 0 : wave * std::sin(float(k) / 12 * 2 * kPi * rng.Range(0.9f, 1.1f));
            s.points.push_back(
                {x + std::cos(angle) * t - std::sin(angle) * w, y + std::sin(angle) * t + std::cos(angle) * w});
        }
        s.width = rng.Range(1.2f, 2.0f);
        s.ink = Grey(0.15f);
        s.opacity = rng.Range(0.35f, 0.6f);
        s.taper = 0.8f;
        DrawStroke(image, s, StrokeMode::Darken, true);
    }
    return image;
}

}  // namespace

void GenerateHatching(AssetSet& out) {
    const int base = 256;
    // Horizontal strokes first, then the diagonals of the cross-hatching.
    const std::vector<UnitStroke> families[3] = {
        Family(701, 1500, -0.12f, 0.06f, 0.18f, 0.35f),
        Family(702, 1500, 0.95f, 0.07f, 0.15f, 0.3f),
        Family(703, 1500, -0.75f, 0.07f, 0.12f, 0.25f),
    };
    const Tone tones[6] = {{0.10f, {1, 0, 0}},    {0.20f, {1, 0, 0}},    {0.32f, {1, 0.5f, 0}},
                           {0.45f, {1, 0.8f, 0}}, {0.58f, {1, 1, 0.6f}}, {0.70f, {1, 1, 1}}};
    Counts lighter;
    std::vector<Image> chains[6];
    for (int t = 0; t < 6; ++t) chains[t] = ToneChain(families, tones[t], lighter, base);
    // Preview of the mip levels, each at its own size: a row per tone.
    Image levels(base * 2, base * 6 / 2, {1, 1, 1, 1});
    for (int t = 0; t < 6; ++t) {
        // Tone t in red, the next three darker ones (the darkest repeated) in
        // green, blue and alpha: two reads give a shader the whole ladder.
        std::vector<Image> packed;
        for (size_t l = 0; l < chains[t].size(); ++l) {
            Image level(chains[t][l].Width(), chains[t][l].Height());
            for (int y = 0; y < level.Height(); ++y)
                for (int x = 0; x < level.Width(); ++x)
                    level.At(x, y) = {chains[t][l].At(x, y).r, chains[std::min(t + 1, 5)][l].At(x, y).r,
                                      chains[std::min(t + 2, 5)][l].At(x, y).r,
                                      chains[std::min(t + 3, 5)][l].At(x, y).r};
            packed.push_back(level);
        }
        std::string name = "Hatch" + std::to_string(t) + ".dds";
        out.AddFile(name, EncodeDds(packed, DdsFormat::A8R8G8B8));
        out.AddPreview(name, chains[t][0]);
        int x = 0;
        for (size_t l = 1; l < chains[t].size(); ++l) {
            levels.Composite(chains[t][l], x, t * base / 2);
            x += chains[t][l].Width() + 4;
        }
    }
    out.AddPreview("Hatch0-5.dds levels 1-8", levels);
    Image light = SeaSheet(711, 512, false), cross = SeaSheet(712, 512, true);
    out.AddFile("hatch0.jpg", EncodeJpeg(light, 92));
    out.AddPreview("hatch0.jpg", light);
    out.AddFile("hatch1.jpg", EncodeJpeg(cross, 92));
    out.AddPreview("hatch1.jpg", cross);
}

}  // namespace gen
