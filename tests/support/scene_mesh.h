// Meshes in the layout of the scene meshes (position, normal, texture
// coordinates, tangent, binormal) made from vertices and 32-bit indices, all
// faces in subset 0, for the mesh and scene tests.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/d3dx9/d3dx9.h"
#include "resources/resource_manager.h"

struct SceneVertex {
    D3DXVECTOR3 position, normal;
    D3DXVECTOR2 uv;
    D3DXVECTOR3 tangent, binormal;
};
static_assert(sizeof(SceneVertex) == 56);

struct ReleaseMesh {
    void operator()(ID3DXMesh* mesh) const { mesh->Release(); }
};
using MeshHandle = std::unique_ptr<ID3DXMesh, ReleaseMesh>;

// A managed 32-bit mesh in that layout; null when it cannot be made.
inline MeshHandle SceneMesh(IDirect3DDevice9* device, const std::vector<SceneVertex>& vertices,
                            const std::vector<DWORD>& indices) {
    ID3DXMesh* mesh = nullptr;
    const DWORD faces = static_cast<DWORD>(indices.size() / 3);
    if (FAILED(D3DXCreateMesh(faces, static_cast<DWORD>(vertices.size()), D3DXMESH_MANAGED | D3DXMESH_32BIT,
                              kMeshVertexDeclaration, device, &mesh)))
        return nullptr;
    void* data = nullptr;
    DWORD* attributes = nullptr;
    mesh->LockVertexBuffer(0, &data);
    std::copy(vertices.begin(), vertices.end(), static_cast<SceneVertex*>(data));
    mesh->UnlockVertexBuffer();
    mesh->LockIndexBuffer(0, &data);
    std::copy(indices.begin(), indices.end(), static_cast<DWORD*>(data));
    mesh->UnlockIndexBuffer();
    mesh->LockAttributeBuffer(0, &attributes);
    std::fill(attributes, attributes + faces, 0u);
    mesh->UnlockAttributeBuffer();
    return MeshHandle(mesh);
}
