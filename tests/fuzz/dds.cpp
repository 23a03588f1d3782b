// Fuzz target: the DDS and picture decoders, on the CPU only. Pictures with a
// side past kMaxSide are passed over before decoding: the decoders' paths are
// the same for small pictures, which decode many times faster.
#include <stb_image_write.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3dx9/image.h"
#include "tests/platform/d3dx9/dds_builder.h"

namespace {

constexpr uint32_t kMaxSide = 128;

uint32_t Little32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint32_t Big16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t Big32(const uint8_t* p) { return Big16(p) << 16 | Big16(p + 2); }

// Whether the picture's sides, as its header gives them, are within
// kMaxSide: DDS, PNG and JPEG headers are read here (stb is not asked: it
// must not see a JPEG the loader would refuse first); other formats pass.
bool SmallPicture(const uint8_t* data, size_t size) {
    if (size >= 20 && std::memcmp(data, "DDS ", 4) == 0)
        return Little32(data + 12) <= kMaxSide && Little32(data + 16) <= kMaxSide;  // height, width
    if (size >= 24 && std::memcmp(data, "\x89PNG", 4) == 0)
        return Big32(data + 16) <= kMaxSide && Big32(data + 20) <= kMaxSide;
    if (size >= 4 && data[0] == 0xFF && data[1] == 0xD8) {
        // The segments up to the frame header (SOF0-SOF15 but DHT, JPG, DAC).
        for (size_t at = 2; at + 9 <= size && data[at] == 0xFF;) {
            const uint8_t marker = data[at + 1];
            if (marker == 0xFF) {
                ++at;
                continue;
            }
            if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
                return Big16(data + at + 5) <= kMaxSide && Big16(data + at + 7) <= kMaxSide;
            at += 2 + Big16(data + at + 2);
        }
    }
    return true;
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
