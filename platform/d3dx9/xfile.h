// The meshes of a text X file, merged into one triangle list on the CPU.
//
// What is read: Frame hierarchies with FrameTransformMatrix (a mesh in a
// frame is moved by its frame's matrix times every parent's, row vectors, so
// the innermost frame applies first), Mesh (polygons with more than three
// corners are split into fans), MeshNormals (corners whose normals differ get
// vertices of their own), MeshTextureCoords, MeshMaterialList with inline or
// referenced Materials and their TextureFilename. Other objects (animation,
// skinning, declarations, vertex colours) are passed over. Type names match
// case-insensitively ("TextureFileName" occurs in the wild).
//
// Several meshes are merged: vertices and faces are appended and each mesh's
// material indices are offset by the materials already collected. When no
// mesh has a material list the result has no materials and every face has
// attribute 0; when only some have one, the others get one white material.
//
// Counts are checked against the members actually present, indices against
// what they index; any inconsistency fails the whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx9/d3dx9math.h"

namespace d3dx {

struct XMaterialData {
    D3DCOLORVALUE diffuse{1, 1, 1, 1};
    float power = 0;
    D3DCOLORVALUE specular{0, 0, 0, 1};
    D3DCOLORVALUE emissive{0, 0, 0, 1};
    std::string textureFile;  // empty when the material has no texture
};

struct XMeshData {
    std::vector<D3DXVECTOR3> positions;
    std::vector<D3DXVECTOR3> normals;    // zero where the file gives none
    std::vector<D3DXVECTOR2> texcoords;  // zero where the file gives none
    std::vector<uint32_t> indices;       // three per triangle
    std::vector<uint32_t> attributes;    // material index per triangle
    std::vector<XMaterialData> materials;
};

enum class XMeshResult { Ok, NotText, Malformed };

// NotText for binary, compressed or non-X data; Malformed for a broken or
// mesh-less text file. `error` says why.
XMeshResult ParseXMesh(const uint8_t* data, size_t size, XMeshData* mesh, std::string* error);

}  // namespace d3dx
