// Quad::Draw: the calls it makes, the states it leaves, and the picture it
// draws with the full-screen shaders of content/shaders.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/win32_platform.h"
#include "render/quad.h"
#include "render/render_target.h"
#include "tests/support/test_device.h"
#include "tests/support/text_files.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

int Find(IDirect3DDevice9* device, const std::string& prefix, int from = 0) {
    return FindRecordedCall(device, prefix, from);
}

TEST(Quad, DrawsWithDepthAndCullingOffAndTheTexelSizeInRegisterZeroThenPutsThemOnAgain) {
    TestDevice gpu(D3D9Backend::Recording, 32, 32);
    ASSERT_TRUE(gpu);
    gpu->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    Quad quad(0.25f, 0.5f);
    D3D9_ClearRecordedCalls(gpu.Get());
    quad.Draw(nullptr, gpu.Get(), nullptr, nullptr, false);
    IDirect3DDevice9* d = gpu.Get();
    int draw = Find(d, "DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)");
    ASSERT_GE(draw, 0);
    for (const char* call :
         {"SetRenderState(D3DRS_ZENABLE, FALSE)", "SetRenderState(D3DRS_ZWRITEENABLE, FALSE)",
          "SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)", "SetVertexShaderConstantF(0, [0.25, 0.5, "}) {
        const int at = Find(d, call);
        EXPECT_TRUE(at >= 0 && at < draw) << call << " before the draw";
    }
    EXPECT_EQ(Find(d, "Clear("), -1);  // no target: `clear` means nothing
    // Left behind: depth test and writes on, counter-clockwise culling.
    EXPECT_EQ(gpu.RenderState(D3DRS_ZENABLE), DWORD(TRUE));
    EXPECT_EQ(gpu.RenderState(D3DRS_ZWRITEENABLE), DWORD(TRUE));
    EXPECT_EQ(gpu.RenderState(D3DRS_CULLMODE), DWORD(D3DCULL_CCW));
}

// A failed buffer, declaration or lock leaves nothing half made and draws
// nothing; the buffer's failure is reported once; the next pass tries again.
TEST(Quad, AFailedBufferDeclarationOrLockDrawsNothingAndTheNextPassTriesAgain) {
    for (const char* refused : {"CreateVertexBuffer", "CreateVertexDeclaration", "Lock"}) {
        SCOPED_TRACE(refused);
        TestDevice gpu(D3D9Backend::Recording, 32, 32);
        ASSERT_TRUE(gpu);
        D3D9_RefuseCalls(gpu.Get(), refused, 2);
        Quad quad(1.0f / 32, 1.0f / 32);
        int before = Win32_MessageBoxCount();
        quad.Draw(nullptr, gpu.Get(), nullptr, nullptr, false);
        quad.Draw(nullptr, gpu.Get(), nullptr, nullptr, false);
        EXPECT_EQ(quad.vertexBuffer, nullptr);
        EXPECT_EQ(quad.declaration, nullptr);
        EXPECT_EQ(Find(gpu.Get(), "DrawPrimitive("), -1);
        EXPECT_EQ(Find(gpu.Get(), "SetStreamSource("), -1);
        EXPECT_EQ(gpu.RenderState(D3DRS_ZENABLE), DWORD(TRUE));
        if (std::string(refused) == "CreateVertexBuffer") {
            EXPECT_EQ(Win32_MessageBoxCount(), before + 1);
            EXPECT_STREQ(Win32_LastMessageBoxText(), "Error creating Vertex Buffer");
            EXPECT_STREQ(Win32_LastMessageBoxCaption(), "ERROR!");
        }
        quad.Draw(nullptr, gpu.Get(), nullptr, nullptr, false);
        EXPECT_NE(quad.vertexBuffer, nullptr);
        EXPECT_GE(Find(gpu.Get(), "DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)"), 0);
    }
}

class QuadPicture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gpu) GTEST_SKIP() << gpu.Error();
        vertexShader = gpu.CompiledVertexShader(CommonShader("vertex_fs.cpp"));
        copyShader = gpu.CompiledPixelShader(CommonShader("fragment_fs.cpp"));
        ASSERT_TRUE(vertexShader && copyShader) << gpu.Error();
    }
    TestDevice gpu{D3D9Backend::OpenGL, 48, 32};
    Quad quad{1.0f / 48, 1.0f / 32};
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DPixelShader9* copyShader = nullptr;
};

TEST_F(QuadPicture, FullScreenShadersCopyThePictureTheRightWayUp) {
    IDirect3DTexture9* picture = gpu.Texture(2, 2, {kRed, kGreen, kBlue, kWhite});
    IDirect3DTexture9* target = gpu.RenderTarget(48, 32);
    gpu->SetTexture(0, picture);
    quad.Draw(target, gpu.Get(), vertexShader, copyShader, true);
    Picture copied = TestDevice::Read(target);
    EXPECT_EQ(copied.At(0, 0), kRed);
    EXPECT_EQ(copied.At(47, 0), kGreen);
    EXPECT_EQ(copied.At(0, 31), kBlue);
    EXPECT_EQ(copied.At(47, 31), kWhite);
    // And from the target onto the back buffer, the way EndFrame composites:
    // drawing into a target put render target 0 back.
    gpu->SetTexture(0, target);
    quad.Draw(nullptr, gpu.Get(), vertexShader, copyShader, false);
    Picture shot = gpu.Present();
    EXPECT_EQ(shot.At(0, 0), kRed);
    EXPECT_EQ(shot.At(47, 31), kWhite);
}

TEST_F(QuadPicture, ClearedTargetIsTransparentBlackWhereTheShaderDiscards) {
    IDirect3DPixelShader9* rightHalf = gpu.PixelShader(R"(
        in vec2 v_TEXCOORD0;
        void main() {
            if (v_TEXCOORD0.x < 0.5) discard;
            oC0 = vec4(0.0, 0.0, 1.0, 1.0);
        }
    )");
    ASSERT_NE(rightHalf, nullptr) << gpu.Error();
    IDirect3DTexture9* target = gpu.RenderTarget(48, 32);
    IDirect3DSurface9* back = CurrentTarget(gpu.Get());
    SetTextureTarget(gpu.Get(), 0, target);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0);
    PutBackTarget(gpu.Get(), back);

    quad.Draw(target, gpu.Get(), vertexShader, rightHalf, false);
    Picture kept = TestDevice::Read(target);
    EXPECT_EQ(kept.At(5, 5), kGreen);  // without clear the old picture stays
    EXPECT_EQ(kept.At(40, 5), kBlue);
    quad.Draw(target, gpu.Get(), vertexShader, rightHalf, true);
    Picture cleared = TestDevice::Read(target);
    EXPECT_EQ(cleared.At(5, 5), 0x00000000u);  // cleared to transparent black
    EXPECT_EQ(cleared.At(40, 5), kBlue);
}

}  // namespace
