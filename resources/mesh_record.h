// What loading a mesh yields: the mesh, its material count and its materials
// (one per attribute subset).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx9/d3dx9.h"

struct MeshMaterial {
    std::string textureName;  // "Textures//" + file name from the mesh file, or empty
    float diffuse[4] = {0, 0, 0, 0};
};

struct MeshRecord {
    ID3DXMesh* mesh = nullptr;
    uint32_t materialCount = 0;
    std::vector<MeshMaterial> materials;
};
