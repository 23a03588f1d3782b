// Pixel formats the stand-in knows: sizes for locks and the OpenGL formats
// textures are kept in. Pictures are stored top row first in memory and on
// the GPU alike, so nothing is ever flipped on upload or read-back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/d3d9/d3d9.h"

namespace d3d9 {

struct FormatInfo {
    D3DFORMAT format;
    uint32_t bytes;  // per pixel, or per 4x4 block when compressed
    bool compressed;
    bool depth;
    uint32_t glInternal;  // OpenGL internal format
    uint32_t glFormat;    // client format (0 for compressed)
    uint32_t glType;      // client type (0 for compressed)
    int32_t swizzle[4];   // GL_TEXTURE_SWIZZLE_RGBA
};

// OpenGL ES 3.0 and WebGL 2 have neither BGRA client formats nor texture
// swizzles. There a format whose texels need either (D3DCOLOR byte order,
// luminance, alpha-only, 16-bit packed, an alpha forced to one) is kept as an
// RGBA8 texture: its texels are turned into R, G, B, A bytes on upload and
// back on read-back. Compressed, depth and float formats travel as they are.
bool StoredAsRgba8OnEs(const FormatInfo& info);
// `count` texels of `info` (which StoredAsRgba8OnEs) to R, G, B, A bytes, and back.
void ToRgba8(const FormatInfo& info, const uint8_t* texels, size_t count, uint8_t* rgba);
void FromRgba8(const FormatInfo& info, const uint8_t* rgba, size_t count, uint8_t* texels);

// Null for a format the stand-in does not support.
const FormatInfo* FindFormat(D3DFORMAT format);

// Bytes of one row of pixels (or of 4x4 blocks) of a level `width` wide.
uint32_t RowPitch(const FormatInfo& info, uint32_t width);
// Rows of pixels (or of blocks) of a level `height` high.
uint32_t RowCount(const FormatInfo& info, uint32_t height);
inline uint32_t LevelSize(uint32_t size, uint32_t level) {
    uint32_t s = size >> level;
    return s ? s : 1;
}

}  // namespace d3d9
