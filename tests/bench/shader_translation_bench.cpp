// The shader compiler stand-in's translation, HLSL to GLSL, of every shader
// source in the build's content folder (what data.pak holds), one dialect at
// a time, against finding the translation in the shader cache: what a start
// without shaders.cache would pay per shader.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/d3dx9/hlsl_translator.h"
#include "platform/d3dx9/shader_cache.h"

namespace {

struct Source {
    d3d9::ShaderStage stage;
    std::string hlsl;
};

const std::vector<Source>& PackedSources() {
    static const std::vector<Source> sources = [] {
        std::vector<Source> found;
        for (const auto& file : std::filesystem::directory_iterator(std::string(DEMO_BINARY_DIR) + "/content")) {
            const std::string name = file.path().filename().string();
            const bool vertex = name.starts_with("vertex_"), pixel = name.starts_with("fragment_");
            if (!(vertex || pixel) || !name.ends_with(".cpp")) continue;
            std::ifstream in(file.path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            found.push_back({vertex ? d3d9::ShaderStage::Vertex : d3d9::ShaderStage::Pixel, text.str()});
        }
        return found;
    }();
    return sources;
}

// One iteration translates every packed shader; the per-shader counter is the mean.
void BM_TranslateEveryPackedShader(benchmark::State& state) {
    const auto dialect = state.range(0) ? d3d9::GlslDialect::Es300 : d3d9::GlslDialect::Desktop330;
    const std::vector<Source>& sources = PackedSources();
    if (sources.empty()) {
        state.SkipWithError("no shaders in the build's content folder");
        return;
    }
    std::string glsl, error;
    for (auto _ : state)
        for (const Source& source : sources)
            if (!d3dx9::TranslateHlsl(source.stage, source.hlsl, dialect, &glsl, &error))
                state.SkipWithError(error.c_str());
    state.counters["shaders"] = double(sources.size());
    state.counters["per_shader"] = benchmark::Counter(
        double(sources.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TranslateEveryPackedShader)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FindEveryPackedShaderInTheCache(benchmark::State& state) {
    const std::vector<Source>& sources = PackedSources();
    d3dx9::ShaderCache cache;
    for (const Source& source : sources) cache.Add(source.stage, d3d9::GlslDialect::Desktop330, source.hlsl, "glsl");
    for (auto _ : state)
        for (const Source& source : sources)
            benchmark::DoNotOptimize(cache.Find(source.stage, d3d9::GlslDialect::Desktop330, source.hlsl));
    state.counters["per_shader"] = benchmark::Counter(
        double(sources.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FindEveryPackedShaderInTheCache)->Unit(benchmark::kMicrosecond);

}  // namespace
