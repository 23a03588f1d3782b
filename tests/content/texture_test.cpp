// The generated pictures: they load, the hatching tones behave as a tonal
// art map, and the word pictures and title cards fit where the effects put
// them on screen.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3dx9/d3dx9.h"
#include "platform/d3dx9/image.h"
#include "tests/content/content_files.h"
#include "tests/support/test_device.h"

using namespace content_test;

namespace {

d3dx::DecodedImage Decode(const std::string& name) {
    std::vector<uint8_t> bytes = PackEntry(name);
    d3dx::DecodedImage image;
    std::string error;
    EXPECT_TRUE(d3dx::DecodeImageFile(bytes.data(), bytes.size(), &image, &error)) << name << ": " << error;
    return image;
}

float Channel(uint32_t texel, int shift) { return float((texel >> shift) & 0xFF) / 255.0f; }
float Alpha(uint32_t texel) { return Channel(texel, 24); }
float Red(uint32_t texel) { return Channel(texel, 16); }

float MeanRed(const d3dx::ImageLevel& level) {
    double sum = 0;
    for (uint32_t t : level.pixels) sum += Red(t);
    return float(sum / double(level.pixels.size()));
}

float Variance(const d3dx::ImageLevel& level) {
    double mean = MeanRed(level), sum = 0;
    for (uint32_t t : level.pixels) sum += (Red(t) - mean) * (Red(t) - mean);
    return float(sum / double(level.pixels.size()));
}

// Box of the texels whose alpha exceeds a quarter ("ink"); x1/y1 exclusive.
struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    bool Empty() const { return x1 < 0; }
};

Box Ink(const d3dx::ImageLevel& level, float threshold = 0.25f) {
    Box box;
    for (uint32_t y = 0; y < level.height; ++y)
        for (uint32_t x = 0; x < level.width; ++x)
            if (Alpha(level.pixels[y * level.width + x]) > threshold) {
                box.x0 = std::min(box.x0, int(x));
                box.y0 = std::min(box.y0, int(y));
                box.x1 = std::max(box.x1, int(x) + 1);
                box.y1 = std::max(box.y1, int(y) + 1);
            }
    return box;
}

}  // namespace

TEST(Textures, EveryPictureLoadsThroughTheTextureLoaders) {
    TestDevice device(D3D9Backend::Recording, 64, 64);
    for (const std::string& name : ContentFiles({".jpg", ".png", ".dds", ".tga"})) {
        std::vector<uint8_t> bytes = PackEntry(name);
        ASSERT_FALSE(bytes.empty()) << name;
        if (name == "cubemap.dds") {
            IDirect3DCubeTexture9* cube = nullptr;
            ASSERT_EQ(D3DXCreateCubeTextureFromFileInMemory(device.Get(), bytes.data(), UINT(bytes.size()), &cube),
                      D3D_OK);
            D3DSURFACE_DESC desc{};
            cube->GetLevelDesc(0, &desc);
            EXPECT_EQ(desc.Width, desc.Height);
            EXPECT_EQ(cube->GetLevelCount(), d3dx::FullMipCount(desc.Width, desc.Height));
            cube->Release();
            continue;
        }
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(D3DXCreateTextureFromFileInMemory(device.Get(), bytes.data(), UINT(bytes.size()), &texture), D3D_OK)
            << name;
        D3DSURFACE_DESC desc{};
        texture->GetLevelDesc(0, &desc);
        EXPECT_GE(desc.Width, 128u) << name;
        EXPECT_EQ(texture->GetLevelCount(), d3dx::FullMipCount(desc.Width, desc.Height)) << name;
        texture->Release();
    }
}

TEST(Textures, HatchTonesDarkenInOrderAndEveryMipLevelKeepsItsTone) {
    float lighter = 1.0f;
    for (int t = 0; t < 6; ++t) {
        std::string name = "Hatch" + std::to_string(t) + ".dds";
        d3dx::DecodedImage image = Decode(name);
        ASSERT_EQ(image.levelCount, d3dx::FullMipCount(image.Level(0, 0).width, image.Level(0, 0).height)) << name;
        float tone = MeanRed(image.Level(0, 0));
        EXPECT_LT(tone, lighter - 0.05f) << name << " is darker than the tone before it";
        lighter = tone;
        for (uint32_t l = 1; l < image.levelCount; ++l)
            EXPECT_NEAR(MeanRed(image.Level(0, l)), tone, 0.03f) << name << " level " << l;
    }
    EXPECT_GT(MeanRed(Decode("Hatch0.dds").Level(0, 0)), 0.85f);
    EXPECT_LT(MeanRed(Decode("Hatch5.dds").Level(0, 0)), 0.55f);
}

TEST(Textures, EachHatchToneCarriesTheNextThreeTonesInGreenBlueAndAlpha) {
    d3dx::DecodedImage tones[6];
    for (int t = 0; t < 6; ++t) tones[t] = Decode("Hatch" + std::to_string(t) + ".dds");
    for (int t = 0; t < 6; ++t)
        for (uint32_t l = 0; l < tones[t].levelCount; l += 3) {
            const d3dx::ImageLevel& level = tones[t].Level(0, l);
            for (int c = 1; c <= 3; ++c) {
                const d3dx::ImageLevel& darker = tones[std::min(t + c, 5)].Level(0, l);
                size_t same = 0;
                for (size_t i = 0; i < level.pixels.size(); ++i)
                    same += Channel(level.pixels[i], 16 - 8 * c + (c == 3 ? 32 : 0)) == Red(darker.pixels[i]);
                EXPECT_EQ(same, level.pixels.size()) << "Hatch" << t << " level " << l << " channel " << c;
            }
        }
}

TEST(Textures, HatchMipLevelsAreDrawnStrokesNotBlurredOnes) {
    // A level filtered from the one above is greyer (less contrast) than the
    // same level drawn anew with crisp strokes.
    for (int t = 1; t < 6; ++t) {
        std::string name = "Hatch" + std::to_string(t) + ".dds";
        d3dx::DecodedImage image = Decode(name);
        for (uint32_t l = 1; l <= 3; ++l) {
            d3dx::DecodedImage filtered;
            filtered.levelCount = 1;
            filtered.levels.push_back(image.Level(0, l - 1));
            d3dx::GenerateMipChain(&filtered);
            EXPECT_GT(Variance(image.Level(0, l)), 1.3f * Variance(filtered.Level(0, 1))) << name << " level " << l;
        }
    }
}

TEST(Textures, CaptionWordsFitTheirPlacesInBothScenes) {
    // Sprite positions in texels (one texel = 0.0005 of clip space):
    // sketch scene: "first" (-1512, 512), "there is" (-1512, 1024), "a sketch" (-990, 1024);
    // colour scene: "then" (-1512, 1512), "there is" (-912, 1624), "a colour" (-590, 1624).
    Box first = Ink(Decode("first.png").Level(0, 0)), thereIs = Ink(Decode("thereis.png").Level(0, 0));
    Box sketch = Ink(Decode("asketch.png").Level(0, 0)), then = Ink(Decode("then.png").Level(0, 0));
    Box colour = Ink(Decode("acolour.png").Level(0, 0));
    for (const Box* b : {&first, &thereIs, &sketch, &then, &colour}) ASSERT_FALSE(b->Empty());
    // "there is" ends before "a colour" begins, with room for a space.
    EXPECT_LT(-912 + thereIs.x1 + 15, -590 + colour.x0);
    EXPECT_LT(-1512 + thereIs.x1 + 15, -990 + sketch.x0);
    // "then" stands above its line, "first" above its.
    EXPECT_LT(1512 + then.y1, 1624 + colour.y0);
    EXPECT_LT(1512 + then.y1, 1624 + thereIs.y0);
    EXPECT_LT(512 + first.y1, 1024 + thereIs.y0);
    // Everything stays on screen (clip y above -1: sprite y below 2000).
    EXPECT_LT(1624 + std::max(thereIs.y1, colour.y1), 2000);
}

TEST(Textures, LogoFillsTheScreenAndLeavesThePresentsStripClear) {
    d3dx::DecodedImage logo = Decode("kelss.png"), presents = Decode("presents.png");
    const d3dx::ImageLevel& l = logo.Level(0, 0);
    // Logo at (-486, -512), "presents" at (-256, 64), both at the same scale:
    // "presents" covers logo texels from (230, 576) on.
    const d3dx::ImageLevel& p = presents.Level(0, 0);
    Box card = Ink(p);
    ASSERT_FALSE(card.Empty());
    for (int y = 576 + card.y0 - 8; y < 576 + card.y1 + 8; ++y)
        for (int x = 230 + card.x0 - 8; x < 230 + card.x1 + 8; ++x)
            ASSERT_LT(Alpha(l.pixels[size_t(y) * l.width + size_t(x)]), 0.1f) << x << ", " << y;
    Box ink = Ink(l);
    EXPECT_GT(ink.x1 - ink.x0, 600) << "the name spans most of the screen";
}
