// Text rendering with a TrueType or OpenType (CFF) font through stb_truetype,
// plain for labels or "by hand": each letter slightly turned, lifted and
// resized at random (from a fixed seed), as a quick pen would put it down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/contentgen/image.h"

namespace gen {

struct Hand {
    uint32_t seed = 1;
    float turn = 0.05f;  // radians, at most, per letter
    float lift = 0.03f;  // of the em size, at most, per letter
    float grow = 0.05f;  // relative size change, at most, per letter
};

class Font {
public:
    // False when the file cannot be read or is not a font stb_truetype knows.
    bool Load(const std::string& path);

    // Width in pixels of `text` at em size `em` (advances and kerning).
    float Width(const std::string& text, float em) const;
    // Distance from the top of the em box to the baseline, in pixels.
    float Ascent(float em) const;
    // Draws `text` in `ink` (its alpha times the letters' coverage) over
    // `image`, baseline starting at (x, y). `hand` may be null for plain text.
    void Draw(Image& image, const std::string& text, float x, float y, float em, Rgba ink, const Hand* hand) const;

private:
    std::vector<uint8_t> data;
    std::vector<uint8_t> info;  // stbtt_fontinfo, kept opaque here
};

}  // namespace gen
