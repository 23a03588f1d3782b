#include "tools/contentgen/font.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tools/contentgen/rng.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
#pragma GCC diagnostic pop

namespace gen {
namespace {

const stbtt_fontinfo* Info(const std::vector<uint8_t>& info) {
    return reinterpret_cast<const stbtt_fontinfo*>(info.data());
}

}  // namespace

bool Font::Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    info.assign(sizeof(stbtt_fontinfo), 0);
    auto* fi = reinterpret_cast<stbtt_fontinfo*>(info.data());
    int offset = stbtt_GetFontOffsetForIndex(data.data(), 0);
    return offset >= 0 && stbtt_InitFont(fi, data.data(), offset) != 0;
}

float Font::Width(const std::string& text, float em) const {
    const stbtt_fontinfo* fi = Info(info);
    float scale = stbtt_ScaleForMappingEmToPixels(fi, em);
    float width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int advance, bearing;
        stbtt_GetCodepointHMetrics(fi, (unsigned char)text[i], &advance, &bearing);
        width += advance * scale;
        if (i + 1 < text.size())
            width += scale * stbtt_GetCodepointKernAdvance(fi, (unsigned char)text[i], (unsigned char)text[i + 1]);
    }
    return width;
}

float Font::Ascent(float em) const {
    const stbtt_fontinfo* fi = Info(info);
    int ascent, descent, gap;
    stbtt_GetFontVMetrics(fi, &ascent, &descent, &gap);
    return ascent * stbtt_ScaleForMappingEmToPixels(fi, em);
}

void Font::Draw(Image& image, const std::string& text, float x, float y, float em, Rgba ink, const Hand* hand) const {
    const stbtt_fontinfo* fi = Info(info);
    float scale = stbtt_ScaleForMappingEmToPixels(fi, em);
    Rng rng(hand ? hand->seed : 0);
    float penX = x;
    for (size_t i = 0; i < text.size(); ++i) {
        int cp = (unsigned char)text[i];
        int advance, bearing;
        stbtt_GetCodepointHMetrics(fi, cp, &advance, &bearing);
        float turn = 0, lift = 0, grow = 1;
        if (hand) {
            turn = rng.Range(-hand->turn, hand->turn);
            lift = rng.Range(-hand->lift, hand->lift) * em;
            grow = 1 + rng.Range(-hand->grow, hand->grow);
        }
        float s = scale * grow;
        float subX = penX - std::floor(penX);
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBoxSubpixel(fi, cp, s, s, subX, 0, &x0, &y0, &x1, &y1);
        int w = x1 - x0, h = y1 - y0;
        if (w > 0 && h > 0) {
            std::vector<uint8_t> glyph(size_t(w) * h);
            stbtt_MakeCodepointBitmapSubpixel(fi, glyph.data(), w, h, w, s, s, subX, 0, cp);
            // Place the glyph box, turned about its centre, inverse-mapping each target pixel.
            float cx = std::floor(penX) + x0 + w * 0.5f, cy = y + y0 + h * 0.5f - lift;
            float c = std::cos(turn), sn = std::sin(turn);
            int r = int(std::ceil(std::hypot(w, h) * 0.5f)) + 1;
            for (int ty = int(cy) - r; ty <= int(cy) + r; ++ty)
                for (int tx = int(cx) - r; tx <= int(cx) + r; ++tx) {
                    if (tx < 0 || ty < 0 || tx >= image.Width() || ty >= image.Height()) continue;
                    float dx = tx + 0.5f - cx, dy = ty + 0.5f - cy;
                    float gx = c * dx + sn * dy + w * 0.5f - 0.5f, gy = -sn * dx + c * dy + h * 0.5f - 0.5f;
                    int ix = int(std::floor(gx)), iy = int(std::floor(gy));
                    float fx = gx - ix, fy = gy - iy;
                    auto at = [&](int px, int py) {
                        return (px < 0 || py < 0 || px >= w || py >= h) ? 0.0f : glyph[size_t(py) * w + px] / 255.0f;
                    };
                    float cover =
                        Lerp(Lerp(at(ix, iy), at(ix + 1, iy), fx), Lerp(at(ix, iy + 1), at(ix + 1, iy + 1), fx), fy);
                    if (cover <= 0) continue;
                    float a = cover * ink.a;
                    Rgba& d = image.At(tx, ty);
                    float outA = a + d.a * (1 - a);
                    d = {(ink.r * a + d.r * d.a * (1 - a)) / outA, (ink.g * a + d.g * d.a * (1 - a)) / outA,
                         (ink.b * a + d.b * d.a * (1 - a)) / outA, outA};
                }
        }
        penX += advance * s;
        if (i + 1 < text.size()) penX += s * stbtt_GetCodepointKernAdvance(fi, cp, (unsigned char)text[i + 1]);
    }
}

}  // namespace gen
