// Fuzz target for the shader cache file: a parse that succeeds gives a cache
// that writes back to the same bytes and answers lookups; one that fails
// leaves the cache empty.
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/d3dx9/shader_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    d3dx9::ShaderCache cache;
    std::string error;
    if (!cache.Parse(bytes, &error)) {
        if (cache.Size() != 0 || error.empty()) std::abort();
        return 0;
    }
    d3dx9::ShaderCache again;
    if (!again.Parse(cache.Serialize(), &error) || again.Size() != cache.Size() || again.Version() != cache.Version())
        std::abort();
    cache.Find(d3d9::ShaderStage::Pixel, d3d9::GlslDialect::Es300, "float4 main() : COLOR0 { return 1.0; }");
    return 0;
}

extern "C" void FuzzSeeds(std::vector<std::vector<uint8_t>>& seeds) {
    d3dx9::ShaderCache cache;
    cache.SetVersion("glslang 12.0.0, SPIRV-Cross 0.54.0");
    seeds.push_back({});
    auto add = [&] {
        const std::string bytes = cache.Serialize();
        seeds.emplace_back(bytes.begin(), bytes.end());
    };
    add();
    cache.Add(d3d9::ShaderStage::Vertex, d3d9::GlslDialect::Desktop330, "a", "void main() {}\n");
    add();
    cache.Add(d3d9::ShaderStage::Pixel, d3d9::GlslDialect::Es300, "b", std::string(300, 'x'));
    add();
}
