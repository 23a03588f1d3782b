// Translated shaders kept ready: the GLSL and GLSL ES that HLSL sources
// translate to (hlsl_translator.h), found by a hash of the HLSL text, its
// stage and the dialect. The content build fills a cache file for the pack's
// shaders ("shaders.cache", beside the pack), so that the demo starts without
// translating; a source not in it is translated live.
//
// The file records the translator version it was made with; a build with
// another translator translates live instead. A build without a translator
// (the web page) takes whatever the file holds.
//
// File layout, little-endian:
//   "D3DXGLSL"  u32 format (1)  u32 n + n bytes translator version
//   u32 entries, each: u64 key  u32 n + n bytes GLSL
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/d3d9/shader_code.h"

namespace d3dx9 {

uint64_t ShaderCacheKey(d3d9::ShaderStage stage, d3d9::GlslDialect dialect, const std::string& hlsl);

class ShaderCache {
public:
    void Add(d3d9::ShaderStage stage, d3d9::GlslDialect dialect, const std::string& hlsl, std::string glsl);
    // The GLSL of a source, or null.
    const std::string* Find(d3d9::ShaderStage stage, d3d9::GlslDialect dialect, const std::string& hlsl) const;
    size_t Size() const { return entries.size(); }

    const std::string& Version() const { return version; }
    void SetVersion(std::string made) { version = std::move(made); }

    std::string Serialize() const;
    // False, with the cache left empty and `error` saying why, for anything
    // that is not a whole cache file.
    bool Parse(const std::string& bytes, std::string* error);

private:
    std::string version;
    std::map<uint64_t, std::string> entries;
};

}  // namespace d3dx9
