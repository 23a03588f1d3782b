// An indexed triangle mesh as the generator builds it (shared vertices with
// position, normal and texture coordinate; triangles tagged with a material),
// and the writer that turns it into a text DirectX X file.
//
// Winding: a triangle (a, b, c) faces the side where Cross(b - a, c - a)
// points, which in the left-handed world of the demo is the side from which
// it is seen clockwise, the side Direct3D draws with counter-clockwise culling.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/contentgen/image.h"
#include "tools/contentgen/vecmath.h"

namespace gen {

struct Material {
    std::string name;
    Rgba diffuse{1, 1, 1, 1};
    float power = 10;
    Vec3 specular{0.2f, 0.2f, 0.2f};
    Vec3 emissive{0, 0, 0};
    std::string texture;  // bare file name, or empty
};

struct Mesh {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<Vec2> uvs;
    std::vector<std::array<uint32_t, 3>> faces;
    std::vector<uint32_t> faceMaterials;
    std::vector<Material> materials;

    uint32_t AddVertex(Vec3 position, Vec2 uv, Vec3 normal = {0, 1, 0});
    void AddTriangle(uint32_t a, uint32_t b, uint32_t c, uint32_t material);
    void AddQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t material);  // (a, b, c), (a, c, d)
    // Adds the triangle wound so that it faces along `facing`.
    void AddTriangleFacing(uint32_t a, uint32_t b, uint32_t c, uint32_t material, Vec3 facing);
    // Area-weighted vertex normals from the faces.
    void ComputeNormals();
    // Adds `other`'s vertices, faces and materials (its material indices shifted).
    void Append(const Mesh& other);
    void Bounds(Vec3& lo, Vec3& hi) const;
    // A copy without the vertices that no face uses.
    Mesh Compacted() const;
    // A copy in which every face has three vertices of its own (normals kept
    // as they are), so that the faces can come apart.
    Mesh Unwelded() const;
};

// Text X file ("xof 0303txt 0032"): one frame holding one mesh per part, each
// with MeshNormals, MeshTextureCoords and a MeshMaterialList of inline
// materials, vertices no face uses left out. Numbers are written with fixed
// precision, so equal meshes give equal bytes.
struct MeshPart {
    std::string name;
    const Mesh* mesh;
};
std::string WriteXFile(const std::string& frameName, const std::vector<MeshPart>& parts);

}  // namespace gen
