// ID3DXSprite: placement in object and screen space, colour modulation, and
// the device state it leaves behind.
#include <gtest/gtest.h>

#include "platform/d3dx9/d3dx9.h"
#include "tests/support/test_device.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

// A picture of four solid quarters: red, green / blue, white.
std::vector<uint32_t> Quarters(UINT width, UINT height) {
    std::vector<uint32_t> texels(size_t(width) * height);
    for (UINT y = 0; y < height; ++y)
        for (UINT x = 0; x < width; ++x)
            texels[size_t(y) * width + x] =
                y < height / 2 ? (x < width / 2 ? kRed : kGreen) : (x < width / 2 ? kBlue : kWhite);
    return texels;
}

class SpritePicture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gpu) GTEST_SKIP() << gpu.Error();
        ASSERT_EQ(D3DXCreateSprite(gpu.Get(), &sprite), D3D_OK);
    }
    void TearDown() override {
        if (sprite) sprite->Release();
    }
    // Clears to `background` and draws `texture` at `position` with `colour`.
    Picture Draw(DWORD flags, IDirect3DTexture9* texture, const D3DXVECTOR3* position, D3DCOLOR colour,
                 uint32_t background = kBlack) {
        gpu->Clear(0, nullptr, D3DCLEAR_TARGET, background, 1.0f, 0);
        EXPECT_EQ(sprite->Begin(flags), D3D_OK);
        EXPECT_EQ(sprite->Draw(texture, nullptr, nullptr, position, colour), D3D_OK);
        sprite->End();
        return gpu.Present();
    }
    TestDevice gpu{D3D9Backend::OpenGL, 100, 100};
    ID3DXSprite* sprite = nullptr;
};

TEST_F(SpritePicture, ObjectSpacePlacementFollowsTheSpriteTransform) {
    D3DXMATRIX scaling;
    D3DXMatrixScaling(&scaling, 0.002f, -0.002f, 0.0f);
    sprite->SetTransform(&scaling);
    const D3DXVECTOR3 position(-486.0f, -512.0f, 0.0f);
    Picture shot = Draw(D3DXSPRITE_OBJECTSPACE | D3DXSPRITE_ALPHABLEND, gpu.Texture(972, 1024, Quarters(972, 1024)),
                        &position, 0xFFFFFFFF);
    // Clip x -0.972 .. 0.972 is pixel 1.4 .. 98.6; y spans the whole height.
    EXPECT_EQ(shot.At(0, 50), kBlack);
    EXPECT_EQ(shot.At(99, 50), kBlack);
    EXPECT_EQ(shot.At(2, 10), kRed);
    EXPECT_EQ(shot.At(97, 10), kGreen);
    EXPECT_EQ(shot.At(2, 90), kBlue);
    EXPECT_EQ(shot.At(97, 90), kWhite);
    EXPECT_EQ(shot.At(30, 0), kRed);
    EXPECT_EQ(shot.At(30, 99), kBlue);
}

TEST_F(SpritePicture, ScreenSpacePositionsArePixels) {
    const D3DXVECTOR3 position(20.0f, 30.0f, 0.0f);
    Picture shot = Draw(0, gpu.Texture(10, 10, std::vector<uint32_t>(100, kGreen)), &position, 0xFFFFFFFF);
    EXPECT_EQ(shot.At(19, 35), kBlack);
    EXPECT_EQ(shot.At(20, 30), kGreen);
    EXPECT_EQ(shot.At(29, 39), kGreen);
    EXPECT_EQ(shot.At(30, 35), kBlack);
    EXPECT_EQ(shot.At(25, 40), kBlack);
}

TEST_F(SpritePicture, ColourModulatesTheTexelsAndAlphaBlends) {
    IDirect3DTexture9* white = gpu.Texture(32, 32, std::vector<uint32_t>(32 * 32, kWhite));
    const uint32_t mixed = Draw(D3DXSPRITE_ALPHABLEND, white, nullptr, 0x80FF0000, kBlue).At(16, 16);
    EXPECT_NEAR(int((mixed >> 16) & 255), 128, 2);
    EXPECT_EQ((mixed >> 8) & 255, 0u);
    EXPECT_NEAR(int(mixed & 255), 127, 2);
    // A fully transparent word leaves the picture as it was.
    EXPECT_EQ(Draw(D3DXSPRITE_ALPHABLEND, white, nullptr, 0x00FFFFFF, kBlue).At(16, 16), kBlue);
}

class RecordedSprite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gpu);
        ASSERT_EQ(D3DXCreateSprite(gpu.Get(), &sprite), D3D_OK);
        picture = gpu.Texture(4, 4, std::vector<uint32_t>(16, kWhite));
    }
    void TearDown() override {
        if (sprite) sprite->Release();
    }
    TestDevice gpu{D3D9Backend::Recording, 64, 64};
    ID3DXSprite* sprite = nullptr;
    IDirect3DTexture9* picture = nullptr;
};

TEST_F(RecordedSprite, EndPutsBackEveryStateItChanged) {
    gpu->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    gpu->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    gpu->SetTexture(0, nullptr);
    sprite->Begin(D3DXSPRITE_OBJECTSPACE | D3DXSPRITE_ALPHABLEND);
    EXPECT_EQ(gpu.RenderState(D3DRS_ALPHABLENDENABLE), DWORD(TRUE));
    EXPECT_EQ(gpu.RenderState(D3DRS_CULLMODE), DWORD(D3DCULL_NONE));
    sprite->Draw(picture, nullptr, nullptr, nullptr, 0xFFFFFFFF);
    sprite->End();
    EXPECT_EQ(gpu.RenderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
    EXPECT_EQ(gpu.RenderState(D3DRS_CULLMODE), DWORD(D3DCULL_CW));
    EXPECT_EQ(gpu.SamplerState(0, D3DSAMP_ADDRESSU), DWORD(D3DTADDRESS_WRAP));
    IDirect3DBaseTexture9* bound = nullptr;
    gpu->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);
}

// Words faded out to alpha 0 change no pixel under alpha blending (the alpha
// test drops them), so they cost no draw; without blending they still paint.
TEST_F(RecordedSprite, TransparentPicturesAreDrawnOnlyWithoutAlphaBlending) {
    auto drawsFor = [&](DWORD flags) {
        D3D9_ClearRecordedCalls(gpu.Get());
        sprite->Begin(flags);
        sprite->Draw(picture, nullptr, nullptr, nullptr, 0x00FFFFFF);
        sprite->Draw(picture, nullptr, nullptr, nullptr, 0x01FFFFFF);
        sprite->Draw(picture, nullptr, nullptr, nullptr, 0x00FFFFFF);
        sprite->End();
        long triangles = 0;
        for (const std::string& call : D3D9_RecordedCalls(gpu.Get()))
            if (call.rfind("DrawPrimitiveUP(", 0) == 0) triangles += std::atol(call.c_str() + call.find(',') + 1);
        return triangles;
    };
    EXPECT_EQ(drawsFor(D3DXSPRITE_ALPHABLEND), 2);
    EXPECT_EQ(drawsFor(0), 6);
    // A compile-only rehearsal draws them all, so that the sprite's program
    // is built before a word first shows.
    D3D9_SetCompilingOnly(gpu.Get(), true);
    EXPECT_EQ(drawsFor(D3DXSPRITE_ALPHABLEND), 6);
    D3D9_SetCompilingOnly(gpu.Get(), false);
}

TEST_F(RecordedSprite, DoNotSaveStateLeavesTheSpriteStatesAndNoShaders) {
    sprite->Begin(D3DXSPRITE_DONOTSAVESTATE | D3DXSPRITE_OBJECTSPACE | D3DXSPRITE_ALPHABLEND);
    sprite->Draw(picture, nullptr, nullptr, nullptr, 0xFFFFFFFF);
    sprite->End();
    EXPECT_EQ(gpu.RenderState(D3DRS_ALPHABLENDENABLE), DWORD(TRUE));
    EXPECT_EQ(gpu.RenderState(D3DRS_SRCBLEND), DWORD(D3DBLEND_SRCALPHA));
    IDirect3DPixelShader9* shader = reinterpret_cast<IDirect3DPixelShader9*>(1);
    gpu->GetPixelShader(&shader);
    EXPECT_EQ(shader, nullptr);
}

}  // namespace
