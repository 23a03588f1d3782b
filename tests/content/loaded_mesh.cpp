#include "tests/content/loaded_mesh.h"

#include <algorithm>
#include <cstring>

#include "tests/content/content_files.h"

namespace content_test {

D3DXVECTOR3 LoadedMesh::FaceNormal(size_t face) const {
    const D3DXVECTOR3 &a = positions[indices[3 * face]], &b = positions[indices[3 * face + 1]],
                      &c = positions[indices[3 * face + 2]];
    D3DXVECTOR3 e1 = b - a, e2 = c - a, n;
    D3DXVec3Cross(&n, &e1, &e2);
    return n;
}

D3DXVECTOR3 LoadedMesh::FaceCentre(size_t face) const {
    return (positions[indices[3 * face]] + positions[indices[3 * face + 1]] + positions[indices[3 * face + 2]]) / 3.0f;
}

void LoadedMesh::Bounds(D3DXVECTOR3& lo, D3DXVECTOR3& hi) const {
    lo = hi = positions.at(0);
    for (const D3DXVECTOR3& p : positions) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
}

LoadedMesh LoadMesh(IDirect3DDevice9* device, const std::string& name) {
    LoadedMesh out;
    std::vector<uint8_t> bytes = PackEntry(name);
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    if (bytes.empty() ||
        FAILED(D3DXLoadMeshFromXInMemory(bytes.data(), DWORD(bytes.size()), D3DXMESH_SYSTEMMEM | D3DXMESH_32BIT, device,
                                         nullptr, &materials, nullptr, &count, &mesh)))
        return out;
    const DWORD stride = mesh->GetNumBytesPerVertex();
    void* data = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &data);
    for (DWORD v = 0; v < mesh->GetNumVertices(); ++v) {
        const auto* p = static_cast<const uint8_t*>(data) + size_t(v) * stride;
        D3DXVECTOR3 position;
        D3DXVECTOR2 uv;
        std::memcpy(&position, p, 12);
        std::memcpy(&uv, p + 24, 8);  // after the position and the normal
        out.positions.push_back(position);
        out.uvs.push_back(uv);
    }
    mesh->UnlockVertexBuffer();
    mesh->LockIndexBuffer(D3DLOCK_READONLY, &data);
    out.indices.assign(static_cast<const DWORD*>(data), static_cast<const DWORD*>(data) + 3 * mesh->GetNumFaces());
    mesh->UnlockIndexBuffer();
    DWORD* attributes = nullptr;
    mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes);
    out.attributes.assign(attributes, attributes + mesh->GetNumFaces());
    mesh->UnlockAttributeBuffer();
    if (materials) materials->Release();
    mesh->Release();
    out.loaded = true;
    return out;
}

}  // namespace content_test
