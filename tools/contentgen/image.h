// A floating-point RGBA picture, the working format of every texture the
// generator paints, with the few operations the painters share: bilinear
// sampling, halving for mip chains, resizing for previews, compositing and
// drawing soft pencil strokes.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/contentgen/vecmath.h"

namespace gen {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

inline Rgba operator+(Rgba p, Rgba q) { return {p.r + q.r, p.g + q.g, p.b + q.b, p.a + q.a}; }
inline Rgba operator*(Rgba p, float s) { return {p.r * s, p.g * s, p.b * s, p.a * s}; }
inline Rgba Mix(Rgba p, Rgba q, float t) { return p * (1 - t) + q * t; }
inline Rgba Grey(float v, float a = 1) { return {v, v, v, a}; }

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgba fill = {0, 0, 0, 1});

    int Width() const { return width; }
    int Height() const { return height; }
    bool Empty() const { return pixels.empty(); }
    Rgba& At(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgba& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    Rgba& AtWrapped(int x, int y);

    // Bilinear sample at texture coordinates (u, v) in [0, 1], texel centres
    // at (i + 0.5) / size; `wrap` repeats, otherwise edges clamp.
    Rgba Sample(float u, float v, bool wrap) const;
    // Half the size (at least 1 x 1), each texel the mean of its 2 x 2 parents.
    Image Halved() const;
    // Area-averaged (shrinking) or bilinear (growing) copy of another size.
    Image Resized(int newWidth, int newHeight) const;
    // Paints `top` over this picture with its top-left corner at (x, y).
    void Composite(const Image& top, int x, int y);

    // Clamped 8-bit channels, RGBA order, top row first.
    std::vector<uint8_t> ToRgba8() const;

private:
    int width = 0, height = 0;
    std::vector<Rgba> pixels;
};

// A pencil or ink stroke along a polyline (pixel coordinates). Width and
// darkness may taper from the middle to the ends. In `Darken` mode the ink
// multiplies the picture (graphite on paper); in `Cover` mode it is painted
// over the picture with its own alpha (letters on a transparent card).
struct Stroke {
    std::vector<Vec2> points;
    float width = 1.5f;
    float opacity = 1.0f;
    Rgba ink = Grey(0.2f);
    float taper = 0.5f;  // 0: even along the stroke, 1: fades fully at the ends
};
enum class StrokeMode { Darken, Cover };
void DrawStroke(Image& image, const Stroke& stroke, StrokeMode mode, bool wrap);

}  // namespace gen
