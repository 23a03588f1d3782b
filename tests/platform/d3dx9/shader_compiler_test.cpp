// D3DXCompileShader over HLSL: errors that name the HLSL line, registers
// that every constant and sampler must state, Direct3D's fmod, the names the
// device's convention gives inputs, outputs, samplers and registers (drawn
// on the OpenGL backend), and the shader cache: a hit, a miss and a cache of
// another translator.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/d3d9/shader_code.h"
#include "platform/d3dx9/d3dx9.h"
#include "platform/d3dx9/d3dx9_platform.h"
#include "platform/d3dx9/hlsl_translator.h"
#include "platform/d3dx9/shader_cache.h"
#include "render/quad.h"
#include "tests/support/test_device.h"
#include "tests/support/text_files.h"

namespace {

namespace fs = std::filesystem;

struct Compiled {
    HRESULT result = E_FAIL;
    std::string glsl;    // the text the code carries
    std::string errors;  // the error buffer's text
};

Compiled Compile(const std::string& source, const char* profile) {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    Compiled out;
    out.result = D3DXCompileShader(source.c_str(), UINT(source.size()), nullptr, nullptr, "main", profile, 0, &code,
                                   &errors, nullptr);
    const d3d9::ShaderStage stage =
        std::string(profile) == "vs_3_0" ? d3d9::ShaderStage::Vertex : d3d9::ShaderStage::Pixel;
    if (code) d3d9::UnpackShaderCode(static_cast<const DWORD*>(code->GetBufferPointer()), stage, &out.glsl);
    if (errors) out.errors = static_cast<const char*>(errors->GetBufferPointer());
    if (code) code->Release();
    if (errors) errors->Release();
    return out;
}

// Every test here compiles without the build's cache file.
class ShaderCompiler : public ::testing::Test {
protected:
    void SetUp() override { D3DX_UseShaderCache(""); }
    void TearDown() override { D3DX_UseShaderCache("shaders.cache"); }
};

TEST_F(ShaderCompiler, ErrorsNameTheHlslLineAndGiveNoCode) {
    const Compiled compiled =
        Compile("float4 tint : register(c0);\nfloat4 main() : COLOR0 {\n    return tint * undeclared;\n}\n", "ps_3_0");
    EXPECT_TRUE(FAILED(compiled.result));
    EXPECT_EQ(compiled.glsl, "");
    EXPECT_NE(compiled.errors.find("hlsl:3:"), std::string::npos) << compiled.errors;
    EXPECT_NE(compiled.errors.find("undeclared"), std::string::npos) << compiled.errors;
}

TEST_F(ShaderCompiler, EveryConstantAndSamplerStatesItsRegister) {
    const Compiled constant = Compile(
        "float4 tint : register(c2);\nfloat4 loose;\nfloat4 main() : COLOR0 { return tint + loose; }\n", "ps_3_0");
    EXPECT_TRUE(FAILED(constant.result));
    EXPECT_NE(constant.errors.find("hlsl:2: constant 'loose' has no register(cN)"), std::string::npos)
        << constant.errors;
    const Compiled sampler = Compile(
        "\nsampler2D picture;\nfloat4 main(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(picture, uv); }\n", "ps_3_0");
    EXPECT_TRUE(FAILED(sampler.result));
    EXPECT_NE(sampler.errors.find("hlsl:2: sampler 'picture' has no register(sN)"), std::string::npos)
        << sampler.errors;
}

TEST_F(ShaderCompiler, RegistersSemanticsAndSamplersTakeTheDevicesNames) {
    const Compiled vertex = Compile(R"(float4x4 transform : register(c4);
float4 lift : register(c9);
void main(float3 position : POSITION, float2 uv : TEXCOORD0, out float4 clip : POSITION,
          out float2 uvOut : TEXCOORD3, out float4 tint : COLOR0) {
    clip = mul(float4(position, 1.0), transform);
    uvOut = uv;
    tint = lift;
})",
                                    "vs_3_0");
    ASSERT_TRUE(SUCCEEDED(vertex.result)) << vertex.errors;
    for (const char* part : {"in vec3 POSITION0;", "in vec2 TEXCOORD0;", "out vec2 v_TEXCOORD3;", "out vec4 v_COLOR0;",
                             "gl_Position = ", "c[4]", "c[9]"})
        EXPECT_NE(vertex.glsl.find(part), std::string::npos) << part << " in\n" << vertex.glsl;
    EXPECT_EQ(vertex.glsl.find("uniform vec4 c["), std::string::npos) << "the registers are the device's";
}

// Draws the full-screen quad with the pixel shader `hlsl` and reads the middle.
class PixelShaderPicture : public ShaderCompiler {
protected:
    void SetUp() override {
        ShaderCompiler::SetUp();
        if (!gpu) GTEST_SKIP() << gpu.Error();
        vertexShader = gpu.CompiledVertexShader(CommonShader("vertex_fs.cpp"));
        ASSERT_NE(vertexShader, nullptr) << gpu.Error();
        target = gpu.RenderTarget(16, 16);
    }
    ::Picture Draw(const std::string& hlsl) {
        IDirect3DPixelShader9* shader = gpu.CompiledPixelShader(hlsl);
        EXPECT_NE(shader, nullptr) << gpu.Error();
        quad.Draw(target, gpu.Get(), vertexShader, shader, true);
        return TestDevice::Read(target);
    }
    TestDevice gpu{D3D9Backend::OpenGL, 16, 16};
    Quad quad{1.0f / 16, 1.0f / 16};
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DTexture9* target = nullptr;
};

int Red(uint32_t texel) { return int(texel >> 16 & 0xFF); }
int Green(uint32_t texel) { return int(texel >> 8 & 0xFF); }
int Blue(uint32_t texel) { return int(texel & 0xFF); }

// fmod(x, y) is x - y * trunc(x / y), with the sign of x: fmod(-2.5, 2) is
// -0.5 where GLSL's mod gives 1.5, fmod(2.5, -2) is 0.5 where mod gives -1.5.
TEST_F(PixelShaderPicture, FmodTakesTheSignOfTheDividend) {
    const float operands[4] = {-2.5f, 2.0f, 2.5f, -2.0f};
    gpu->SetPixelShaderConstantF(3, operands, 1);
    const uint32_t texel = Draw(R"(float4 operands : register(c3);
float4 main() : COLOR0 {
    float negative = fmod(operands.x, operands.y);
    float positive = fmod(operands.z, operands.w);
    return float4(0.5 + negative * 0.25, 0.5 + positive * 0.25, 0.0, 1.0);
})")
                               .At(8, 8);
    EXPECT_NEAR(Red(texel), 96, 1) << "fmod(-2.5, 2) is -0.5";
    EXPECT_NEAR(Green(texel), 159, 1) << "fmod(2.5, -2) is 0.5";
}

// A sampler reads the stage of its register, a constant its register, VPOS
// the pixel's place (row 0 at the top).
TEST_F(PixelShaderPicture, SamplersConstantsAndVposAreTheDevicesOwn) {
    gpu->SetTexture(2, gpu.Texture(1, 1, {0xFF4080C0}));
    const float tint[4] = {1.0f, 0.5f, 1.0f, 1.0f};
    gpu->SetPixelShaderConstantF(7, tint, 1);
    const ::Picture picture = Draw(R"(sampler2D picture : register(s2);
float4 tint : register(c7);
float4 main(float2 uv : TEXCOORD0, float2 place : VPOS) : COLOR0 {
    float4 colour = tex2D(picture, uv) * tint;
    return float4(colour.rg, place.y / 16.0, 1.0);
})");
    EXPECT_NEAR(Red(picture.At(3, 3)), 0x40, 1);
    EXPECT_NEAR(Green(picture.At(3, 3)), 0x40, 1);
    EXPECT_NEAR(Blue(picture.At(3, 4)), 64, 1);
    EXPECT_NEAR(Blue(picture.At(3, 12)), 191, 1);
}

class ShaderCacheFile : public ShaderCompiler {
protected:
    void TearDown() override {
        std::remove(path.c_str());
        ShaderCompiler::TearDown();
    }
    void Write(const d3dx9::ShaderCache& cache) {
        std::ofstream(path, std::ios::binary) << cache.Serialize();
        D3DX_UseShaderCache(path.c_str());
    }
    const std::string source = "float4 main() : COLOR0 { return float4(1.0, 1.0, 1.0, 1.0); }\n";
    const std::string cached = "void main() { oC0 = vec4(0.25); }\n";
    const std::string path = (fs::temp_directory_path() / "shader_cache_test.cache").string();
};

TEST_F(ShaderCacheFile, AHitIsTakenAsItStandsAndAMissIsTranslated) {
    d3dx9::ShaderCache cache;
    cache.SetVersion(d3dx9::TranslatorVersion());
    cache.Add(d3d9::ShaderStage::Pixel, d3d9::CompilerDialect(), source, cached);
    Write(cache);
    EXPECT_EQ(D3DX_ShaderCacheSize(), 1u);
    EXPECT_EQ(Compile(source, "ps_3_0").glsl, cached);
    const Compiled changed = Compile(source + "\n", "ps_3_0");
    ASSERT_TRUE(SUCCEEDED(changed.result)) << changed.errors;
    EXPECT_NE(changed.glsl, cached);
    EXPECT_NE(changed.glsl.find("oC0 = "), std::string::npos) << changed.glsl;
    EXPECT_NE(Compile(source, "vs_3_0").glsl, cached) << "a pixel shader's entry answered a vertex shader";
}

TEST_F(ShaderCacheFile, ACacheOfAnotherTranslatorOrADamagedOneIsNotUsed) {
    d3dx9::ShaderCache cache;
    cache.SetVersion("glslang 0.1, SPIRV-Cross 0.1");
    cache.Add(d3d9::ShaderStage::Pixel, d3d9::CompilerDialect(), source, cached);
    Write(cache);
    EXPECT_EQ(D3DX_ShaderCacheSize(), 0u);
    const Compiled live = Compile(source, "ps_3_0");
    ASSERT_TRUE(SUCCEEDED(live.result)) << live.errors;
    EXPECT_NE(live.glsl, cached);

    cache.SetVersion(d3dx9::TranslatorVersion());
    std::string bytes = cache.Serialize();
    for (size_t keep : {size_t(0), size_t(7), size_t(12), bytes.size() - 1}) {
        d3dx9::ShaderCache parsed;
        std::string error;
        EXPECT_FALSE(parsed.Parse(bytes.substr(0, keep), &error)) << keep << " bytes";
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(parsed.Size(), 0u);
    }
    std::ofstream(path, std::ios::binary) << bytes.substr(0, bytes.size() - 3);
    D3DX_UseShaderCache(path.c_str());
    EXPECT_EQ(D3DX_ShaderCacheSize(), 0u);
    EXPECT_NE(Compile(source, "ps_3_0").glsl, cached);
}

}  // namespace
