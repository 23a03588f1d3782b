// Every shader source in data.pak is HLSL that translates to desktop GLSL 3.30
// and to GLSL ES 3.00 (OpenGL ES 3, WebGL 2) and compiles there with the
// device's prelude; every pixel shader links with each vertex shader that
// writes every semantic it reads, the two agreeing on each one's type; and
// shaders.cache, beside the pack, holds this build's translation of each.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <regex>

#include "platform/d3d9/gl_context.h"
#include "platform/d3dx9/hlsl_translator.h"
#include "platform/d3dx9/shader_cache.h"
#include "tests/content/content_files.h"

namespace {

using d3d9::GlslDialect;
using d3d9::ShaderStage;

struct Shader {
    std::string name;
    std::string glsl;
    GLuint gl = 0;
    std::map<std::string, std::string> varyings;  // semantic (v_TEXCOORD0) -> type, of its `out`s or `in`s
};

// Texture functions GLSL ES 3.00 dropped, which Mesa's ES compiler still
// accepts and WebGL 2 does not.
const std::regex kDroppedFunctions(R"(\b(texture2D|texture2DLod|texture2DProj|textureCube|textureCubeLod|shadow2D)\b)");

// The varyings `out TYPE v_SEMANTIC;` (vertex) or `in TYPE v_SEMANTIC;` (pixel) of a translation.
std::map<std::string, std::string> Varyings(const std::string& glsl, ShaderStage stage) {
    std::regex declaration(stage == ShaderStage::Vertex
                               ? R"(\bout\s+(?:(?:highp|mediump|lowp)\s+)?(\w+)\s+(v_\w+)\s*;)"
                               : R"(\bin\s+(?:(?:highp|mediump|lowp)\s+)?(\w+)\s+(v_\w+)\s*;)");
    std::map<std::string, std::string> found;
    for (std::sregex_iterator it(glsl.begin(), glsl.end(), declaration), end; it != end; ++it)
        found[(*it)[2]] = (*it)[1];
    return found;
}

// The link log of a pair, empty when it links.
std::string LinkLog(GLuint vertex, GLuint pixel) {
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, pixel);
    glLinkProgram(program);
    GLint linked = GL_FALSE, length = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(size_t(std::max(length, 1)), '\0');
    glGetProgramInfoLog(program, GLsizei(log.size()), nullptr, log.data());
    log.resize(std::strlen(log.c_str()));
    glDeleteProgram(program);
    if (linked == GL_TRUE) return {};
    return log.empty() ? "the pair does not link" : log;
}

struct PackedShader {
    std::string name;
    ShaderStage stage;
    std::string hlsl;
};

std::vector<PackedShader> PackedShaders() {
    std::vector<PackedShader> shaders;
    for (const auto& file : std::filesystem::directory_iterator(content_test::ContentDir())) {
        std::string name = file.path().filename().string();
        bool vertex = name.starts_with("vertex_"), pixel = name.starts_with("fragment_");
        if (!(vertex || pixel) || !name.ends_with(".cpp")) continue;
        bool packed = false;
        std::vector<uint8_t> bytes = content_test::PackEntry(name, &packed);
        EXPECT_TRUE(packed) << name << " is missing from data.pak";
        shaders.push_back({name, vertex ? ShaderStage::Vertex : ShaderStage::Pixel, {bytes.begin(), bytes.end()}});
    }
    std::sort(shaders.begin(), shaders.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return shaders;
}

void TranslateCompileAndLinkThePack(GlslDialect dialect, const char* language) {
    std::string error;
    std::unique_ptr<d3d9::GLContext> context = d3d9::GLContext::CreateHeadless(&error, dialect);
    if (!context) GTEST_SKIP() << "no context that compiles " << language << ": " << error;

    std::vector<Shader> vertexShaders, pixelShaders;
    for (const PackedShader& packed : PackedShaders()) {
        Shader shader{packed.name, {}, 0, {}};
        std::string log;
        if (!d3dx9::TranslateHlsl(packed.stage, packed.hlsl, dialect, &shader.glsl, &log)) {
            ADD_FAILURE() << packed.name << " does not translate to " << language << ":\n" << log;
            continue;
        }
        shader.gl = d3d9::CompileGlsl(packed.stage, shader.glsl, context->Features(), &log);
        EXPECT_NE(shader.gl, 0u) << packed.name << " does not compile as " << language << ":\n"
                                 << log << "\n"
                                 << shader.glsl;
        shader.varyings = Varyings(shader.glsl, packed.stage);
        std::smatch dropped;
        if (dialect == GlslDialect::Es300 && std::regex_search(shader.glsl, dropped, kDroppedFunctions))
            ADD_FAILURE() << packed.name << " uses " << dropped[1] << ", which " << language << " does not have";
        (packed.stage == ShaderStage::Vertex ? vertexShaders : pixelShaders).push_back(shader);
    }
    ASSERT_FALSE(vertexShaders.empty() || pixelShaders.empty()) << "no shaders in " << content_test::ContentDir();

    for (const Shader& pixel : pixelShaders) {
        bool fed = false;
        for (const Shader& vertex : vertexShaders) {
            bool writesAll = std::all_of(pixel.varyings.begin(), pixel.varyings.end(),
                                         [&](const auto& in) { return vertex.varyings.count(in.first) > 0; });
            if (!writesAll) continue;
            fed = true;
            for (const auto& [semantic, type] : pixel.varyings)
                EXPECT_EQ(vertex.varyings.at(semantic), type)
                    << vertex.name << " writes " << semantic << " as another type than " << pixel.name << " reads";
            if (!vertex.gl || !pixel.gl) continue;
            std::string log = LinkLog(vertex.gl, pixel.gl);
            EXPECT_TRUE(log.empty()) << vertex.name << " + " << pixel.name << " do not link as " << language << ":\n"
                                     << log;
        }
        EXPECT_TRUE(fed) << "no vertex shader in the pack writes every input of " << pixel.name;
    }
    for (const auto* list : {&vertexShaders, &pixelShaders})
        for (const Shader& shader : *list)
            if (shader.gl) glDeleteShader(shader.gl);
}

}  // namespace

TEST(Shaders, EveryPackedShaderTranslatesToGlsl330) {
    TranslateCompileAndLinkThePack(GlslDialect::Desktop330, "GLSL 3.30");
}

TEST(Shaders, EveryPackedShaderTranslatesToGlslEs300) {
    TranslateCompileAndLinkThePack(GlslDialect::Es300, "GLSL ES 3.00");
}

TEST(Shaders, PackedSourcesAreHlsl) {
    const std::regex glsl(R"(\b(vec[234]|mat[34]|uniform|gl_Position|oC0\s*=\s*texture)\b)");
    for (const PackedShader& packed : PackedShaders()) {
        std::smatch found;
        EXPECT_FALSE(std::regex_search(packed.hlsl, found, glsl)) << packed.name << " holds GLSL: " << found[0];
    }
}

TEST(Shaders, TheCacheBesideThePackHoldsEveryShaderForBothDialects) {
    std::vector<uint8_t> bytes = content_test::ReadFile(
        std::filesystem::path(content_test::PackPath()).replace_filename("shaders.cache").string());
    d3dx9::ShaderCache cache;
    std::string error;
    ASSERT_TRUE(cache.Parse({bytes.begin(), bytes.end()}, &error)) << error;
    EXPECT_EQ(cache.Version(), d3dx9::TranslatorVersion());
    const std::vector<PackedShader> shaders = PackedShaders();
    EXPECT_EQ(cache.Size(), 2 * shaders.size());
    for (const PackedShader& packed : shaders)
        for (GlslDialect dialect : {GlslDialect::Desktop330, GlslDialect::Es300}) {
            const std::string* cached = cache.Find(packed.stage, dialect, packed.hlsl);
            std::string live, log;
            ASSERT_NE(cached, nullptr) << packed.name;
            ASSERT_TRUE(d3dx9::TranslateHlsl(packed.stage, packed.hlsl, dialect, &live, &log)) << log;
            EXPECT_EQ(*cached, live) << packed.name;
        }
}
