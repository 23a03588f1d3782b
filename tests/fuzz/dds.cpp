// Fuzz target: the DDS and picture decoders, on the CPU only.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx9/image.h"
#include "tests/platform/d3dx9/dds_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
    // A tiny BMP (2x1, 24-bit) for the stb path.
    seeds.push_back({'B',  'M',  62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0,   0, 40, 0, 0,   0,    2,    0, 0,
                     0,    1,    0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0,   8, 0,  0, 0,   0x13, 0x0B, 0, 0,
                     0x13, 0x0B, 0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 255, 0, 0,  0, 255, 0,    0,    0});
}
