#include "platform/d3d9/formats.h"

#include <epoxy/gl.h>

namespace d3d9 {
namespace {

const FormatInfo kFormats[] = {
    {D3DFMT_A8R8G8B8, 4, false, false, GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_X8R8G8B8, 4, false, false, GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}},
    {D3DFMT_A8B8G8R8, 4, false, false, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_X8B8G8R8, 4, false, false, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}},
    {D3DFMT_R8G8B8, 3, false, false, GL_RGB8, GL_BGR, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}},
    {D3DFMT_R5G6B5, 2, false, false, GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}},
    {D3DFMT_X1R5G5B5,
     2,
     false,
     false,
     GL_RGB5_A1,
     GL_BGRA,
     GL_UNSIGNED_SHORT_1_5_5_5_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}},
    {D3DFMT_A1R5G5B5,
     2,
     false,
     false,
     GL_RGB5_A1,
     GL_BGRA,
     GL_UNSIGNED_SHORT_1_5_5_5_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_A4R4G4B4,
     2,
     false,
     false,
     GL_RGBA4,
     GL_BGRA,
     GL_UNSIGNED_SHORT_4_4_4_4_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_A8, 1, false, false, GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED}},
    {D3DFMT_L8, 1, false, false, GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_ONE}},
    {D3DFMT_A8L8, 2, false, false, GL_RG8, GL_RG, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_GREEN}},
    {D3DFMT_R32F, 4, false, false, GL_R32F, GL_RED, GL_FLOAT, {GL_RED, GL_ONE, GL_ONE, GL_ONE}},
    {D3DFMT_A16B16G16R16F, 8, false, false, GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_A32B32G32R32F, 16, false, false, GL_RGBA32F, GL_RGBA, GL_FLOAT, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_DXT1, 8, true, false, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 0, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_DXT2, 16, true, false, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_DXT3, 16, true, false, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_DXT4, 16, true, false, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_DXT5, 16, true, false, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
    {D3DFMT_D24S8, 4, false, true, GL_DEPTH24_STENCIL8, 0, 0, {0, 0, 0, 0}},
    {D3DFMT_D24X8, 4, false, true, GL_DEPTH_COMPONENT24, 0, 0, {0, 0, 0, 0}},
    {D3DFMT_D16, 2, false, true, GL_DEPTH_COMPONENT16, 0, 0, {0, 0, 0, 0}},
    {D3DFMT_D32, 4, false, true, GL_DEPTH_COMPONENT32, 0, 0, {0, 0, 0, 0}},
};

}  // namespace

const FormatInfo* FindFormat(D3DFORMAT format) {
    for (const FormatInfo& info : kFormats)
        if (info.format == format) return &info;
    return nullptr;
}

bool StoredAsRgba8OnEs(const FormatInfo& info) {
    if (info.compressed || info.depth || info.glType == GL_FLOAT || info.glType == GL_HALF_FLOAT) return false;
    const int32_t identity[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
    bool swizzled = false;
    for (int i = 0; i < 4; ++i) swizzled = swizzled || info.swizzle[i] != identity[i];
    return swizzled || info.glFormat == GL_BGRA || info.glFormat == GL_BGR;
}

namespace {

// A 16-bit channel of `bits` bits at `shift`, scaled to 0..255.
uint8_t Channel(uint16_t word, int shift, int bits) {
    uint32_t max = (1u << bits) - 1, value = (word >> shift) & max;
    return uint8_t((value * 255 + max / 2) / max);
}

uint16_t Pack(uint8_t byte, int shift, int bits) {
    uint32_t max = (1u << bits) - 1;
    return uint16_t(((byte * max + 127) / 255) << shift);
}

}  // namespace

void ToRgba8(const FormatInfo& info, const uint8_t* in, size_t count, uint8_t* out) {
    for (size_t i = 0; i < count; ++i, out += 4) {
        uint8_t r = 0, g = 0, b = 0, a = 255;
        switch (info.format) {
        case D3DFMT_A8R8G8B8: b = in[0], g = in[1], r = in[2], a = in[3]; break;
        case D3DFMT_X8R8G8B8: b = in[0], g = in[1], r = in[2]; break;
        case D3DFMT_X8B8G8R8: r = in[0], g = in[1], b = in[2]; break;
        case D3DFMT_R8G8B8: b = in[0], g = in[1], r = in[2]; break;
        case D3DFMT_A8: a = in[0]; break;
        case D3DFMT_L8: r = g = b = in[0]; break;
        case D3DFMT_A8L8: r = g = b = in[0], a = in[1]; break;
        default: {  // 16-bit packed, alpha in the top bits
            uint16_t word = uint16_t(in[0] | in[1] << 8);
            if (info.format == D3DFMT_A4R4G4B4) {
                r = Channel(word, 8, 4), g = Channel(word, 4, 4), b = Channel(word, 0, 4), a = Channel(word, 12, 4);
            } else {
                r = Channel(word, 10, 5), g = Channel(word, 5, 5), b = Channel(word, 0, 5);
                if (info.format == D3DFMT_A1R5G5B5) a = Channel(word, 15, 1);
            }
        }
        }
        in += info.bytes;
        out[0] = r, out[1] = g, out[2] = b, out[3] = a;
    }
}

void FromRgba8(const FormatInfo& info, const uint8_t* in, size_t count, uint8_t* out) {
    for (size_t i = 0; i < count; ++i, in += 4, out += info.bytes) {
        const uint8_t r = in[0], g = in[1], b = in[2], a = in[3];
        switch (info.format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8: out[0] = b, out[1] = g, out[2] = r, out[3] = a; break;
        case D3DFMT_X8B8G8R8: out[0] = r, out[1] = g, out[2] = b, out[3] = a; break;
        case D3DFMT_R8G8B8: out[0] = b, out[1] = g, out[2] = r; break;
        case D3DFMT_A8: out[0] = a; break;
        case D3DFMT_L8: out[0] = r; break;
        case D3DFMT_A8L8: out[0] = r, out[1] = a; break;
        default: {
            uint16_t word = info.format == D3DFMT_A4R4G4B4
                                ? uint16_t(Pack(r, 8, 4) | Pack(g, 4, 4) | Pack(b, 0, 4) | Pack(a, 12, 4))
                                : uint16_t(Pack(r, 10, 5) | Pack(g, 5, 5) | Pack(b, 0, 5) |
                                           (info.format == D3DFMT_A1R5G5B5 ? Pack(a, 15, 1) : 0));
            out[0] = uint8_t(word & 0xFF), out[1] = uint8_t(word >> 8);
        }
        }
    }
}

uint32_t RowPitch(const FormatInfo& info, uint32_t width) {
    return info.compressed ? ((width + 3) / 4) * info.bytes : width * info.bytes;
}

uint32_t RowCount(const FormatInfo& info, uint32_t height) { return info.compressed ? (height + 3) / 4 : height; }

}  // namespace d3d9
