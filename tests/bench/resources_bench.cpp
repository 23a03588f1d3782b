// Resource manager: the cost of a cache hit (what effects pay for every
// texture and shader they fetch each frame) against a miss that reads the
// pack and creates the object, on the recording Direct3D device.
#include <benchmark/benchmark.h>
#include <stb_image_write.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/win32/win32_platform.h"
#include "tools/pack/pack_writer.h"
#include "resources/resource_manager.h"

namespace {

constexpr int kVariants = 64;  // distinct textures and shaders for the miss cases

std::vector<uint8_t> Png(int size, uint8_t shade) {
    std::vector<uint8_t> pixels(size_t(size * size * 4), shade);
    std::vector<uint8_t> png;
    stbi_write_png_to_func(
        [](void* context, void* data, int length) {
            auto* out = static_cast<std::vector<uint8_t>*>(context);
            out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + length);
        },
        &png, size, size, 4, pixels.data(), size * 4);
    return png;
}

std::vector<uint8_t> Text(const std::string& text) { return {text.begin(), text.end()}; }

std::string TextureName(int i) { return "Textures//tex" + std::to_string(i) + ".png"; }
std::string ShaderName(int i) { return "fragment_" + std::to_string(i) + ".cpp"; }

// A pack the size of the demo's (about a hundred entries) on a recording device.
class Setup {
public:
    Setup() {
        Win32_SetBackend(Win32Backend::Headless);
        D3D9_SetBackend(D3D9Backend::Recording);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS params = {};
        params.BackBufferWidth = 64;
        params.BackBufferHeight = 64;
        params.Windowed = TRUE;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params,
                          &device);

        std::vector<PackFile> files = {{"first.png", Png(64, 0x80)}};
        for (int i = 0; i < kVariants; ++i) {
            files.push_back({TextureName(i).substr(10), Png(64, uint8_t(i))});
            const std::string r = std::to_string(i);
            files.push_back({ShaderName(i), Text("float4 tint : register(c" + r + ");\n" +
                                                 "float4 main() : COLOR0 { return tint * 0.5; }\n")});
        }
        std::vector<uint8_t> bytes;
        std::string error;
        BuildPack(files, 1, 0x6B, bytes, error);
        std::string pattern = (std::filesystem::temp_directory_path() / "resources_bench_XXXXXX").string();
        dir = mkdtemp(pattern.data()) ? pattern : std::string(".");
        packPath = dir + "/data.pak";
        std::ofstream(packPath, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    ~Setup() {
        if (device) device->Release();
        if (d3d) d3d->Release();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::unique_ptr<Mirel::ResourceManager> NewManager() {
        auto manager = std::make_unique<Mirel::ResourceManager>(device);
        manager->Pack().Reset();
        manager->Pack().Open(packPath.c_str());
        return manager;
    }

private:
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    std::string dir;
    std::string packPath;
};

Setup& Shared() {
    static Setup setup;
    return setup;
}

void BM_GetTextureHit(benchmark::State& state) {
    auto manager = Shared().NewManager();
    manager->GetTexture("Textures//first.png");
    for (auto _ : state) benchmark::DoNotOptimize(manager->GetTexture("Textures//first.png"));
}
BENCHMARK(BM_GetTextureHit);

// A name with no entry: nothing is cached, so every request walks the pack directory.
void BM_GetTextureMissAbsent(benchmark::State& state) {
    auto manager = Shared().NewManager();
    for (auto _ : state) benchmark::DoNotOptimize(manager->GetTexture("Textures//absent.png"));
}
BENCHMARK(BM_GetTextureMissAbsent);

// A first request: read the entry, decode a 64 x 64 PNG, create the texture with its mips.
void BM_GetTextureMissLoad(benchmark::State& state) {
    auto manager = Shared().NewManager();
    std::vector<std::string> names;
    for (int i = 0; i < kVariants; ++i) names.push_back(TextureName(i));
    int next = 0;
    for (auto _ : state) {
        if (next == kVariants) {
            state.PauseTiming();
            manager = Shared().NewManager();
            next = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(manager->GetTexture(names[size_t(next++)]));
    }
}
BENCHMARK(BM_GetTextureMissLoad);

void BM_GetPixelShaderHit(benchmark::State& state) {
    auto manager = Shared().NewManager();
    manager->GetPixelShader(ShaderName(0));
    const std::string name = ShaderName(0);
    for (auto _ : state) benchmark::DoNotOptimize(manager->GetPixelShader(name));
}
BENCHMARK(BM_GetPixelShaderHit);

// A first request: read the source, compile it (with the GL compiler), create the shader.
void BM_GetPixelShaderMissCompile(benchmark::State& state) {
    auto manager = Shared().NewManager();
    std::vector<std::string> names;
    for (int i = 0; i < kVariants; ++i) names.push_back(ShaderName(i));
    int next = 0;
    for (auto _ : state) {
        if (next == kVariants) {
            state.PauseTiming();
            manager = Shared().NewManager();
            next = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(manager->GetPixelShader(names[size_t(next++)]));
    }
}
BENCHMARK(BM_GetPixelShaderMissCompile);

}  // namespace
