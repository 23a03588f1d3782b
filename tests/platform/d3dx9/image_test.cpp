// Picture decoding without a device: DDS layouts, block decoders, stb pictures, mip chains.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <fstream>
#include <iterator>
#include <map>

#include "platform/d3dx9/image.h"
#include "tests/platform/d3dx9/corpus.h"
#include "tests/platform/d3dx9/dds_builder.h"
#include "tests/support/pictures.h"

using d3dx::DecodedImage;

namespace {

bool Decode(const std::vector<uint8_t>& file, DecodedImage* image, std::string* error = nullptr) {
    std::string ignored;
    return d3dx::DecodeImageFile(file.data(), file.size(), image, error ? error : &ignored);
}

std::vector<uint8_t> Block(std::initializer_list<uint8_t> bytes) { return std::vector<uint8_t>(bytes); }

}  // namespace

// ---- block decoders ---------------------------------------------------------

TEST(DxtBlock, ColourPaletteByEndpointOrderAndBlockKind) {
    // Texel i takes palette entry i % 4. Red > blue: four colours, thirds
    // between them. Blue < red: the midpoint and transparent black, except in
    // the colour half of a DXT3/5 block, which always has four colours.
    struct Case {
        const char* what;
        std::vector<uint8_t> block;
        bool alphaBlock;
        uint32_t palette[4];
    };
    const Case cases[] = {
        {"four colours",
         {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0xE4, 0xE4, 0xE4},
         false,
         {0xFFFF0000u, 0xFF0000FFu, 0xFFAA0055u, 0xFF5500AAu}},
        {"three colours",
         {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0xE4, 0xE4, 0xE4},
         false,
         {0xFF0000FFu, 0xFFFF0000u, 0xFF800080u, 0x00000000u}},
        {"colour half",
         {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0xE4, 0xE4, 0xE4},
         true,
         {0xFF0000FFu, 0xFFFF0000u, 0xFF5500AAu, 0xFFAA0055u}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        uint32_t texels[16];
        d3dx::DecodeDxtColorBlock(c.block.data(), c.alphaBlock, texels);
        for (uint32_t i = 0; i < 16; ++i) EXPECT_EQ(texels[i], c.palette[i % 4]) << i;
    }
}

TEST(DxtBlock, Dxt3TakesExplicitFourBitAlphaPerTexel) {
    // Alpha nibbles 0, 1, ..., 15 (low nibble first); colour all white.
    auto block = Block({0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    uint32_t texels[16];
    d3dx::DecodeDxt3Block(block.data(), texels);
    for (uint32_t i = 0; i < 16; ++i) EXPECT_EQ(texels[i], (i * 17) << 24 | 0x00FFFFFF) << i;
}

TEST(DxtBlock, Dxt5AlphaHasEightLevelsOrSixWithZeroAndFull) {
    // Texel i takes alpha index i % 8: bits 0b111'110'101'100'011'010'001'000 = 0xFAC688 per 8 texels.
    // a0 = 255 > a1 = 0 interpolates sevenths; a0 = 0 < a1 = 255 fifths, then 0 and 255.
    const uint32_t levels[2][8] = {{255, 0, 219, 182, 146, 109, 73, 36}, {0, 255, 51, 102, 153, 204, 0, 255}};
    for (int order = 0; order < 2; ++order) {
        uint8_t a0 = order ? 0 : 255;
        auto block =
            Block({a0, uint8_t(255 - a0), 0x88, 0xC6, 0xFA, 0x88, 0xC6, 0xFA, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
        uint32_t texels[16];
        d3dx::DecodeDxt5Block(block.data(), texels);
        for (uint32_t i = 0; i < 16; ++i) EXPECT_EQ(texels[i] >> 24, levels[order][i % 8]) << order << ", " << i;
        EXPECT_EQ(texels[0] & 0x00FFFFFF, 0x00FFFFFFu);
    }
}

// ---- DDS layouts ------------------------------------------------------------

TEST(DdsDecode, KeepsEveryMipLevelInFileOrderAndZeroMipsMeansOne) {
    // 4x2 with 3 levels: 8 + 2 + 1 pixels numbered consecutively.
    auto file = ddsfile::Build(ddsfile::Argb32(4, 2, 3), ddsfile::NumberedPixels(11, 0));
    DecodedImage image;
    ASSERT_TRUE(Decode(file, &image));
    ASSERT_EQ(image.levelCount, 3u);
    EXPECT_EQ(image.Level(0, 0).pixels[5], 0xFF000005u);
    EXPECT_EQ(image.Level(0, 1).width, 2u);
    EXPECT_EQ(image.Level(0, 1).pixels[1], 0xFF000009u);
    EXPECT_EQ(image.Level(0, 2).pixels[0], 0xFF00000Au);
    // A mip count of zero, and bytes after the last level, are ignored.
    auto payload = ddsfile::NumberedPixels(4, 0);
    payload.resize(payload.size() + 100, 0xAB);
    ASSERT_TRUE(Decode(ddsfile::Build(ddsfile::Argb32(2, 2, 0), payload), &image));
    EXPECT_EQ(image.levelCount, 1u);
}

TEST(DdsDecode, CubeMapKeepsSixFacesInOrder) {
    auto header = ddsfile::Argb32(2, 2, 2);
    header.caps2 = 0xFE00;
    auto file = ddsfile::Build(header, ddsfile::NumberedPixels(6 * 5, 0x100));
    DecodedImage image;
    ASSERT_TRUE(Decode(file, &image));
    ASSERT_EQ(image.FaceCount(), 6u);
    ASSERT_EQ(image.levelCount, 2u);
    for (uint32_t face = 0; face < 6; ++face) {
        EXPECT_EQ(image.Level(face, 0).pixels[0], 0xFF000100u + face * 5) << face;
        EXPECT_EQ(image.Level(face, 1).pixels[0], 0xFF000104u + face * 5) << face;
    }
}

TEST(DdsDecode, ReadsDxt1LevelsWithPartialEdgeBlocks) {
    // 6x5 DXT1: 2x2 blocks for level 0, one block each for 3x2 and 1x1.
    ddsfile::Header header;
    header.width = 6;
    header.height = 5;
    header.mipCount = 3;
    header.fourCC = ddsfile::FourCC("DXT1");
    std::vector<uint8_t> payload;
    const uint8_t red[8] = {0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0};
    const uint8_t blue[8] = {0x1F, 0x00, 0x1F, 0x00, 0, 0, 0, 0};
    for (int i = 0; i < 6; ++i)
        for (uint8_t byte : i == 1 ? blue : red) payload.push_back(byte);
    DecodedImage image;
    ASSERT_TRUE(Decode(ddsfile::Build(header, payload), &image));
    const auto& top = image.Level(0, 0);
    ASSERT_EQ(top.pixels.size(), 30u);
    EXPECT_EQ(top.pixels[0], 0xFFFF0000u);
    EXPECT_EQ(top.pixels[4], 0xFF0000FFu);   // x = 4 lies in the second block
    EXPECT_EQ(top.pixels[29], 0xFFFF0000u);  // bottom right, in block 3
    EXPECT_EQ(image.Level(0, 1).width, 3u);
    EXPECT_EQ(image.Level(0, 2).pixels.size(), 1u);
}

TEST(DdsDecode, MaskedFormatsScaleChannelsToEightBits) {
    // 16-bit R5G6B5: one pixel of each pure channel and white.
    ddsfile::Header h565;
    h565.width = 4;
    h565.height = 1;
    h565.pixelFlags = 0x40;
    h565.bitCount = 16;
    h565.masks[0] = 0xF800;
    h565.masks[1] = 0x07E0;
    h565.masks[2] = 0x001F;
    DecodedImage image;
    ASSERT_TRUE(Decode(ddsfile::Build(h565, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x10, 0x84}), &image));
    EXPECT_EQ(image.Level(0, 0).pixels[0], 0xFFFF0000u);
    EXPECT_EQ(image.Level(0, 0).pixels[1], 0xFF00FF00u);
    EXPECT_EQ(image.Level(0, 0).pixels[2], 0xFF0000FFu);
    EXPECT_EQ(image.Level(0, 0).pixels[3], 0xFF848284u);  // 16/31, 32/63, 16/31

    // 24-bit B, G, R bytes.
    ddsfile::Header h24 = h565;
    h24.width = 1;
    h24.bitCount = 24;
    h24.masks[0] = 0xFF0000;
    h24.masks[1] = 0x00FF00;
    h24.masks[2] = 0x0000FF;
    ASSERT_TRUE(Decode(ddsfile::Build(h24, {0x11, 0x22, 0x33}), &image));
    EXPECT_EQ(image.Level(0, 0).pixels[0], 0xFF332211u);

    // 8-bit luminance and 8-bit alpha.
    ddsfile::Header lum = h24;
    lum.pixelFlags = 0x20000;
    lum.bitCount = 8;
    lum.masks[0] = 0xFF;
    lum.masks[1] = lum.masks[2] = 0;
    ASSERT_TRUE(Decode(ddsfile::Build(lum, {0x40}), &image));
    EXPECT_EQ(image.Level(0, 0).pixels[0], 0xFF404040u);
    ddsfile::Header alpha = lum;
    alpha.pixelFlags = 0x2;
    alpha.masks[0] = 0;
    alpha.masks[3] = 0xFF;
    ASSERT_TRUE(Decode(ddsfile::Build(alpha, {0x40}), &image));
    EXPECT_EQ(image.Level(0, 0).pixels[0], 0x40000000u);

    // 32-bit without the alpha-pixels flag: the alpha mask is ignored.
    auto xrgb = ddsfile::Argb32(1, 1, 1);
    xrgb.pixelFlags = 0x40;
    ASSERT_TRUE(Decode(ddsfile::Build(xrgb, {0x33, 0x22, 0x11, 0x00}), &image));
    EXPECT_EQ(image.Level(0, 0).pixels[0], 0xFF112233u);
}

TEST(DdsDecode, EveryTruncationFailsCleanly) {
    auto header = ddsfile::Argb32(4, 4, 3);
    header.caps2 = 0xFE00;
    auto file = ddsfile::Build(header, ddsfile::NumberedPixels(6 * 21, 0));
    DecodedImage image;
    ASSERT_TRUE(Decode(file, &image));
    for (size_t size = 0; size < file.size(); ++size) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<long>(size));
        std::string error;
        EXPECT_FALSE(Decode(cut, &image, &error)) << size;
        EXPECT_FALSE(error.empty());
    }
}

// One case for each of the parser's refusals.
TEST(DdsDecode, RejectsMalformedHeaders) {
    struct Case {
        const char* what;
        void (*edit)(ddsfile::Header&);
    };
    const Case cases[] = {
        {"header size", [](ddsfile::Header& h) { h.headerSize = 100; }},
        {"huge height", [](ddsfile::Header& h) { h.height = 16385; }},
        {"too many mips", [](ddsfile::Header& h) { h.mipCount = 4; }},
        {"volume", [](ddsfile::Header& h) { h.caps2 = 0x200000; }},
        {"cube missing a face", [](ddsfile::Header& h) { h.caps2 = 0x7E00; }},
        {"non-square cube",
         [](ddsfile::Header& h) {
             h.caps2 = 0xFE00;
             h.height = 2;
         }},
        {"dx10",
         [](ddsfile::Header& h) {
             h.pixelFlags = 0x4;
             h.fourCC = ddsfile::FourCC("DX10");
         }},
        {"bc4",
         [](ddsfile::Header& h) {
             h.pixelFlags = 0x4;
             h.fourCC = ddsfile::FourCC("ATI1");
         }},
        {"no format", [](ddsfile::Header& h) { h.pixelFlags = 0; }},
        {"odd bit count", [](ddsfile::Header& h) { h.bitCount = 12; }},
        {"mask beyond pixel", [](ddsfile::Header& h) { h.bitCount = 16; }},
        {"split mask", [](ddsfile::Header& h) { h.masks[1] = 0x0000F0F0; }},
        {"no masks", [](ddsfile::Header& h) { h.masks[0] = h.masks[1] = h.masks[2] = 0; }},
    };
    for (const auto& c : cases) {
        auto header = ddsfile::Argb32(4, 4, 1);
        c.edit(header);
        auto file = ddsfile::Build(header, ddsfile::NumberedPixels(6 * 16 * 2, 0));
        DecodedImage image;
        std::string error;
        EXPECT_FALSE(Decode(file, &image, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

// ---- other pictures -----------------------------------------------------------

TEST(PictureDecode, PngGetsFullBoxFilteredMipChain) {
    // 4x2 RGBA: left half red/green, right half blue with alpha 0x80.
    const uint8_t rgba[] = {
        255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 128, 0, 0, 255, 128,  //
        255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 128, 0, 0, 255, 128,
    };
    std::vector<uint8_t> png = PngFile(4, 2, rgba);
    DecodedImage image;
    ASSERT_TRUE(Decode(png, &image));
    ASSERT_EQ(image.levelCount, 3u);
    EXPECT_EQ(image.Level(0, 0).pixels[2], 0x800000FFu);
    const auto& half = image.Level(0, 1);
    ASSERT_EQ(half.width, 2u);
    EXPECT_EQ(half.pixels[0], 0xFF808000u);  // red and green averaged (127.5 rounds up)
    EXPECT_EQ(half.pixels[1], 0x800000FFu);
    EXPECT_EQ(image.Level(0, 2).pixels[0], 0xC0404080u);
}

TEST(PictureDecode, OddSizesKeepEveryTexelInTheChain) {
    // 3x1: the single texel of level 1 averages all three.
    const uint8_t rgba[] = {0, 0, 0, 255, 90, 0, 0, 255, 210, 0, 0, 255};
    std::vector<uint8_t> png = PngFile(3, 1, rgba);
    DecodedImage image;
    ASSERT_TRUE(Decode(png, &image));
    ASSERT_EQ(image.levelCount, 2u);
    EXPECT_EQ(image.Level(0, 1).pixels[0], 0xFF640000u);  // (0 + 90 + 210) / 3 = 100
}

TEST(PictureDecode, EmptyGarbageCutAndHugePicturesFailWithReason) {
    const uint8_t rgba[16] = {};
    std::vector<uint8_t> png = PngFile(2, 2, rgba);
    png.resize(png.size() / 2);
    // An uncompressed 8-bit TGA header claiming 8192 x 8192 with two bytes of data.
    const std::vector<uint8_t> tga = {0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x20, 0x00, 0x20, 8, 0, 1, 2};
    for (const auto& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>(300, 0x5A), png, tga}) {
        DecodedImage image;
        std::string error;
        EXPECT_FALSE(Decode(bytes, &image, &error)) << bytes.size();
        EXPECT_FALSE(error.empty()) << bytes.size();
    }
}

TEST(PictureDecode, JpegHuffmanTableOfMoreThan256CodesIsRefused) {
    std::vector<uint8_t> rgba(16 * 16 * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = uint8_t(i * 7);
    std::vector<uint8_t> jpeg;
    stbi_write_jpg_to_func(
        [](void* context, void* data, int size) {
            auto* out = static_cast<std::vector<uint8_t>*>(context);
            out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
        },
        &jpeg, 16, 16, 4, rgba.data(), 90);
    DecodedImage image;
    ASSERT_TRUE(Decode(jpeg, &image));
    // The first DHT segment's first table: 16 counts after its class byte; make them total 16 x 17 = 272.
    size_t dht = 2;
    while (dht + 1 < jpeg.size() && !(jpeg[dht] == 0xFF && jpeg[dht + 1] == 0xC4)) ++dht;
    ASSERT_LT(dht + 21, jpeg.size());
    for (size_t i = 0; i < 16; ++i) jpeg[dht + 5 + i] = 17;
    std::string error;
    EXPECT_FALSE(Decode(jpeg, &image, &error));
    EXPECT_NE(error.find("more than 256 codes"), std::string::npos) << error;
    // The input fuzzing found, kept as a regression seed.
    std::ifstream in(std::string(DEMO_SOURCE_DIR) + "/tests/fuzz/regressions/dds/jpeg-huffman-table-over-256-codes",
                     std::ios::binary);
    const std::vector<uint8_t> found{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(found.empty());
    error.clear();
    EXPECT_FALSE(Decode(found, &image, &error));
    EXPECT_NE(error.find("more than 256 codes"), std::string::npos) << error;
}

// ---- the shared corpus ----------------------------------------------------------

namespace {

struct CorpusExpectation {
    bool loads;
    uint32_t width = 0, height = 0, levels = 0;
    bool cube = false;
};

const std::map<std::string, CorpusExpectation>& DdsCorpus() {
    static const std::map<std::string, CorpusExpectation> table = {
        {"gli_cube_rgba8_unorm.dds", {false}},
        {"gli_kueken7_a8_unorm.dds", {true, 256, 256, 1}},
        {"gli_kueken7_bgrx8_unorm.dds", {false}},
        {"gli_kueken7_rgba_dxt1_unorm.dds", {true, 256, 256, 9}},
        {"gli_kueken7_rgba_dxt5_unorm.dds", {true, 256, 256, 9}},
        {"gli_kueken7_rgba_dxt5_unorm1.dds", {true, 256, 256, 9}},
        {"imagers_32-bit-uncompressed-odd.dds", {true, 5, 9, 1}},
        {"imagers_DX10_B8G8R8A8_UNORM.dds", {false}},
        {"imagers_DX10_BC1_UNORM.dds", {false}},
        {"imagers_DX10_BC7_UNORM.dds", {false}},
        {"imagers_DX9_B8G8R8A8_UNORM.dds", {true, 129, 66, 8}},
        {"imagers_DX9_B8G8R8X8_UNORM.dds", {true, 129, 66, 8}},
        {"imagers_DX9_BC1_UNORM.dds", {true, 129, 66, 8}},
        {"imagers_DX9_BC2_UNORM.dds", {true, 129, 66, 8}},
        {"imagers_DX9_BC3_UNORM.dds", {true, 129, 66, 8}},
        {"imagers_DX9_R16G16B16A16_FLOAT.dds", {false}},
        {"imagers_DX9_R8G8B8A8_UNORM.dds", {true, 129, 66, 8}},
        {"imagers_DXT1_Pretoria_Gardens_DX9_cube.dds", {true, 128, 128, 8, true}},
        {"imagers_both-dx10-and-pixel-format.dds", {false}},
        {"magnum_bgra8unorm-3d.dds", {false}},
        {"magnum_bgrx8unorm.dds", {true, 3, 2, 1}},
        {"magnum_dxt1-3d.dds", {false}},
        {"magnum_dxt1-cube-mips.dds", {true, 5, 5, 3, true}},
        {"magnum_dxt10-bc7-cube-mips.dds", {false}},
        {"magnum_dxt3-incomplete-blocks.dds", {true, 63, 27, 1}},
        {"magnum_dxt4.dds", {false}},
        {"magnum_rgba8unorm-cube-incomplete.dds", {false}},
        {"magnum_rgba8unorm-cube-mips.dds", {true, 27, 27, 3, true}},
        {"magnum_rgba8unorm-cube.dds", {true, 5, 5, 1, true}},
        {"magnum_rgbx8unorm.dds", {true, 3, 2, 1}},
        {"magnum_wrong-signature.dds", {false}},
        {"oiio_broken_dds_8bytes.dds", {false}},
        {"oiio_broken_dds_bc3_just_header.dds", {false}},
        {"oiio_dds_abgr8.dds", {true, 24, 20, 1}},
        {"oiio_dds_bc1.dds", {true, 16, 8, 1}},
        {"oiio_dds_bc1_mips.dds", {true, 16, 8, 5}},
        {"oiio_dds_bc2.dds", {true, 16, 8, 1}},
        {"oiio_dds_bc4.dds", {false}},
        {"oiio_dds_bc7.dds", {false}},
        {"oiio_dds_npot_bc3_mips.dds", {true, 13, 7, 4}},
        {"oiio_dds_npot_rgba8_mips.dds", {true, 13, 7, 4}},
        {"oiio_dds_r5g6b5.dds", {true, 16, 8, 1}},
        {"oiio_dds_rgba8_mips.dds", {true, 16, 8, 5}},
        {"oiio_sample-DXT1.dds", {true, 123, 456, 1}},
        {"pillow_DXGI_FORMAT_BC7_UNORM_SRGB.dds", {false}},
        {"pillow_dxt1-rgb-4bbp-noalpha_MipMaps-1.dds", {true, 256, 256, 1}},
        {"pillow_dxt3-argb-8bbp-explicitalpha_MipMaps-1.dds", {true, 256, 256, 1}},
        {"pillow_dxt5-argb-8bbp-interpolatedalpha_MipMaps-1.dds", {true, 256, 256, 1}},
        {"pillow_dxt5-colorblock-alpha-issue-4142.dds", {true, 4, 4, 1}},
        {"pillow_hopper.dds", {true, 128, 128, 8}},
        {"pillow_timeout-52d10657.dds", {false}},
        {"pillow_timeout-c60a3d73.dds", {false}},
        {"pillow_uncompressed_rgb.dds", {true, 800, 600, 1}},
    };
    return table;
}

DecodedImage DecodeCorpus(const std::string& name) {
    DecodedImage image;
    auto bytes = corpus::Read("dds", name);
    EXPECT_TRUE(Decode(bytes, &image)) << name;
    return image;
}

size_t CountTransparent(const d3dx::ImageLevel& level) {
    size_t count = 0;
    for (uint32_t p : level.pixels) count += (p >> 24) == 0;
    return count;
}

}  // namespace

TEST(DdsCorpus, EveryFileLoadsOrFailsAsCatalogued) {
    if (!corpus::Available("dds")) GTEST_SKIP() << "shared DDS corpus not found under " << DEMO_SHARED_DIR;
    size_t seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus::Dir("dds"))) {
        std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".dds") continue;
        ++seen;
        auto found = DdsCorpus().find(name);
        ASSERT_NE(found, DdsCorpus().end()) << "uncatalogued corpus file " << name;
        const CorpusExpectation& expect = found->second;
        auto bytes = corpus::Read("dds", name);
        DecodedImage image;
        std::string error;
        bool loaded = Decode(bytes, &image, &error);
        ASSERT_EQ(loaded, expect.loads) << name << ": " << error;
        if (!loaded) {
            EXPECT_FALSE(error.empty()) << name;
            continue;
        }
        EXPECT_EQ(image.cube, expect.cube) << name;
        EXPECT_EQ(image.levelCount, expect.levels) << name;
        EXPECT_EQ(image.Level(0, 0).width, expect.width) << name;
        EXPECT_EQ(image.Level(0, 0).height, expect.height) << name;
        ASSERT_EQ(image.levels.size(), image.FaceCount() * image.levelCount) << name;
    }
    EXPECT_EQ(seen, DdsCorpus().size());
}

TEST(DdsCorpus, Dxt1TransparencyMatchesTheCatalogue) {
    if (!corpus::Available("dds")) GTEST_SKIP() << "shared DDS corpus not found under " << DEMO_SHARED_DIR;
    EXPECT_EQ(CountTransparent(DecodeCorpus("imagers_DX9_BC1_UNORM.dds").Level(0, 0)), 1134u);
    EXPECT_EQ(CountTransparent(DecodeCorpus("oiio_dds_bc1.dds").Level(0, 0)), 12u);
    EXPECT_EQ(CountTransparent(DecodeCorpus("pillow_dxt1-rgb-4bbp-noalpha_MipMaps-1.dds").Level(0, 0)), 0u);
    EXPECT_EQ(CountTransparent(DecodeCorpus("gli_kueken7_rgba_dxt1_unorm.dds").Level(0, 0)), 0u);
}

TEST(DdsCorpus, ChannelMaskOrdersDecodeToTheSamePicture) {
    if (!corpus::Available("dds")) GTEST_SKIP() << "shared DDS corpus not found under " << DEMO_SHARED_DIR;
    DecodedImage bgra = DecodeCorpus("imagers_DX9_B8G8R8A8_UNORM.dds");
    DecodedImage rgba = DecodeCorpus("imagers_DX9_R8G8B8A8_UNORM.dds");
    DecodedImage bgrx = DecodeCorpus("imagers_DX9_B8G8R8X8_UNORM.dds");
    ASSERT_EQ(bgra.levels.size(), rgba.levels.size());
    for (size_t i = 0; i < bgra.levels.size(); ++i) {
        EXPECT_EQ(bgra.levels[i].pixels, rgba.levels[i].pixels) << "level " << i;
        // The X8 file was written from a slightly different picture; its alpha must read opaque.
        for (uint32_t p : bgrx.levels[i].pixels) ASSERT_EQ(p >> 24, 0xFFu);
    }
}
