// Fuzz target: the DDS and picture decoders, on the CPU only. Pictures with a
// side past kMaxSide are passed over before decoding: the decoders' paths are
// the same for small pictures, which decode a thousand times faster.
#include <stb_image.h>
#include <stb_image_write.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3dx9/image.h"
#include "tests/platform/d3dx9/dds_builder.h"

namespace {

constexpr uint32_t kMaxSide = 256;

// The sides a DDS header or stb's look at the header gives; true when unknown
// (the decoder then refuses the input itself).
bool SmallPicture(const uint8_t* data, size_t size) {
    if (size >= 20 && std::memcmp(data, "DDS ", 4) == 0) {
        auto word = [&](size_t at) {
            return uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
                   uint32_t(data[at + 3]) << 24;
        };
        return word(12) <= kMaxSide && word(16) <= kMaxSide;  // height, width
    }
    int width = 0, height = 0, channels = 0;
    if (size > size_t{INT32_MAX} || !stbi_info_from_memory(data, int(size), &width, &height, &channels)) return true;
    return uint32_t(width) <= kMaxSide && uint32_t(height) <= kMaxSide;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!SmallPicture(data, size)) return 0;
    for (bool keepBlocks : {false, true}) {
        d3dx::DecodedImage image;
        std::string error;
        if (!d3dx::DecodeImageFile(data, size, &image, &error, keepBlocks)) continue;
        if (image.levels.size() != size_t{image.FaceCount()} * image.levelCount) __builtin_trap();
        for (const auto& level : image.levels) {
            size_t blocks = size_t{(level.width + 3) / 4} * ((level.height + 3) / 4);
            bool consistent = image.blockFourCC ? level.pixels.empty() && level.blocks.size() % blocks == 0
                                                : level.pixels.size() == size_t{level.width} * level.height;
            if (!consistent) __builtin_trap();
        }
    }
    return 0;
}

extern "C" void FuzzSeeds(std::vector<std::vector<uint8_t>>& seeds) {
    seeds.push_back(ddsfile::Build(ddsfile::Argb32(4, 2, 3), ddsfile::NumberedPixels(11, 0)));
    auto cube = ddsfile::Argb32(2, 2, 2);
    cube.caps2 = 0xFE00;
    seeds.push_back(ddsfile::Build(cube, ddsfile::NumberedPixels(30, 7)));
    for (const char* fourCC : {"DXT1", "DXT3", "DXT5"}) {
        ddsfile::Header header;
        header.width = 8;
        header.height = 5;
        header.mipCount = 2;
        header.fourCC = uint32_t(uint8_t(fourCC[0])) | uint32_t(uint8_t(fourCC[1])) << 8 |
                        uint32_t(uint8_t(fourCC[2])) << 16 | uint32_t(uint8_t(fourCC[3])) << 24;
        size_t blockBytes = fourCC[3] == '1' ? 8 : 16;
        std::vector<uint8_t> payload((2 * 2 + 1) * blockBytes);
        for (size_t i = 0; i < payload.size(); ++i) payload[i] = uint8_t(i * 37 + 11);
        seeds.push_back(ddsfile::Build(header, payload));
    }
    ddsfile::Header h565;
    h565.width = 3;
    h565.height = 2;
    h565.pixelFlags = 0x40;
    h565.bitCount = 16;
    h565.masks[0] = 0xF800;
    h565.masks[1] = 0x07E0;
    h565.masks[2] = 0x001F;
    seeds.push_back(ddsfile::Build(h565, std::vector<uint8_t>(12, 0x5A)));
    // Small pictures in each format that stb reads for the loader.
    std::vector<uint8_t> rgba(16 * 8 * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = uint8_t(i * 29 + (i >> 5) * 7);
    auto add = [](void* context, void* bytes, int size) {
        auto* out = static_cast<std::vector<std::vector<uint8_t>>*>(context);
        out->back().insert(out->back().end(), static_cast<uint8_t*>(bytes), static_cast<uint8_t*>(bytes) + size);
    };
    seeds.emplace_back();
    stbi_write_png_to_func(add, &seeds, 16, 8, 4, rgba.data(), 16 * 4);
    seeds.emplace_back();
    stbi_write_jpg_to_func(add, &seeds, 16, 8, 3, rgba.data(), 90);
    seeds.emplace_back();
    stbi_write_tga_to_func(add, &seeds, 16, 8, 4, rgba.data());
    // A tiny BMP (2x1, 24-bit) for the stb path.
    seeds.push_back({'B',  'M',  62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0,   0, 40, 0, 0,   0,    2,    0, 0,
                     0,    1,    0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0,   8, 0,  0, 0,   0x13, 0x0B, 0, 0,
                     0x13, 0x0B, 0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 255, 0, 0,  0, 255, 0,    0,    0});
}
