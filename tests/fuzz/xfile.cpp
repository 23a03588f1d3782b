// Fuzz target: the text X-file mesh reader, on the CPU only.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx9/xfile.h"
#include "tests/platform/d3dx9/xfile_samples.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    d3dx::XMeshData mesh;
    std::string error;
    if (d3dx::ParseXMesh(data, size, &mesh, &error) == d3dx::XMeshResult::Ok) {
        // Whatever was accepted must be consistent.
        size_t faces = mesh.indices.size() / 3;
        if (mesh.indices.size() % 3 != 0 || mesh.attributes.size() != faces) __builtin_trap();
        if (mesh.normals.size() != mesh.positions.size() || mesh.texcoords.size() != mesh.positions.size())
            __builtin_trap();
        for (uint32_t index : mesh.indices)
            if (index >= mesh.positions.size()) __builtin_trap();
        for (uint32_t attribute : mesh.attributes)
            if (!mesh.materials.empty() && attribute >= mesh.materials.size()) __builtin_trap();
    }
    return 0;
}

extern "C" void FuzzSeeds(std::vector<std::vector<uint8_t>>& seeds) {
    auto add = [&](const std::string& text) { seeds.emplace_back(text.begin(), text.end()); };
    add(xsamples::kTwoFrames);
    add("xof 0303txt 0032\nMesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 2; 3;0,2,1;, 3;0,3,2;;\n"
        " MeshNormals { 2; 0;0;-1;, 0;1;0;; 2; 3;0,0,0;, 3;1,1,1;; }\n"
        " MeshTextureCoords { 4; 0;0;, 1;0;, 1;1;, 0;1;; } }\n");
    add("xof 0302txt 0064\n// comment\n# comment\nMaterial M { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFileName { "
        "\"t.png\"; } }\n"
        "Frame F { FrameTransformMatrix relative { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n"
        " Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; { M } } } { m } }\n");
    add("xof 0303bin 0032");
}
