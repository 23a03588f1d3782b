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

uint32_t RowPitch(const FormatInfo& info, uint32_t width) {
    return info.compressed ? ((width + 3) / 4) * info.bytes : width * info.bytes;
}

uint32_t RowCount(const FormatInfo& info, uint32_t height) { return info.compressed ? (height + 3) / 4 : height; }

}  // namespace d3d9
