// The fade shaders of the shatter and earth scenes, drawn with the
// full-screen quad on the OpenGL backend: fade-out moves from the picture to
// the colour in c0 as c1.x goes from 0 to 1, fade-in the other way round.
#include <gtest/gtest.h>

#include "render/quad.h"
#include "tests/support/test_device.h"
#include "tests/support/text_files.h"

namespace {

class FadeShaders : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gpu) GTEST_SKIP() << gpu.Error();
        vertexShader = gpu.CompiledVertexShader(CommonShader("vertex_fs.cpp"));
        fadeOut = gpu.CompiledPixelShader(CommonShader("fragment_fade_out.cpp"));
        fadeIn = gpu.CompiledPixelShader(CommonShader("fragment_fade_in.cpp"));
        ASSERT_TRUE(vertexShader && fadeOut && fadeIn) << gpu.Error();
        picture = gpu.Texture(1, 1, {0xFFC08040});
        target = gpu.RenderTarget(16, 16);
    }

    // Red, green and blue of the middle of the target after one pass.
    std::vector<int> Draw(IDirect3DPixelShader9* shader, float amount, const float colour[4]) {
        const float c1[4] = {amount, 0, 0, 0};
        gpu->SetPixelShaderConstantF(0, colour, 1);
        gpu->SetPixelShaderConstantF(1, c1, 1);
        gpu->SetTexture(0, picture);
        quad.Draw(target, gpu.Get(), vertexShader, shader, true);
        uint32_t texel = TestDevice::Read(target).At(8, 8);
        return {int(texel >> 16 & 0xFF), int(texel >> 8 & 0xFF), int(texel & 0xFF)};
    }

    TestDevice gpu{D3D9Backend::OpenGL, 16, 16};
    Quad quad{1.0f / 16, 1.0f / 16};
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DPixelShader9 *fadeOut = nullptr, *fadeIn = nullptr;
    IDirect3DTexture9 *picture = nullptr, *target = nullptr;
};

void ExpectNear(const std::vector<int>& got, std::vector<int> want) {
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 2) << "channel " << i;
}

const float kBlack[4] = {0, 0, 0, 0};

}  // namespace

TEST_F(FadeShaders, FadeOutGoesFromThePictureToTheColourAndFadeInBack) {
    const float white[4] = {1, 1, 1, 0};
    ExpectNear(Draw(fadeOut, 0.0f, kBlack), {0xC0, 0x80, 0x40});
    ExpectNear(Draw(fadeOut, 0.5f, kBlack), {0x60, 0x40, 0x20});
    ExpectNear(Draw(fadeOut, 1.7f, kBlack), {0, 0, 0});
    ExpectNear(Draw(fadeOut, 0.5f, white), {0xE0, 0xC0, 0xA0});
    ExpectNear(Draw(fadeIn, 0.0f, kBlack), {0, 0, 0});
    ExpectNear(Draw(fadeIn, 0.25f, kBlack), {0x30, 0x20, 0x10});
    ExpectNear(Draw(fadeIn, 1.04f, kBlack), {0xC0, 0x80, 0x40});  // the last fade-in frame may overshoot 1
}
