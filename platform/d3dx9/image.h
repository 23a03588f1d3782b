// Picture decoding behind D3DX's texture loaders, free of any device.
//
// Every decoder produces a DecodedImage: one or six faces (a cube map keeps
// Direct3D's face order +X, -X, +Y, -Y, +Z, -Z), each with the same number of
// mip levels, every level a plain array of D3DCOLOR words (A8R8G8B8, the
// layout of a locked D3DFMT_A8R8G8B8 surface), top row first, no padding.
//
// DDS files keep the levels they hold. Supported: DXT1 to DXT5 (DXT2 and DXT4
// decode like DXT3 and DXT5), and uncompressed RGB, luminance and alpha-only
// pixels of 8, 16, 24 or 32 bits described by channel masks; 2D and complete
// cube maps. Volume textures, DX10 headers (BC4 to BC7, typed formats) and
// floating-point formats are refused. Every size is checked against the bytes
// present before anything is read or allocated.
//
// Other pictures (JPEG, PNG, TGA, BMP) are decoded with stb_image and given a
// full mip chain down to 1x1 with a box filter.
//
// A caller whose device samples DXT blocks itself may ask to keep them: DXT
// levels then carry their blocks (rows of 4x4 blocks, top first) instead of
// pixels, and the image names the block format (DXT2 and DXT4 given as DXT3
// and DXT5).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace d3dx {

// Largest edge accepted from any file. DDS sizes are further bounded by the
// bytes the file holds; compressed pictures (PNG, JPEG, TGA) can claim sizes
// their data does not back, so they are also held to kMaxPictureTexels.
constexpr uint32_t kMaxImageEdge = 16384;
constexpr uint64_t kMaxPictureTexels = 4096 * 4096;

struct ImageLevel {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;  // width * height D3DCOLOR words, top row first
    std::vector<uint8_t> blocks;   // instead of pixels, when blocks are kept
};

struct DecodedImage {
    bool cube = false;
    uint32_t blockFourCC = 0;  // "DXT1", "DXT3" or "DXT5" as a fourCC when blocks were kept
    uint32_t levelCount = 0;
    std::vector<ImageLevel> levels;  // face-major: levels[face * levelCount + level]

    uint32_t FaceCount() const { return cube ? 6u : 1u; }
    const ImageLevel& Level(uint32_t face, uint32_t level) const { return levels[face * levelCount + level]; }
};

// Parses a DDS file. On failure returns false and says why in `error`.
bool DecodeDds(const uint8_t* data, size_t size, DecodedImage* image, std::string* error, bool keepBlocks = false);

// DDS, or anything stb_image reads (then with a generated mip chain).
bool DecodeImageFile(const uint8_t* data, size_t size, DecodedImage* image, std::string* error,
                     bool keepBlocks = false);

// True when the bytes start with the DDS magic "DDS ".
bool IsDds(const uint8_t* data, size_t size);

// Appends box-filtered levels to a one-level, one-face image, down to 1x1.
void GenerateMipChain(DecodedImage* image);

// Number of levels of a full chain for a picture of that size.
uint32_t FullMipCount(uint32_t width, uint32_t height);

// Block decoders: 16 D3DCOLOR texels of a 4x4 block, row by row.
// DXT1 colour block (8 bytes). With fourColour the block never takes the
// three-colour-plus-transparent form (DXT2 to DXT5 colour halves).
void DecodeDxtColorBlock(const uint8_t* block, bool fourColour, uint32_t texels[16]);
// DXT2/3 block (16 bytes): explicit 4-bit alpha, then the colour block.
void DecodeDxt3Block(const uint8_t* block, uint32_t texels[16]);
// DXT4/5 block (16 bytes): interpolated alpha, then the colour block.
void DecodeDxt5Block(const uint8_t* block, uint32_t texels[16]);

}  // namespace d3dx
