#include "tools/contentgen/mesh.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace gen {

uint32_t Mesh::AddVertex(Vec3 position, Vec2 uv, Vec3 normal) {
    positions.push_back(position);
    uvs.push_back(uv);
    normals.push_back(normal);
    return uint32_t(positions.size() - 1);
}

void Mesh::AddTriangle(uint32_t a, uint32_t b, uint32_t c, uint32_t material) {
    faces.push_back({a, b, c});
    faceMaterials.push_back(material);
}

void Mesh::AddQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t material) {
    AddTriangle(a, b, c, material);
    AddTriangle(a, c, d, material);
}

void Mesh::AddTriangleFacing(uint32_t a, uint32_t b, uint32_t c, uint32_t material, Vec3 facing) {
    Vec3 n = Cross(positions[b] - positions[a], positions[c] - positions[a]);
    if (Dot(n, facing) < 0) std::swap(b, c);
    AddTriangle(a, b, c, material);
}

void Mesh::ComputeNormals() {
    std::vector<Vec3> sum(positions.size());
    for (const auto& f : faces) {
        Vec3 n = Cross(positions[f[1]] - positions[f[0]], positions[f[2]] - positions[f[0]]);
        for (uint32_t i : f) sum[i] += n;
    }
    for (size_t i = 0; i < sum.size(); ++i) normals[i] = Normalize(sum[i]);
}

void Mesh::Append(const Mesh& other) {
    uint32_t base = uint32_t(positions.size()), materialBase = uint32_t(materials.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    normals.insert(normals.end(), other.normals.begin(), other.normals.end());
    uvs.insert(uvs.end(), other.uvs.begin(), other.uvs.end());
    for (size_t i = 0; i < other.faces.size(); ++i) {
        const auto& f = other.faces[i];
        AddTriangle(f[0] + base, f[1] + base, f[2] + base, other.faceMaterials[i] + materialBase);
    }
    materials.insert(materials.end(), other.materials.begin(), other.materials.end());
}

void Mesh::Bounds(Vec3& lo, Vec3& hi) const {
    lo = hi = positions.empty() ? Vec3{} : positions[0];
    for (const Vec3& p : positions) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
}

Mesh Mesh::Compacted() const {
    Mesh out;
    out.materials = materials;
    std::vector<uint32_t> remap(positions.size(), UINT32_MAX);
    for (size_t f = 0; f < faces.size(); ++f) {
        std::array<uint32_t, 3> face;
        for (int k = 0; k < 3; ++k) {
            uint32_t& slot = remap[faces[f][k]];
            if (slot == UINT32_MAX)
                slot = out.AddVertex(positions[faces[f][k]], uvs[faces[f][k]], normals[faces[f][k]]);
            face[k] = slot;
        }
        out.AddTriangle(face[0], face[1], face[2], faceMaterials[f]);
    }
    return out;
}

Mesh Mesh::Unwelded() const {
    Mesh out;
    out.materials = materials;
    for (size_t f = 0; f < faces.size(); ++f) {
        std::array<uint32_t, 3> face;
        for (int k = 0; k < 3; ++k)
            face[k] = out.AddVertex(positions[faces[f][k]], uvs[faces[f][k]], normals[faces[f][k]]);
        out.AddTriangle(face[0], face[1], face[2], faceMaterials[f]);
    }
    return out;
}

namespace {

// An X FLOAT: the shortest decimal that reads back as the same float, with
// a decimal point even where the value is whole ("-2.0"; other readers take
// "-2" as an integer only) and no exponent ("-0" as "0.0"). A value that is
// not a finite number is a fault of the mesh builder.
std::string Num(float v) {
    if (!std::isfinite(v)) {
        std::fprintf(stderr, "contentgen: a mesh holds a value that is not a finite number\n");
        std::exit(1);
    }
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, v == 0.0f ? 0.0f : v, std::chars_format::fixed);
    std::string s(buffer, written.ptr);
    if (s.find('.') == std::string::npos) s += ".0";
    return s;
}

void WriteVectors(std::string& out, const std::vector<Vec3>& v) {
    out += "  " + std::to_string(v.size()) + ";\n";
    for (size_t i = 0; i < v.size(); ++i)
        out += "  " + Num(v[i].x) + ";" + Num(v[i].y) + ";" + Num(v[i].z) + ";" + (i + 1 < v.size() ? ",\n" : ";\n");
}

void WriteFaces(std::string& out, const Mesh& m) {
    out += "  " + std::to_string(m.faces.size()) + ";\n";
    for (size_t i = 0; i < m.faces.size(); ++i) {
        const auto& f = m.faces[i];
        out += "  3;" + std::to_string(f[0]) + "," + std::to_string(f[1]) + "," + std::to_string(f[2]) + ";" +
               (i + 1 < m.faces.size() ? ",\n" : ";\n");
    }
}

void WriteMesh(std::string& out, const std::string& name, const Mesh& m) {
    out += " Mesh " + name + " {\n";
    WriteVectors(out, m.positions);
    WriteFaces(out, m);
    out += "  MeshNormals {\n";
    WriteVectors(out, m.normals);
    WriteFaces(out, m);
    out += "  }\n  MeshTextureCoords {\n  " + std::to_string(m.uvs.size()) + ";\n";
    for (size_t i = 0; i < m.uvs.size(); ++i)
        out += "  " + Num(m.uvs[i].x) + ";" + Num(m.uvs[i].y) + ";" + (i + 1 < m.uvs.size() ? ",\n" : ";\n");
    out += "  }\n  MeshMaterialList {\n  " + std::to_string(m.materials.size()) + ";\n  " +
           std::to_string(m.faces.size()) + ";\n";
    for (size_t i = 0; i < m.faceMaterials.size(); ++i)
        out += "  " + std::to_string(m.faceMaterials[i]) + (i + 1 < m.faceMaterials.size() ? ",\n" : ";\n");
    for (const Material& mat : m.materials) {
        out += "  Material " + mat.name + " {\n   " + Num(mat.diffuse.r) + ";" + Num(mat.diffuse.g) + ";" +
               Num(mat.diffuse.b) + ";" + Num(mat.diffuse.a) + ";;\n   " + Num(mat.power) + ";\n   " +
               Num(mat.specular.x) + ";" + Num(mat.specular.y) + ";" + Num(mat.specular.z) + ";;\n   " +
               Num(mat.emissive.x) + ";" + Num(mat.emissive.y) + ";" + Num(mat.emissive.z) + ";;\n";
        if (!mat.texture.empty()) out += "   TextureFilename {\n    \"" + mat.texture + "\";\n   }\n";
        out += "  }\n";
    }
    out += "  }\n }\n";
}

}  // namespace

std::string WriteXFile(const std::string& frameName, const std::vector<MeshPart>& parts) {
    std::string out = "xof 0303txt 0032\n\nFrame " + frameName + " {\n";
    out += " FrameTransformMatrix {\n  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n }\n";
    for (const MeshPart& part : parts) WriteMesh(out, part.name, part.mesh->Compacted());
    out += "}\n";
    return out;
}

}  // namespace gen
