// Discarding: Clear, draws and Present change no pixel, while every state
// call still takes effect, so that the next frame drawn starts from the same
// device state as if the discarded ones had been drawn.
#include <gtest/gtest.h>

#include "tests/support/test_device.h"

namespace {

struct Vertex {
    float x, y, z;
};

const D3DVERTEXELEMENT9 kElements[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    D3DDECL_END(),
};

const Vertex kFullScreen[4] = {{-1, 1, 0}, {1, 1, 0}, {-1, -1, 0}, {1, -1, 0}};

// On OpenGL nothing discarded, or drawn while compiling only, reaches the
// picture, and the state set while discarding is what the next real draw uses.
TEST(Discarding, OpenGLDrawsNothingButKeepsTheState) {
    TestDevice gpu(D3D9Backend::OpenGL, 32, 16);
    if (!gpu) GTEST_SKIP() << gpu.Error();
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(gpu->CreateVertexDeclaration(kElements, &declaration), D3D_OK);
    auto* vs = gpu.VertexShader("in vec3 POSITION0;\nvoid main() { gl_Position = vec4(POSITION0, 1.0); }\n");
    auto* ps = gpu.PixelShader("void main() { oC0 = c[0]; }\n");
    ASSERT_TRUE(vs && ps) << gpu.Error();

    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
    ASSERT_EQ(gpu.Present().At(5, 5), 0xFFFF0000u);

    D3D9_SetDiscarding(gpu.Get(), true);
    gpu->SetVertexDeclaration(declaration);
    gpu->SetVertexShader(vs);
    gpu->SetPixelShader(ps);
    const float blue[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    gpu->SetPixelShaderConstantF(0, blue, 1);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kFullScreen, sizeof(Vertex));
    Picture discarded = gpu.Present();
    EXPECT_EQ(discarded.At(5, 5), 0xFFFF0000u) << "the discarded frame reached the picture";

    D3D9_SetDiscarding(gpu.Get(), false);
    // Compiling only: the draw reaches the driver, no pixel changes.
    D3D9_SetCompilingOnly(gpu.Get(), true);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kFullScreen, sizeof(Vertex));
    D3D9_SetCompilingOnly(gpu.Get(), false);
    const Vertex leftHalf[4] = {{-1, 1, 0}, {0, 1, 0}, {-1, -1, 0}, {0, -1, 0}};
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, leftHalf, sizeof(Vertex));
    Picture drawn = gpu.Present();
    EXPECT_EQ(drawn.At(4, 8), 0xFF0000FFu);   // drawn with the shaders and constant set while discarding
    EXPECT_EQ(drawn.At(28, 8), 0xFFFF0000u);  // the target still holds the last real clear
    declaration->Release();
}

}  // namespace
