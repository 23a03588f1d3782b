// D3DX stand-in: X-file parsing, DXT decoding and mip generation.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/d3dx9/d3dx9math.h"
#include "platform/d3dx9/image.h"
#include "platform/d3dx9/xfile.h"
#include "tests/platform/d3dx9/dds_builder.h"

namespace {

// A text X file with an n x n grid of quads, normals, coordinates and one material.
std::string GridXFile(int n) {
    std::string out = "xof 0303txt 0032\nFrame Grid {\n FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n";
    int vertices = (n + 1) * (n + 1);
    out += " Mesh {\n  " + std::to_string(vertices) + ";\n";
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x)
            out += "  " + std::to_string(x * 0.5) + ";0.25;" + std::to_string(y * 0.5) + ";,\n";
    out.back() = '\n';
    out[out.size() - 2] = ';';
    out += "  " + std::to_string(n * n) + ";\n";
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int a = y * (n + 1) + x;
            out += "  4;" + std::to_string(a) + "," + std::to_string(a + n + 1) + "," + std::to_string(a + n + 2) +
                   "," + std::to_string(a + 1) + ";,\n";
        }
    out[out.size() - 2] = ';';
    out += "  MeshTextureCoords { " + std::to_string(vertices) + ";";
    for (int i = 0; i < vertices; ++i) out += " 0.5;0.5;,";
    out.back() = ';';
    out +=
        " }\n  MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 10; 0;0;0;; 0;0;0;; TextureFilename { \"g.dds\"; } } "
        "}\n";
    out += " }\n}\n";
    return out;
}

void BM_ParseXGrid(benchmark::State& state) {
    std::string text = GridXFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        d3dx::XMeshData mesh;
        std::string error;
        auto result = d3dx::ParseXMesh(reinterpret_cast<const uint8_t*>(text.data()), text.size(), &mesh, &error);
        if (result != d3dx::XMeshResult::Ok) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(mesh.indices.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseXGrid)->Arg(64)->Arg(256);

void BM_DecodeDxt5(benchmark::State& state) {
    uint32_t edge = static_cast<uint32_t>(state.range(0));
    ddsfile::Header header;
    header.width = header.height = edge;
    header.mipCount = d3dx::FullMipCount(edge, edge);
    header.fourCC = ddsfile::FourCC("DXT5");
    size_t bytes = 0;
    for (uint32_t l = 0; l < header.mipCount; ++l) {
        uint32_t e = std::max(1u, edge >> l);
        bytes += size_t{(e + 3) / 4} * ((e + 3) / 4) * 16;
    }
    std::vector<uint8_t> payload(bytes);
    for (size_t i = 0; i < bytes; ++i) payload[i] = static_cast<uint8_t>(i * 131 + 7);
    auto file = ddsfile::Build(header, payload);
    for (auto _ : state) {
        d3dx::DecodedImage image;
        std::string error;
        if (!d3dx::DecodeDds(file.data(), file.size(), &image, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(image.levels.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * edge * edge);
}
BENCHMARK(BM_DecodeDxt5)->Arg(256)->Arg(1024);

void BM_GenerateMipChain(benchmark::State& state) {
    uint32_t edge = static_cast<uint32_t>(state.range(0));
    d3dx::DecodedImage source;
    source.levelCount = 1;
    source.levels.resize(1);
    source.levels[0].width = source.levels[0].height = edge;
    source.levels[0].pixels.resize(size_t{edge} * edge);
    for (size_t i = 0; i < source.levels[0].pixels.size(); ++i)
        source.levels[0].pixels[i] = static_cast<uint32_t>(i * 2654435761u);
    for (auto _ : state) {
        d3dx::DecodedImage image = source;
        d3dx::GenerateMipChain(&image);
        benchmark::DoNotOptimize(image.levels.back().pixels.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * edge * edge);
}
BENCHMARK(BM_GenerateMipChain)->Arg(512);

void BM_MatrixInverse(benchmark::State& state) {
    D3DXMATRIX m, r, t, inverse;
    D3DXMatrixRotationYawPitchRoll(&r, 0.3f, 0.2f, 0.1f);
    D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXMatrixMultiply(&m, &r, &t);
    for (auto _ : state) {
        benchmark::DoNotOptimize(D3DXMatrixInverse(&inverse, nullptr, &m));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MatrixInverse);

}  // namespace
