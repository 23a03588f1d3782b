// shadercache OUT FOLDER: translates every shader source in FOLDER (the pack's
// entries "vertex_*.cpp" and "fragment_*.cpp", HLSL) to GLSL 3.30 and GLSL ES
// 3.00 and writes the translations to OUT, for D3DXCompileShader to find.
// A source that does not translate is an error, named with its message.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/d3dx9/hlsl_translator.h"
#include "platform/d3dx9/shader_cache.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: shadercache OUT FOLDER\n");
        return 2;
    }
    d3dx9::ShaderCache cache;
    cache.SetVersion(d3dx9::TranslatorVersion());
    std::error_code error;
    for (const fs::directory_entry& file : fs::directory_iterator(argv[2], error)) {
        const std::string name = file.path().filename().string();
        const bool vertex = name.starts_with("vertex_"), pixel = name.starts_with("fragment_");
        if (!(vertex || pixel) || !name.ends_with(".cpp")) continue;
        std::ifstream in(file.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const d3d9::ShaderStage stage = vertex ? d3d9::ShaderStage::Vertex : d3d9::ShaderStage::Pixel;
        for (d3d9::GlslDialect dialect : {d3d9::GlslDialect::Desktop330, d3d9::GlslDialect::Es300}) {
            std::string glsl, message;
            if (!d3dx9::TranslateHlsl(stage, text.str(), dialect, &glsl, &message)) {
                std::fprintf(stderr, "shadercache: %s does not translate:\n%s", name.c_str(), message.c_str());
                return 1;
            }
            cache.Add(stage, dialect, text.str(), std::move(glsl));
        }
    }
    if (error) {
        std::fprintf(stderr, "shadercache: cannot read %s: %s\n", argv[2], error.message().c_str());
        return 1;
    }
    const std::string temporary = std::string(argv[1]) + ".part";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    const std::string bytes = cache.Serialize();
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out || (fs::rename(temporary, argv[1], error), error)) {
        std::fprintf(stderr, "shadercache: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
