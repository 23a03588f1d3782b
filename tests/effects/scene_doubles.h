// For scene tests: scene meshes swapped for doubles, real meshes built from
// triangles, and the names the recording gives device objects.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "effects/shatter_mesh.h"
#include "platform/d3d9/d3d9_platform.h"
#include "resources/mesh_record.h"
#include "resources/resource_manager.h"
#include "scene/mesh_object.h"
#include "shell/demo_state.h"
#include "tests/support/fakes.h"
#include "tests/support/scene_mesh.h"

// Scene mesh `index` becomes `mesh` with `subsets` materials.
inline void PutSceneMesh(size_t index, ID3DXMesh* mesh, uint32_t subsets) {
    g_demoState.meshes[index].mesh = mesh;
    g_demoState.meshes[index].materialCount = subsets;
}

inline std::vector<float> Floats(const D3DXVECTOR4& v) { return {v.x, v.y, v.z, v.w}; }

// `m` as the vertex shader reads it from c0-c3.
inline D3DXMATRIX AsRegisters(const D3DXMATRIX& m) {
    D3DXMATRIX transposed;
    D3DXMatrixTranspose(&transposed, &m);
    return transposed;
}

// Every three corners a triangle with vertices of its own, facing -z.
inline MeshHandle Triangles(IDirect3DDevice9* device, const std::vector<D3DXVECTOR3>& corners) {
    std::vector<SceneVertex> vertices;
    std::vector<DWORD> indices;
    for (const D3DXVECTOR3& corner : corners) {
        indices.push_back(static_cast<DWORD>(vertices.size()));
        vertices.push_back({corner, {0, 0, -1}, {0.5f, 0.5f}, {1, 0, 0}, {0, 1, 0}});
    }
    return SceneMesh(device, vertices, indices);
}

// The corners of an upright rectangle in the plane z, as two triangles wound
// clockwise as seen from -z.
inline std::vector<D3DXVECTOR3> Wall(float left, float right, float bottom, float top, float z) {
    return {{left, top, z}, {right, top, z}, {right, bottom, z}, {left, top, z}, {right, bottom, z}, {left, bottom, z}};
}

inline std::vector<ShatterVertex> ShatterVertices(ID3DXMesh* mesh) {
    void* data = nullptr;
    std::vector<ShatterVertex> out(mesh->GetNumVertices());
    if (SUCCEEDED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data))) {
        std::copy_n(static_cast<ShatterVertex*>(data), out.size(), out.begin());
        mesh->UnlockVertexBuffer();
    }
    return out;
}

// The recording's name of a device object ("PixelShader#12", "Texture#3"),
// read back by binding it once (one more call in the log).
inline std::string RecordedName(IDirect3DDevice9* device, IDirect3DPixelShader9* shader) {
    device->SetPixelShader(shader);
    const std::string& line = D3D9_RecordedCalls(device).back();
    return line.substr(15, line.size() - 16);  // inside "SetPixelShader(...)"
}
inline std::string RecordedName(IDirect3DDevice9* device, IDirect3DBaseTexture9* texture) {
    device->SetTexture(15, texture);
    const std::string& line = D3D9_RecordedCalls(device).back();
    return line.substr(15, line.size() - 16);  // inside "SetTexture(15, ...)"
}
inline std::string RecordedName(IDirect3DDevice9* device, IDirect3DVertexShader9* shader) {
    device->SetVertexShader(shader);
    const std::string& line = D3D9_RecordedCalls(device).back();
    return line.substr(16, line.size() - 17);  // inside "SetVertexShader(...)"
}
