// Pixel formats the stand-in knows: sizes for locks and the OpenGL formats
// textures are kept in. Pictures are stored top row first in memory and on
// the GPU alike, so nothing is ever flipped on upload or read-back.
#pragma once

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
