// DDS files: header checks, level layout and pixel decoding to A8R8G8B8.
#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/d3dx9/image.h"

namespace d3dx {

namespace {

constexpr size_t kHeaderBytes = 128;  // magic + 124-byte header

// Header flags and capabilities.
constexpr uint32_t kFlagDepth = 0x800000;
constexpr uint32_t kCaps2Cubemap = 0x200;
constexpr uint32_t kCaps2AllFaces = 0xFC00;
constexpr uint32_t kCaps2Volume = 0x200000;

// Pixel format flags.
constexpr uint32_t kPixelAlphaPixels = 0x1;
constexpr uint32_t kPixelAlpha = 0x2;
constexpr uint32_t kPixelFourCC = 0x4;
constexpr uint32_t kPixelRgb = 0x40;
constexpr uint32_t kPixelLuminance = 0x20000;

constexpr uint32_t FourCC(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

uint32_t ReadU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }

bool Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

// ---- block compression -------------------------------------------------------

void Expand565(uint32_t c, uint32_t* r, uint32_t* g, uint32_t* b) {
    uint32_t r5 = (c >> 11) & 31, g6 = (c >> 5) & 63, b5 = c & 31;
    *r = r5 << 3 | r5 >> 2;
    *g = g6 << 2 | g6 >> 4;
    *b = b5 << 3 | b5 >> 2;
}

// ---- uncompressed pixels -----------------------------------------------------

// One channel described by a contiguous bit mask, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;

    bool Set(uint32_t m) {
        mask = m;
        if (m == 0) return true;
        shift = std::countr_zero(m);
        uint32_t bits = m >> shift;
        if ((bits & (bits + 1)) != 0) return false;  // not contiguous
        max = bits;
        return true;
    }
    uint32_t Read(uint32_t pixel) const {
        if (mask == 0) return 0;
        uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint32_t>((v * 255 + max / 2) / max);
    }
};

struct PixelLayout {
    enum class Kind { Dxt1, Dxt3, Dxt5, Masked } kind = Kind::Masked;
    uint32_t bytesPerPixel = 0;  // masked formats
    uint32_t blockBytes = 0;     // compressed formats
    bool luminance = false;
    bool hasAlpha = false;
    bool alphaOnly = false;
    Channel r, g, b, a;
};

bool ReadPixelLayout(const uint8_t* header, PixelLayout* layout, std::string* error) {
    uint32_t flags = ReadU32(header + 80);
    uint32_t fourCC = ReadU32(header + 84);
    if (flags & kPixelFourCC) {
        switch (fourCC) {
        case FourCC('D', 'X', 'T', '1'):
            layout->kind = PixelLayout::Kind::Dxt1;
            layout->blockBytes = 8;
            return true;
        case FourCC('D', 'X', 'T', '2'):
        case FourCC('D', 'X', 'T', '3'):
            layout->kind = PixelLayout::Kind::Dxt3;
            layout->blockBytes = 16;
            return true;
        case FourCC('D', 'X', 'T', '4'):
        case FourCC('D', 'X', 'T', '5'):
            layout->kind = PixelLayout::Kind::Dxt5;
            layout->blockBytes = 16;
            return true;
        case FourCC('D', 'X', '1', '0'): return Fail(error, "DDS: DX10 extended headers are not supported");
        default: return Fail(error, "DDS: unsupported compressed or numeric pixel format");
        }
    }
    if (!(flags & (kPixelRgb | kPixelLuminance | kPixelAlpha))) return Fail(error, "DDS: unsupported pixel format");
    uint32_t bitCount = ReadU32(header + 88);
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return Fail(error, "DDS: unsupported bits per pixel");
    layout->kind = PixelLayout::Kind::Masked;
    layout->bytesPerPixel = bitCount / 8;
    layout->luminance = (flags & kPixelLuminance) && !(flags & kPixelRgb);
    layout->alphaOnly = (flags & kPixelAlpha) && !(flags & (kPixelRgb | kPixelLuminance));
    layout->hasAlpha = layout->alphaOnly || (flags & kPixelAlphaPixels);
    uint32_t masks[4] = {ReadU32(header + 92), ReadU32(header + 96), ReadU32(header + 100), ReadU32(header + 104)};
    uint64_t limit = bitCount == 32 ? 0xFFFFFFFFull : (1ull << bitCount) - 1;
    for (uint32_t m : masks)
        if (m > limit) return Fail(error, "DDS: channel mask wider than the pixel");
    if (!layout->r.Set(masks[0]) || !layout->g.Set(masks[1]) || !layout->b.Set(masks[2]) ||
        !layout->a.Set(layout->hasAlpha ? masks[3] : 0))
        return Fail(error, "DDS: channel mask is not contiguous");
    if (layout->alphaOnly ? masks[3] == 0 : masks[0] == 0) return Fail(error, "DDS: pixel format has no channel masks");
    return true;
}

uint64_t LevelBytes(const PixelLayout& layout, uint32_t width, uint32_t height) {
    if (layout.kind == PixelLayout::Kind::Masked) return uint64_t{width} * height * layout.bytesPerPixel;
    uint64_t blocksWide = (width + 3) / 4, blocksHigh = (height + 3) / 4;
    return blocksWide * blocksHigh * layout.blockBytes;
}

void DecodeMaskedLevel(const PixelLayout& layout, const uint8_t* src, ImageLevel* level) {
    uint32_t bpp = layout.bytesPerPixel;
    size_t count = size_t{level->width} * level->height;
    // 32-bit pixels in D3DCOLOR's own order (A8R8G8B8, X8R8G8B8) are the words
    // the level holds.
    const bool colourWords = bpp == 4 && !layout.luminance && !layout.alphaOnly && layout.r.mask == 0xFF0000u &&
                             layout.g.mask == 0xFF00u && layout.b.mask == 0xFFu;
    if (colourWords && (!layout.hasAlpha || layout.a.mask == 0xFF000000u)) {
        const uint32_t opaque = layout.hasAlpha ? 0 : 0xFF000000u;
        for (size_t i = 0; i < count; ++i) level->pixels[i] = ReadU32(src + i * 4) | opaque;
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = src + i * bpp;
        uint32_t pixel = 0;
        for (uint32_t k = 0; k < bpp; ++k) pixel |= static_cast<uint32_t>(p[k]) << (8 * k);
        uint32_t alpha = layout.hasAlpha ? layout.a.Read(pixel) : 255;
        uint32_t r = 0, g = 0, b = 0;
        if (layout.luminance) {
            r = g = b = layout.r.Read(pixel);
        } else if (!layout.alphaOnly) {
            r = layout.r.Read(pixel);
            g = layout.g.Read(pixel);
            b = layout.b.Read(pixel);
        }
        level->pixels[i] = Argb(alpha, r, g, b);
    }
}

void DecodeBlockLevel(const PixelLayout& layout, const uint8_t* src, ImageLevel* level) {
    uint32_t blocksWide = (level->width + 3) / 4, blocksHigh = (level->height + 3) / 4;
    uint32_t texels[16];
    for (uint32_t by = 0; by < blocksHigh; ++by) {
        for (uint32_t bx = 0; bx < blocksWide; ++bx) {
            const uint8_t* block = src + (size_t{by} * blocksWide + bx) * layout.blockBytes;
            switch (layout.kind) {
            case PixelLayout::Kind::Dxt1: DecodeDxtColorBlock(block, false, texels); break;
            case PixelLayout::Kind::Dxt3: DecodeDxt3Block(block, texels); break;
            default: DecodeDxt5Block(block, texels); break;
            }
            for (uint32_t y = 0; y < 4 && by * 4 + y < level->height; ++y)
                for (uint32_t x = 0; x < 4 && bx * 4 + x < level->width; ++x)
                    level->pixels[size_t{by * 4 + y} * level->width + bx * 4 + x] = texels[y * 4 + x];
        }
    }
}

}  // namespace

void DecodeDxtColorBlock(const uint8_t* block, bool fourColour, uint32_t texels[16]) {
    uint32_t c0 = block[0] | block[1] << 8, c1 = block[2] | block[3] << 8;
    uint32_t r[4], g[4], b[4], a[4] = {255, 255, 255, 255};
    Expand565(c0, &r[0], &g[0], &b[0]);
    Expand565(c1, &r[1], &g[1], &b[1]);
    if (fourColour || c0 > c1) {
        r[2] = (2 * r[0] + r[1] + 1) / 3, g[2] = (2 * g[0] + g[1] + 1) / 3, b[2] = (2 * b[0] + b[1] + 1) / 3;
        r[3] = (r[0] + 2 * r[1] + 1) / 3, g[3] = (g[0] + 2 * g[1] + 1) / 3, b[3] = (b[0] + 2 * b[1] + 1) / 3;
    } else {
        r[2] = (r[0] + r[1] + 1) / 2, g[2] = (g[0] + g[1] + 1) / 2, b[2] = (b[0] + b[1] + 1) / 2;
        r[3] = g[3] = b[3] = a[3] = 0;
    }
    uint32_t indices = ReadU32(block + 4);
    for (int i = 0; i < 16; ++i) {
        uint32_t k = (indices >> (2 * i)) & 3;
        texels[i] = Argb(a[k], r[k], g[k], b[k]);
    }
}

void DecodeDxt3Block(const uint8_t* block, uint32_t texels[16]) {
    DecodeDxtColorBlock(block + 8, true, texels);
    for (int i = 0; i < 16; ++i) {
        uint32_t a4 = (block[i / 2] >> (4 * (i & 1))) & 15;
        texels[i] = (texels[i] & 0x00FFFFFF) | (a4 * 17) << 24;
    }
}

void DecodeDxt5Block(const uint8_t* block, uint32_t texels[16]) {
    DecodeDxtColorBlock(block + 8, true, texels);
    uint32_t a[8];
    a[0] = block[0];
    a[1] = block[1];
    if (a[0] > a[1]) {
        for (uint32_t i = 1; i < 7; ++i) a[i + 1] = ((7 - i) * a[0] + i * a[1] + 3) / 7;
    } else {
        for (uint32_t i = 1; i < 5; ++i) a[i + 1] = ((5 - i) * a[0] + i * a[1] + 2) / 5;
        a[6] = 0;
        a[7] = 255;
    }
    uint64_t bits = 0;
    for (int k = 0; k < 6; ++k) bits |= static_cast<uint64_t>(block[2 + k]) << (8 * k);
    for (int i = 0; i < 16; ++i) {
        uint32_t k = (bits >> (3 * i)) & 7;
        texels[i] = (texels[i] & 0x00FFFFFF) | a[k] << 24;
    }
}

bool IsDds(const uint8_t* data, size_t size) { return size >= 4 && std::memcmp(data, "DDS ", 4) == 0; }

uint32_t FullMipCount(uint32_t width, uint32_t height) {
    uint32_t edge = width > height ? width : height;
    return edge == 0 ? 0 : static_cast<uint32_t>(std::bit_width(edge));
}

bool DecodeDds(const uint8_t* data, size_t size, DecodedImage* image, std::string* error, bool keepBlocks) {
    if (!IsDds(data, size)) return Fail(error, "DDS: missing magic");
    if (size < kHeaderBytes) return Fail(error, "DDS: truncated header");
    const uint8_t* header = data + 4;  // offsets below are from the file start
    if (ReadU32(header) != 124 || ReadU32(data + 76) != 32) return Fail(error, "DDS: bad header size");
    uint32_t flags = ReadU32(data + 8);
    uint32_t height = ReadU32(data + 12);
    uint32_t width = ReadU32(data + 16);
    uint32_t depth = ReadU32(data + 24);
    uint32_t mipCount = ReadU32(data + 28);
    uint32_t caps2 = ReadU32(data + 112);
    if (width == 0 || height == 0 || width > kMaxImageEdge || height > kMaxImageEdge)
        return Fail(error, "DDS: picture size out of range");
    if ((caps2 & kCaps2Volume) || ((flags & kFlagDepth) && depth > 1))
        return Fail(error, "DDS: volume textures are not supported");
    bool cube = (caps2 & kCaps2Cubemap) != 0;
    if (cube && (caps2 & kCaps2AllFaces) != kCaps2AllFaces) return Fail(error, "DDS: cube map lacks faces");
    if (cube && width != height) return Fail(error, "DDS: cube map faces are not square");

    PixelLayout layout;
    if (!ReadPixelLayout(data, &layout, error)) return false;

    // Writers disagree about the mip-count flag; a non-zero count is taken as given.
    uint32_t levelCount = mipCount == 0 ? 1 : mipCount;
    if (levelCount > FullMipCount(width, height)) return Fail(error, "DDS: more mip levels than the size allows");

    uint32_t faces = cube ? 6 : 1;
    uint64_t needed = 0;
    for (uint32_t level = 0; level < levelCount; ++level)
        needed += LevelBytes(layout, std::max(1u, width >> level), std::max(1u, height >> level));
    needed *= faces;
    if (needed > size - kHeaderBytes) return Fail(error, "DDS: pixel data is truncated");

    bool blocks = keepBlocks && layout.kind != PixelLayout::Kind::Masked;
    image->cube = cube;
    image->blockFourCC = 0;
    if (blocks) {
        image->blockFourCC = layout.kind == PixelLayout::Kind::Dxt1   ? FourCC('D', 'X', 'T', '1')
                             : layout.kind == PixelLayout::Kind::Dxt3 ? FourCC('D', 'X', 'T', '3')
                                                                      : FourCC('D', 'X', 'T', '5');
    }
    image->levelCount = levelCount;
    image->levels.clear();
    image->levels.resize(size_t{faces} * levelCount);
    const uint8_t* src = data + kHeaderBytes;
    for (uint32_t face = 0; face < faces; ++face) {
        for (uint32_t level = 0; level < levelCount; ++level) {
            ImageLevel& out = image->levels[face * levelCount + level];
            out.width = std::max(1u, width >> level);
            out.height = std::max(1u, height >> level);
            size_t bytes = static_cast<size_t>(LevelBytes(layout, out.width, out.height));
            if (blocks) {
                out.blocks.assign(src, src + bytes);
                src += bytes;
                continue;
            }
            out.pixels.assign(size_t{out.width} * out.height, 0);
            if (layout.kind == PixelLayout::Kind::Masked) {
                DecodeMaskedLevel(layout, src, &out);
            } else {
                DecodeBlockLevel(layout, src, &out);
            }
            src += bytes;
        }
    }
    return true;
}

}  // namespace d3dx
