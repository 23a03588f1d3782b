// Every shader source in data.pak compiles with the device's prelude both as
// desktop GLSL 3.30 and as GLSL ES 3.00 (OpenGL ES 3, WebGL 2), and every
// pixel shader links with each vertex shader that writes all of its inputs.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <regex>

#include "platform/d3d9/gl_context.h"
#include "tests/content/content_files.h"

namespace {

using d3d9::GlslDialect;
using d3d9::ShaderStage;

struct Shader {
    std::string name;
    GLuint gl = 0;
    std::map<std::string, std::string> varyings;  // name -> type of its global `out` (vertex) or `in` (pixel)
};

// Texture functions GLSL ES 3.00 dropped, which Mesa's ES compiler still
// accepts and WebGL 2 does not.
const std::regex kDroppedFunctions(R"(\b(texture2D|texture2DLod|texture2DProj|textureCube|textureCubeLod|shadow2D)\b)");

std::string WithoutComments(const std::string& text) {
    return std::regex_replace(text, std::regex(R"(//[^\n]*|/\*[\s\S]*?\*/)"), " ");
}

// The global declarations `in TYPE NAME;` or `out TYPE NAME;` of a source.
std::map<std::string, std::string> Varyings(const std::string& text, ShaderStage stage) {
    std::string code = WithoutComments(text);
    std::regex declaration(stage == ShaderStage::Vertex ? R"(\bout\s+(?:(?:highp|mediump|lowp)\s+)?(\w+)\s+(\w+)\s*;)"
                                                        : R"(\bin\s+(?:(?:highp|mediump|lowp)\s+)?(\w+)\s+(\w+)\s*;)");
    std::map<std::string, std::string> found;
    for (std::sregex_iterator it(code.begin(), code.end(), declaration), end; it != end; ++it)
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

void CompileAndLinkThePack(GlslDialect dialect, const char* language) {
    std::string error;
    std::unique_ptr<d3d9::GLContext> context = d3d9::GLContext::CreateHeadless(&error, dialect);
    if (!context) GTEST_SKIP() << "no context that compiles " << language << ": " << error;

    std::vector<Shader> vertexShaders, pixelShaders;
    for (const auto& file : std::filesystem::directory_iterator(content_test::ContentDir())) {
        std::string name = file.path().filename().string();
        bool vertex = name.starts_with("vertex_"), pixel = name.starts_with("fragment_");
        if (!(vertex || pixel) || !name.ends_with(".cpp")) continue;
        bool packed = false;
        std::vector<uint8_t> bytes = content_test::PackEntry(name, &packed);
        ASSERT_TRUE(packed) << name << " is missing from data.pak";
        std::string text(bytes.begin(), bytes.end());
        ShaderStage stage = vertex ? ShaderStage::Vertex : ShaderStage::Pixel;
        std::string log;
        Shader shader{name, d3d9::CompileGlsl(stage, text, context->Features(), &log), Varyings(text, stage)};
        EXPECT_NE(shader.gl, 0u) << name << " does not compile as " << language << ":\n" << log;
        std::smatch dropped;
        std::string code = WithoutComments(text);
        if (dialect == GlslDialect::Es300 && std::regex_search(code, dropped, kDroppedFunctions))
            ADD_FAILURE() << name << " uses " << dropped[1] << ", which " << language << " does not have";
        (vertex ? vertexShaders : pixelShaders).push_back(shader);
    }
    ASSERT_FALSE(vertexShaders.empty() || pixelShaders.empty()) << "no shaders in " << content_test::ContentDir();

    for (const Shader& pixel : pixelShaders) {
        bool fed = false;
        for (const Shader& vertex : vertexShaders) {
            bool writesAll = std::all_of(pixel.varyings.begin(), pixel.varyings.end(), [&](const auto& in) {
                auto out = vertex.varyings.find(in.first);
                return out != vertex.varyings.end() && out->second == in.second;
            });
            if (!writesAll) continue;
            fed = true;
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

TEST(Shaders, EveryPackedShaderCompilesAsGlsl330) { CompileAndLinkThePack(GlslDialect::Desktop330, "GLSL 3.30"); }

TEST(Shaders, EveryPackedShaderCompilesAsGlslEs300) { CompileAndLinkThePack(GlslDialect::Es300, "GLSL ES 3.00"); }
