// D3DXCompileShader over GLSL and the register convention of docs/shaders.md.
#include <gtest/gtest.h>

#include "platform/d3dx9/d3dx9.h"
#include "tests/support/test_device.h"

namespace {

struct Compiled {
    HRESULT result = E_FAIL;
    bool code = false;
    std::string errors;
};

Compiled Compile(const std::string& source, const char* profile, const char* entry = "main") {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    Compiled out;
    out.result = D3DXCompileShader(source.c_str(), UINT(source.size()), nullptr, nullptr, entry, profile, 0, &code,
                                   &errors, nullptr);
    out.code = code != nullptr;
    if (code) code->Release();
    if (errors) out.errors = static_cast<const char*>(errors->GetBufferPointer());
    if (errors) errors->Release();
    return out;
}

const char* const kPixel = "void main() { oC0 = c[5]; }\n";

TEST(D3DXCompileShader, AcceptsOnlyTheShaderModel3ProfilesAndMain) {
    EXPECT_EQ(Compile(kPixel, "ps_3_0").result, D3D_OK);
    Compiled wrongProfile = Compile(kPixel, "ps_2_0");
    EXPECT_TRUE(FAILED(wrongProfile.result));
    EXPECT_NE(wrongProfile.errors.find("ps_2_0"), std::string::npos);
    Compiled wrongEntry = Compile(kPixel, "ps_3_0", "PixelMain");
    EXPECT_TRUE(FAILED(wrongEntry.result));
    EXPECT_NE(wrongEntry.errors.find("PixelMain"), std::string::npos);
}

TEST(D3DXCompileShader, CompileErrorsComeBackWithTheSourceLine) {
    Compiled broken = Compile("in vec2 uv;\nvoid main() {\n    oC0 = vec4(uv, 0.0);\n}\n", "ps_3_0");
    if (broken.result == D3D_OK) GTEST_SKIP() << "no OpenGL compiler on this machine";
    EXPECT_NE(broken.errors.find(":3("), std::string::npos) << broken.errors;
    EXPECT_FALSE(broken.code);
}

TEST(ShaderRegisters, PixelAndVertexRegistersAreSeparateAndNumberedAsSet) {
    TestDevice gpu(D3D9Backend::OpenGL, 8, 8);
    if (!gpu) GTEST_SKIP() << gpu.Error();
    IDirect3DVertexShader9* vs = gpu.VertexShader(R"(
        in vec2 POSITION0;
        out vec4 fromVertex;
        void main() { gl_Position = vec4(POSITION0, 0.0, 1.0); fromVertex = c[13]; }
    )");
    IDirect3DPixelShader9* ps = gpu.PixelShader(R"(
        in vec4 fromVertex;
        void main() { oC0 = vec4(c[5].rg, fromVertex.b, 1.0); }
    )");
    ASSERT_TRUE(vs && ps) << gpu.Error();
    const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    gpu->CreateVertexDeclaration(elements, &declaration);
    const float red[4] = {1, 0, 0, 1}, green[4] = {0, 1, 0, 1}, blue[4] = {0, 0, 1, 1};
    gpu->SetVertexShaderConstantF(5, red, 1);  // the vertex register 5 is not the pixel one
    gpu->SetPixelShaderConstantF(5, green, 1);
    gpu->SetVertexShaderConstantF(13, blue, 1);
    gpu->SetVertexDeclaration(declaration);
    gpu->SetVertexShader(vs);
    gpu->SetPixelShader(ps);
    const float strip[8] = {-1, 1, 1, 1, -1, -1, 1, -1};
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, strip, 8);
    EXPECT_EQ(gpu.Present().At(4, 4), 0xFF00FFFFu);
    declaration->Release();
}

TEST(StateBlock, PixelStateBlockRestoresPixelStatesOnly) {
    TestDevice gpu(D3D9Backend::Recording, 16, 16);
    ASSERT_TRUE(gpu);
    const float before[4] = {1, 2, 3, 4};
    gpu->SetPixelShaderConstantF(7, before, 1);
    gpu->SetVertexShaderConstantF(7, before, 1);
    IDirect3DStateBlock9* block = nullptr;
    ASSERT_EQ(gpu->CreateStateBlock(D3DSBT_PIXELSTATE, &block), D3D_OK);

    const float after[4] = {9, 9, 9, 9};
    gpu->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    gpu->SetRenderState(D3DRS_ZENABLE, FALSE);
    gpu->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    gpu->SetSamplerState(4, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    gpu->SetPixelShaderConstantF(7, after, 1);
    gpu->SetVertexShaderConstantF(7, after, 1);
    block->Apply();

    EXPECT_EQ(gpu.RenderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
    EXPECT_EQ(gpu.RenderState(D3DRS_ZENABLE), DWORD(TRUE));
    EXPECT_EQ(gpu.RenderState(D3DRS_CULLMODE), DWORD(D3DCULL_NONE)) << "a vertex state";
    EXPECT_EQ(gpu.SamplerState(4, D3DSAMP_ADDRESSV), DWORD(D3DTADDRESS_WRAP));
    float register7[4];
    gpu->GetPixelShaderConstantF(7, register7, 1);
    EXPECT_EQ(register7[3], 4.0f);
    gpu->GetVertexShaderConstantF(7, register7, 1);
    EXPECT_EQ(register7[3], 9.0f);
    block->Release();
}

}  // namespace
