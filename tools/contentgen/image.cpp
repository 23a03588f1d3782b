#include "tools/contentgen/image.h"

#include <algorithm>
#include <cmath>

namespace gen {

Image::Image(int w, int h, Rgba fill) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

Rgba& Image::AtWrapped(int x, int y) {
    x %= width;
    y %= height;
    if (x < 0) x += width;
    if (y < 0) y += height;
    return At(x, y);
}

Rgba Image::Sample(float u, float v, bool wrap) const {
    float fx = u * width - 0.5f, fy = v * height - 0.5f;
    int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    float tx = fx - x0, ty = fy - y0;
    auto fetch = [&](int x, int y) {
        if (wrap) {
            x %= width;
            y %= height;
            if (x < 0) x += width;
            if (y < 0) y += height;
        } else {
            x = std::clamp(x, 0, width - 1);
            y = std::clamp(y, 0, height - 1);
        }
        return At(x, y);
    };
    Rgba top = Mix(fetch(x0, y0), fetch(x0 + 1, y0), tx);
    Rgba bottom = Mix(fetch(x0, y0 + 1), fetch(x0 + 1, y0 + 1), tx);
    return Mix(top, bottom, ty);
}

Image Image::Halved() const {
    int w = std::max(1, width / 2), h = std::max(1, height / 2);
    Image out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sx = std::min(2 * x + 1, width - 1), sy = std::min(2 * y + 1, height - 1);
            out.At(x, y) = (At(2 * x, 2 * y) + At(sx, 2 * y) + At(2 * x, sy) + At(sx, sy)) * 0.25f;
        }
    return out;
}

Image Image::Resized(int newWidth, int newHeight) const {
    Image out(newWidth, newHeight);
    float sx = float(width) / newWidth, sy = float(height) / newHeight;
    for (int y = 0; y < newHeight; ++y)
        for (int x = 0; x < newWidth; ++x) {
            if (sx <= 1 && sy <= 1) {
                out.At(x, y) = Sample((x + 0.5f) / newWidth, (y + 0.5f) / newHeight, false);
                continue;
            }
            int x0 = int(x * sx), x1 = std::max(x0 + 1, int((x + 1) * sx));
            int y0 = int(y * sy), y1 = std::max(y0 + 1, int((y + 1) * sy));
            Rgba sum{0, 0, 0, 0};
            for (int yy = y0; yy < std::min(y1, height); ++yy)
                for (int xx = x0; xx < std::min(x1, width); ++xx) sum = sum + At(xx, yy);
            out.At(x, y) = sum * (1.0f / float((x1 - x0) * (y1 - y0)));
        }
    return out;
}

void Image::Composite(const Image& top, int ox, int oy) {
    for (int y = 0; y < top.height; ++y)
        for (int x = 0; x < top.width; ++x) {
            int tx = ox + x, ty = oy + y;
            if (tx < 0 || ty < 0 || tx >= width || ty >= height) continue;
            const Rgba& s = top.At(x, y);
            Rgba& d = At(tx, ty);
            float a = s.a + d.a * (1 - s.a);
            if (a <= 0) {
                d = {0, 0, 0, 0};
                continue;
            }
            d = {(s.r * s.a + d.r * d.a * (1 - s.a)) / a, (s.g * s.a + d.g * d.a * (1 - s.a)) / a,
                 (s.b * s.a + d.b * d.a * (1 - s.a)) / a, a};
        }
}

std::vector<uint8_t> Image::ToRgba8() const {
    std::vector<uint8_t> out(pixels.size() * 4);
    auto q = [](float v) { return uint8_t(std::lround(Clamp01(v) * 255.0f)); };
    for (size_t i = 0; i < pixels.size(); ++i) {
        out[i * 4 + 0] = q(pixels[i].r);
        out[i * 4 + 1] = q(pixels[i].g);
        out[i * 4 + 2] = q(pixels[i].b);
        out[i * 4 + 3] = q(pixels[i].a);
    }
    return out;
}

void DrawStroke(Image& image, const Stroke& stroke, StrokeMode mode, bool wrap) {
    const auto& p = stroke.points;
    if (p.size() < 2) return;
    // Arc length at each point, for the taper.
    std::vector<float> arc(p.size(), 0);
    for (size_t i = 1; i < p.size(); ++i) arc[i] = arc[i - 1] + std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
    float total = std::max(arc.back(), 1e-3f);
    float half = stroke.width * 0.5f;
    float minX = p[0].x, maxX = p[0].x, minY = p[0].y, maxY = p[0].y;
    for (const Vec2& q : p) {
        minX = std::min(minX, q.x);
        maxX = std::max(maxX, q.x);
        minY = std::min(minY, q.y);
        maxY = std::max(maxY, q.y);
    }
    int x0 = int(std::floor(minX - half - 1)), x1 = int(std::ceil(maxX + half + 1));
    int y0 = int(std::floor(minY - half - 1)), y1 = int(std::ceil(maxY + half + 1));
    if (!wrap) {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, image.Width() - 1);
        y1 = std::min(y1, image.Height() - 1);
    }
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float best = 1e30f, bestArc = 0;
            for (size_t i = 1; i < p.size(); ++i) {
                float ax = p[i - 1].x, ay = p[i - 1].y, bx = p[i].x - ax, by = p[i].y - ay;
                float len2 = bx * bx + by * by;
                float t = len2 > 0 ? Clamp01(((px - ax) * bx + (py - ay) * by) / len2) : 0;
                float dx = px - (ax + bx * t), dy = py - (ay + by * t);
                float d2 = dx * dx + dy * dy;
                if (d2 < best) {
                    best = d2;
                    bestArc = arc[i - 1] + (arc[i] - arc[i - 1]) * t;
                }
            }
            float s = bestArc / total;  // 0 .. 1 along the stroke
            float pressure = 1 - stroke.taper * std::pow(std::fabs(2 * s - 1), 3.0f);
            float w = half * (0.6f + 0.4f * pressure);
            float cover = Clamp01(w + 0.5f - std::sqrt(best)) * stroke.opacity * pressure;
            if (cover <= 0) continue;
            Rgba& d = wrap ? image.AtWrapped(x, y) : image.At(x, y);
            if (mode == StrokeMode::Darken) {
                d.r *= 1 - cover * (1 - stroke.ink.r);
                d.g *= 1 - cover * (1 - stroke.ink.g);
                d.b *= 1 - cover * (1 - stroke.ink.b);
            } else {
                float a = cover + d.a * (1 - cover);
                d.r = (stroke.ink.r * cover + d.r * d.a * (1 - cover)) / a;
                d.g = (stroke.ink.g * cover + d.g * d.a * (1 - cover)) / a;
                d.b = (stroke.ink.b * cover + d.b * d.a * (1 - cover)) / a;
                d.a = a;
            }
        }
}

}  // namespace gen
