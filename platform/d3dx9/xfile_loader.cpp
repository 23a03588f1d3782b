// D3DXLoadMeshFromXInMemory: a parsed X file turned into an ID3DXMesh with
// its material buffer.
//
// The mesh has FVF XYZ | NORMAL | TEX1, faces sorted by material (so each
// material is one run of the attribute table), and 16-bit indices unless
// D3DXMESH_32BIT is asked for or the vertices do not fit 16 bits. The
// material buffer holds numMaterials D3DXMATERIAL records followed by their
// texture file names; a file without materials gives no buffer and a count
// of 0, every face then having attribute 0. A file parsed ahead
// (D3DX_DecodeAhead) is taken as it is.
#include <algorithm>
#include <cstring>
#include <map>
#include <numeric>

#include "platform/d3dx9/decoded_files.h"
#include "platform/d3dx9/mesh.h"
#include "platform/d3dx9/xfile.h"

namespace {

struct XVertex {
    D3DXVECTOR3 position;
    D3DXVECTOR3 normal;
    D3DXVECTOR2 texcoord;
};
static_assert(sizeof(XVertex) == 32);

const D3DVERTEXELEMENT9 kXVertexDeclaration[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END(),
};

HRESULT MakeMaterialBuffer(const std::vector<d3dx::XMaterialData>& materials, ID3DXBuffer** buffer) {
    size_t size = materials.size() * sizeof(D3DXMATERIAL);
    for (const auto& m : materials)
        if (!m.textureFile.empty()) size += m.textureFile.size() + 1;
    HRESULT hr = D3DXCreateBuffer(static_cast<DWORD>(size), buffer);
    if (FAILED(hr)) return hr;
    auto* bytes = static_cast<char*>((*buffer)->GetBufferPointer());
    auto* records = reinterpret_cast<D3DXMATERIAL*>(bytes);
    char* names = bytes + materials.size() * sizeof(D3DXMATERIAL);
    for (size_t i = 0; i < materials.size(); ++i) {
        const d3dx::XMaterialData& m = materials[i];
        D3DXMATERIAL& record = records[i];
        record.MatD3D = D3DMATERIAL9{};
        record.MatD3D.Diffuse = m.diffuse;
        record.MatD3D.Specular = m.specular;
        record.MatD3D.Emissive = m.emissive;
        record.MatD3D.Power = m.power;
        record.pTextureFilename = nullptr;
        if (!m.textureFile.empty()) {
            std::memcpy(names, m.textureFile.c_str(), m.textureFile.size() + 1);
            record.pTextureFilename = names;
            names += m.textureFile.size() + 1;
        }
    }
    return D3D_OK;
}

// Three entries per face: the face across each edge, or 0xFFFFFFFF.
HRESULT MakeAdjacency(const std::vector<uint32_t>& indices, ID3DXBuffer** buffer) {
    size_t faces = indices.size() / 3;
    HRESULT hr = D3DXCreateBuffer(static_cast<DWORD>(std::max<size_t>(faces, 1) * 3 * sizeof(DWORD)), buffer);
    if (FAILED(hr)) return hr;
    auto* adjacency = static_cast<DWORD*>((*buffer)->GetBufferPointer());
    std::fill(adjacency, adjacency + faces * 3, 0xFFFFFFFFu);
    std::map<std::pair<uint32_t, uint32_t>, size_t> open;  // undirected edge -> slot of its first face
    for (size_t slot = 0; slot < faces * 3; ++slot) {
        size_t face = slot / 3;
        uint32_t a = indices[slot], b = indices[face * 3 + (slot + 1) % 3];
        auto key = std::minmax(a, b);
        auto [found, added] = open.try_emplace(key, slot);
        if (added) continue;
        size_t other = found->second;
        if (adjacency[other] == 0xFFFFFFFFu && other / 3 != face) {
            adjacency[other] = static_cast<DWORD>(face);
            adjacency[slot] = static_cast<DWORD>(other / 3);
        }
    }
    return D3D_OK;
}

template <class Index>
void StoreIndices(const std::vector<uint32_t>& indices, const std::vector<uint32_t>& order, void* target) {
    auto* out = static_cast<Index*>(target);
    for (size_t f = 0; f < order.size(); ++f)
        for (size_t k = 0; k < 3; ++k) out[f * 3 + k] = static_cast<Index>(indices[size_t{order[f]} * 3 + k]);
}

}  // namespace

HRESULT D3DXLoadMeshFromXInMemory(LPCVOID memory, DWORD size, DWORD options, IDirect3DDevice9* device,
                                  ID3DXBuffer** adjacency, ID3DXBuffer** materials, ID3DXBuffer** effectInstances,
                                  DWORD* numMaterials, ID3DXMesh** mesh) {
    if (adjacency) *adjacency = nullptr;
    if (materials) *materials = nullptr;
    if (effectInstances) *effectInstances = nullptr;
    if (numMaterials) *numMaterials = 0;
    if (!mesh) return D3DERR_INVALIDCALL;
    *mesh = nullptr;
    if (!device || (!memory && size != 0)) return D3DERR_INVALIDCALL;

    if (size == 0) return D3DXERR_INVALIDDATA;
    d3dx::XMeshData data;
    const auto* bytes = static_cast<const uint8_t*>(memory);
    if (std::unique_ptr<d3dx::DecodedFile> ahead = d3dx::TakeDecodedFile(bytes, size); ahead && ahead->isMesh) {
        if (!ahead->ok) return D3DXERR_INVALIDDATA;
        data = std::move(ahead->mesh);
    } else if (d3dx::ParseXMesh(bytes, size, &data, nullptr) != d3dx::XMeshResult::Ok) {
        return D3DXERR_INVALIDDATA;
    }

    DWORD faceCount = static_cast<DWORD>(data.attributes.size());
    DWORD vertexCount = static_cast<DWORD>(data.positions.size());
    if (vertexCount > 0x10000) options |= D3DXMESH_32BIT;
    std::vector<uint32_t> order(faceCount);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return data.attributes[a] < data.attributes[b]; });

    ID3DXMesh* created = nullptr;
    HRESULT hr = D3DXCreateMesh(faceCount, vertexCount, options, kXVertexDeclaration, device, &created);
    if (FAILED(hr)) return hr;

    void* target = nullptr;
    if (SUCCEEDED(hr = created->LockVertexBuffer(0, &target))) {
        auto* vertices = static_cast<XVertex*>(target);
        for (DWORD v = 0; v < vertexCount; ++v)
            vertices[v] = XVertex{data.positions[v], data.normals[v], data.texcoords[v]};
        created->UnlockVertexBuffer();
    }
    if (SUCCEEDED(hr) && SUCCEEDED(hr = created->LockIndexBuffer(0, &target))) {
        if (options & D3DXMESH_32BIT) {
            StoreIndices<uint32_t>(data.indices, order, target);
        } else {
            StoreIndices<uint16_t>(data.indices, order, target);
        }
        created->UnlockIndexBuffer();
    }
    DWORD* attributes = nullptr;
    if (SUCCEEDED(hr) && SUCCEEDED(hr = created->LockAttributeBuffer(0, &attributes))) {
        for (DWORD f = 0; f < faceCount; ++f) attributes[f] = data.attributes[order[f]];
        created->UnlockAttributeBuffer();
    }
    if (SUCCEEDED(hr) && materials && !data.materials.empty()) hr = MakeMaterialBuffer(data.materials, materials);
    if (SUCCEEDED(hr) && adjacency) {
        std::vector<uint32_t> sorted(data.indices.size());
        for (size_t f = 0; f < order.size(); ++f)
            for (size_t k = 0; k < 3; ++k) sorted[f * 3 + k] = data.indices[size_t{order[f]} * 3 + k];
        hr = MakeAdjacency(sorted, adjacency);
    }
    if (FAILED(hr)) {
        created->Release();
        if (materials && *materials) (*materials)->Release(), *materials = nullptr;
        if (adjacency && *adjacency) (*adjacency)->Release(), *adjacency = nullptr;
        return hr;
    }
    if (numMaterials) *numMaterials = static_cast<DWORD>(data.materials.size());
    *mesh = created;
    return D3D_OK;
}
