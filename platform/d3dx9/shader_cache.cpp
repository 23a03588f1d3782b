#include "platform/d3dx9/shader_cache.h"

#include <cstring>

namespace d3dx9 {

namespace {

constexpr char kMagic[8] = {'D', '3', 'D', 'X', 'G', 'L', 'S', 'L'};
constexpr uint32_t kFormat = 1;

void PutWord(std::string* out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(char((value >> (8 * i)) & 0xff));
}

void PutText(std::string* out, const std::string& text) {
    PutWord(out, text.size(), 4);
    out->append(text);
}

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes(bytes) {}
    bool Word(uint64_t* value, int size) {
        if (bytes.size() - at < size_t(size)) return false;
        *value = 0;
        for (int i = 0; i < size; ++i) *value |= uint64_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        at += size_t(size);
        return true;
    }
    bool Text(std::string* text) {
        uint64_t size = 0;
        if (!Word(&size, 4) || bytes.size() - at < size) return false;
        text->assign(bytes, at, size);
        at += size;
        return true;
    }
    bool Skip(size_t size) {
        if (bytes.size() - at < size) return false;
        at += size;
        return true;
    }
    bool AtEnd() const { return at == bytes.size(); }

private:
    const std::string& bytes;
    size_t at = 0;
};

}  // namespace

uint64_t ShaderCacheKey(d3d9::ShaderStage stage, d3d9::GlslDialect dialect, const std::string& hlsl) {
    uint64_t hash = 0xcbf29ce484222325ull;  // 64-bit FNV-1a over stage, dialect and text
    auto mix = [&hash](unsigned char byte) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    };
    mix(static_cast<unsigned char>(stage));
    mix(static_cast<unsigned char>(dialect));
    for (char ch : hlsl) mix(static_cast<unsigned char>(ch));
    return hash;
}

void ShaderCache::Add(d3d9::ShaderStage stage, d3d9::GlslDialect dialect, const std::string& hlsl, std::string glsl) {
    entries[ShaderCacheKey(stage, dialect, hlsl)] = std::move(glsl);
}

const std::string* ShaderCache::Find(d3d9::ShaderStage stage, d3d9::GlslDialect dialect,
                                     const std::string& hlsl) const {
    auto found = entries.find(ShaderCacheKey(stage, dialect, hlsl));
    return found == entries.end() ? nullptr : &found->second;
}

std::string ShaderCache::Serialize() const {
    std::string out(kMagic, sizeof kMagic);
    PutWord(&out, kFormat, 4);
    PutText(&out, version);
    PutWord(&out, entries.size(), 4);
    for (const auto& [key, glsl] : entries) {
        PutWord(&out, key, 8);
        PutText(&out, glsl);
    }
    return out;
}

bool ShaderCache::Parse(const std::string& bytes, std::string* error) {
    entries.clear();
    version.clear();
    Reader reader(bytes);
    uint64_t format = 0, count = 0;
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        *error = "not a shader cache";
        return false;
    }
    reader.Skip(sizeof kMagic);
    if (!reader.Word(&format, 4) || format != kFormat) {
        *error = "shader cache format " + std::to_string(format) + ", not " + std::to_string(kFormat);
        return false;
    }
    std::string made;
    if (!reader.Text(&made) || !reader.Word(&count, 4)) {
        *error = "the shader cache is cut short";
        return false;
    }
    std::map<uint64_t, std::string> read;
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t key = 0;
        std::string glsl;
        if (!reader.Word(&key, 8) || !reader.Text(&glsl)) {
            *error = "the shader cache is cut short";
            return false;
        }
        read[key] = std::move(glsl);
    }
    if (!reader.AtEnd()) {
        *error = "the shader cache has bytes after its last entry";
        return false;
    }
    version = std::move(made);
    entries = std::move(read);
    return true;
}

}  // namespace d3dx9
