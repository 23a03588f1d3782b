// Everything with letters on it, and the paper behind the title scene:
// - word pictures over the sketch and colour scenes ("first", "there is",
//   "a sketch", "then", "a colour"): 1024 x 384, dark pencil lettering with
//   a faint light halo, 172 texels to the em across and 1.4 times that
//   upwards (tall handwriting), so that at the word sprites' scale (1 texel
//   = 0.0005 of clip space, a sixth of a pixel at 640 x 480) a line of them
//   stands about 25 pixels high in the lower left; the second word of a
//   line starts its letters further into its picture (see
//   GenerateLettering);
// - title cards: the group's logo "kelss.png" (972 x 1024, filling the screen
//   at the cards' resting scale 0.002, its lettering clear of the strip where
//   "presents.png" (512 x 128) lies below the centre);
// - the title words "tavo.png", "ost.png", "quillet.png" (1024 x 512, 360
//   texels to the em: one line each at the words' scale 0.001);
// - "kratka.jpg", squared paper; "Loading.jpg", the loading picture;
//   "credits_copy.jpg", the credits card (1024 x 512) for the credits plane.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/contentgen/font.h"
#include "tools/contentgen/groups.h"
#include "tools/contentgen/image_files.h"
#include "tools/contentgen/island.h"
#include "tools/contentgen/noise.h"
#include "tools/contentgen/parallel.h"
#include "tools/contentgen/rng.h"
#include "tools/contentgen/world.h"

namespace gen {
namespace {

const Rgba kGraphite{0.13f, 0.13f, 0.15f, 1};
const Rgba kInkBlue{0.10f, 0.13f, 0.30f, 1};

// Letters by hand: a faint second pass a little off the first (a pencil
// going over its line twice), a light halo that keeps them readable over a
// busy picture, and graphite grain in the strokes: `grain` is its frequency
// in texels, so that it survives at the size the letters are shown; a
// `heavy` hand draws thicker lines, for letters shown small.
void Letter(Image& image, const Font& font, const std::string& text, float x, float baseline, float em, Rgba ink,
            uint32_t seed, bool halo, float grain = 0.7f, bool heavy = false) {
    Hand hand{seed, 0.06f, 0.035f, 0.05f};
    Image letters(image.Width(), image.Height(), {ink.r, ink.g, ink.b, 0});
    Rgba ghost = ink;
    ghost.a = 0.35f;
    font.Draw(letters, text, x + em * 0.014f, baseline + em * 0.01f, em, ghost, &hand);
    // A heavy hand goes over the line once more, pressing a little to the side.
    if (heavy) font.Draw(letters, text, x + em * 0.018f, baseline - em * 0.006f, em, ink, &hand);
    font.Draw(letters, text, x, baseline, em, ink, &hand);
    if (halo) {
        // The letters' shape grown by a few texels, softly, in white.
        const int r = std::max(1, int(em * 0.03f));
        Image glow(image.Width(), image.Height(), {1, 1, 1, 0});
        for (int y = 0; y < glow.Height(); ++y)
            for (int xx = 0; xx < glow.Width(); ++xx) {
                float a = 0;
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx) {
                        int sx = xx + dx, sy = y + dy;
                        if (sx < 0 || sy < 0 || sx >= glow.Width() || sy >= glow.Height()) continue;
                        float fall = 1 - std::sqrt(float(dx * dx + dy * dy)) / float(r + 1);
                        a = std::max(a, letters.At(sx, sy).a * fall);
                    }
                glow.At(xx, y).a = 0.6f * a;
            }
        image.Composite(glow, 0, 0);
    }
    for (int y = 0; y < letters.Height(); ++y)
        for (int xx = 0; xx < letters.Width(); ++xx) {
            float tooth = 0.82f + 0.18f * Noise2(xx * grain, y * grain, seed + 17);
            letters.At(xx, y).a *= Clamp01(tooth);
        }
    image.Composite(letters, 0, 0);
}

// A caption word, written tall: drawn on a line `kWordStretch` times lower
// than the picture, then stretched upwards. `left` is where the letters
// start, `baseline` where they stand, both in the picture's texels.
constexpr float kWordEm = 172;
constexpr float kWordStretch = 1.4f;
constexpr int kWordWidth = 1024, kWordHeight = 384;

Image WordPicture(const Font& font, const std::string& text, float left, float baseline, uint32_t seed) {
    Image line(kWordWidth, int(kWordHeight / kWordStretch), {1, 1, 1, 0});
    Letter(line, font, text, left, baseline / kWordStretch, kWordEm, kGraphite, seed, true, 0.2f, true);
    Image image(kWordWidth, kWordHeight);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.At(x, y) = line.Sample((float(x) + 0.5f) / kWordWidth, (float(y) + 0.5f) / kWordHeight, false);
    return image;
}

Image TitleWord(const Font& font, const std::string& text, uint32_t seed) {
    const float em = 360;
    Image image(1024, 512, {1, 1, 1, 0});
    Letter(image, font, text, 24, 24 + font.Ascent(em), em, kGraphite, seed, false);
    return image;
}

// A loose pencil line through `points`: two or three slightly different passes.
void Sketch(Image& image, const std::vector<Vec2>& points, Rgba ink, float width, uint32_t seed, StrokeMode mode) {
    Rng rng(seed);
    for (int pass = 0; pass < 3; ++pass) {
        Stroke s;
        float ox = rng.Range(-1.5f, 1.5f), oy = rng.Range(-1.5f, 1.5f);
        for (const Vec2& p : points)
            s.points.push_back({p.x + ox + rng.Range(-0.6f, 0.6f), p.y + oy + rng.Range(-0.6f, 0.6f)});
        s.width = width * rng.Range(0.7f, 1.1f);
        s.ink = ink;
        s.opacity = pass == 0 ? 0.9f : 0.35f;
        s.taper = 0.6f;
        DrawStroke(image, s, mode, false);
    }
}

Image Logo(const Font& font) {
    Image image(972, 1024, {1, 1, 1, 0});
    const float em = 360;
    float width = font.Width("kelss", em);
    float baseline = 430;
    Letter(image, font, "kelss", (972 - width) / 2, baseline, em, kInkBlue, 901, false);
    // A swash under the name, and a loose ring round it, clear of the strip
    // (texels 560 to 720 down) where the "presents" card lies. The swash's
    // upper edge runs through the card's centre texel (486, 512), the point
    // the zoom keeps still: as the card grows past the screen's edges, the
    // picture splits into paper above and red ink below.
    std::vector<Vec2> swash, ring;
    for (int i = 0; i <= 40; ++i) {
        float t = float(i) / 40;
        swash.push_back({150 + 670 * t, baseline + 114 - 30 * std::sin(t * kPi) + 10 * t});
    }
    Sketch(image, swash, {0.72f, 0.12f, 0.10f, 1}, 14, 902, StrokeMode::Cover);
    for (int i = 0; i <= 90; ++i) {
        float a = -0.3f + 2 * kPi * 1.06f * i / 90;
        ring.push_back({486 + 450 * std::cos(a), 300 + 250 * std::sin(a)});
    }
    Sketch(image, ring, kInkBlue, 7, 903, StrokeMode::Cover);
    return image;
}

Image Presents(const Font& font) {
    Image image(512, 128, {1, 1, 1, 0});
    const float em = 100;
    Letter(image, font, "presents", (512 - font.Width("presents", em)) / 2, 12 + font.Ascent(em), em, kInkBlue, 904,
           false);
    return image;
}

// Off-white paper with a faint fibre grain.
Image Paper(int width, int height, uint32_t seed) {
    Image image(width, height);
    ParallelRows(height, [&](int y) {
        for (int x = 0; x < width; ++x) {
            float g = 0.012f * Fbm2(x * 0.05f, y * 0.05f, seed, 4) + 0.01f * Noise2(x * 0.9f, y * 0.3f, seed + 1);
            image.At(x, y) = {0.955f + g, 0.948f + g, 0.915f + g, 1};
        }
    });
    return image;
}

Image SquaredPaper() {
    Image image = Paper(1024, 768, 911);
    const int square = 32;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            float dx = std::fabs(float((x + 16) % square) - 0.0f), dy = std::fabs(float((y + 20) % square) - 0.0f);
            float line = std::max(dx < 1 ? 1.0f : 0.0f, dy < 1 ? 1.0f : 0.0f);
            float wobble = 0.85f + 0.15f * Noise2(x * 0.02f, y * 0.02f, 912);
            Rgba& p = image.At(x, y);
            p = Mix(p, Rgba{0.55f, 0.70f, 0.88f, 1}, 0.55f * line * wobble);
            if (x >= 110 && x < 112) p = Mix(p, Rgba{0.85f, 0.35f, 0.35f, 1}, 0.7f);  // margin
        }
    return image;
}

Image LoadingPicture(const Font& font) {
    Image image = Paper(1024, 768, 921);
    // The island in profile through its peak, as a quick pencil sketch.
    std::vector<Vec2> profile;
    const float scale = 5.0f, baseX = 512, seaY = 470;
    for (int i = 0; i <= 120; ++i) {
        float x = -62 + 124.0f * i / 120;
        float h = std::max(IslandHeight(x, -8), world::kSeaLevel - 0.5f);
        profile.push_back({baseX + x * scale, seaY - (h - world::kSeaLevel) * scale});
    }
    Sketch(image, profile, kGraphite, 2.2f, 922, StrokeMode::Darken);
    Rng rng(923);
    for (int i = 0; i < 9; ++i) {  // the sea, in short wavy dashes
        std::vector<Vec2> wave;
        float x0 = rng.Range(120, 760), y = seaY + 8 + i * 11 + rng.Range(-3, 3), len = rng.Range(80, 200);
        for (int k = 0; k <= 16; ++k) wave.push_back({x0 + len * k / 16, y + 2.5f * std::sin(k * 1.1f)});
        Sketch(image, wave, kGraphite, 1.4f, 924 + i, StrokeMode::Darken);
    }
    Image letters(1024, 768, {1, 1, 1, 0});
    Letter(letters, font, "tavo ost quillet", (1024 - font.Width("tavo ost quillet", 64)) / 2, 620, 64, kGraphite, 925,
           false);
    Letter(letters, font, "loading...", (1024 - font.Width("loading...", 40)) / 2, 680, 40, kGraphite, 926, false);
    image.Composite(letters, 0, 0);
    return image;
}

Image CreditsCard(const Font& font) {
    Image image = Paper(1024, 512, 931);
    Image letters(1024, 512, {1, 1, 1, 0});
    struct Line {
        const char* text;
        float em, y;
    };
    const Line lines[] = {{"tavo ost quillet", 84, 110},
                          {"a kelss production", 48, 180},
                          {"code, pictures and music", 40, 270},
                          {"all generated from source", 40, 320},
                          {"thanks for watching", 52, 430}};
    uint32_t seed = 932;
    for (const Line& line : lines)
        Letter(letters, font, line.text, (1024 - font.Width(line.text, line.em)) / 2, line.y, line.em, kGraphite,
               seed++, false);
    image.Composite(letters, 0, 0);
    std::vector<Vec2> border = {{24, 26}, {1000, 22}, {1002, 488}, {22, 490}, {24, 26}};
    Sketch(image, border, kGraphite, 2.0f, 940, StrokeMode::Darken);
    return image;
}

}  // namespace

void GenerateLettering(AssetSet& out, const std::string& fontPath) {
    Font font;
    if (!font.Load(fontPath)) {
        std::fprintf(stderr, "contentgen: cannot load the font %s\n", fontPath.c_str());
        std::exit(1);
    }
    auto png = [&](const std::string& name, const Image& image) {
        out.AddFile(name, EncodePng(image, true));
        out.AddPreview(name, image);
    };
    auto jpeg = [&](const std::string& name, const Image& image) {
        out.AddFile(name, EncodeJpeg(image, 92));
        out.AddPreview(name, image);
    };
    // The captions' places (sprite texels): sketch scene "first" (-1512, 512),
    // "there is" (-1512, 1024), "a sketch" (-990, 1024); colour scene "then"
    // (-1512, 1512), "there is" (-912, 1624), "a colour" (-590, 1624). The
    // second word of a line starts its letters far enough into its picture
    // to follow "there is" after a space, in both scenes; "then" stands
    // higher in its picture than the rest, above the line that follows it,
    // and every line ends above the screen's lower edge (sprite y 2000).
    const float left = 16, lineBase = 320, space = font.Width(" ", kWordEm) + 24;
    const float thereIsEnd = left + font.Width("there is", kWordEm) + space;
    png("first.png", WordPicture(font, "first", left, lineBase, 951));
    png("thereis.png", WordPicture(font, "there is", left, lineBase, 952));
    png("asketch.png", WordPicture(font, "a sketch", std::max(left, thereIsEnd - 522), lineBase, 953));
    png("then.png", WordPicture(font, "then", left, 230, 954));
    png("acolour.png", WordPicture(font, "a colour", std::max(left, thereIsEnd - 322), lineBase, 955));
    png("kelss.png", Logo(font));
    png("presents.png", Presents(font));
    png("tavo.png", TitleWord(font, "tavo", 956));
    png("ost.png", TitleWord(font, "ost", 957));
    png("quillet.png", TitleWord(font, "quillet", 958));
    jpeg("kratka.jpg", SquaredPaper());
    jpeg("Loading.jpg", LoadingPicture(font));
    jpeg("credits_copy.jpg", CreditsCard(font));
}

}  // namespace gen
