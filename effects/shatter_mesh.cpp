#include "effects/shatter_mesh.h"

#include <cstdint>

const D3DVERTEXELEMENT9 kShatterVertexDeclaration[8] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    {0, 32, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TANGENT, 0},
    {0, 44, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BINORMAL, 0},
    {0, 56, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 1},
    {0, 72, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 2},
    D3DDECL_END(),
};

namespace {

// A linear congruential generator; bits 16 to 30 of the state are the draw.
constexpr uint32_t kRandStart = 1;
uint32_t g_randState = kRandStart;

float RandomComponent(int r) { return static_cast<float>(static_cast<double>(r) * 360.0 / 2147483648.0); }

// The centroid of three points, each coordinate summed in extended precision.
D3DXVECTOR3 Centroid(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c) {
    auto third = [](float p, float q, float r) {
        long double sum = static_cast<long double>(p) + q + r;
        return static_cast<float>(sum / 3.0L);
    };
    return D3DXVECTOR3(third(a.x, b.x, c.x), third(a.y, b.y, c.y), third(a.z, b.z, c.z));
}

}  // namespace

int rand15() {
    g_randState = g_randState * 214013u + 2531011u;
    return static_cast<int>((g_randState >> 16) & 0x7FFFu);
}

void ResetRand15() { g_randState = kRandStart; }

ID3DXMesh* BuildShatterMesh(ID3DXMesh* source) {
    if (!source) return nullptr;
    IDirect3DDevice9* device = nullptr;
    source->GetDevice(&device);
    ID3DXMesh* copy = nullptr;
    HRESULT hr = source->CloneMesh(D3DXMESH_MANAGED | D3DXMESH_32BIT, kShatterVertexDeclaration, device, &copy);
    if (device) device->Release();
    if (FAILED(hr) || !copy) return nullptr;

    DWORD* indices = nullptr;
    ShatterVertex* vertices = nullptr;
    if (FAILED(copy->LockIndexBuffer(0, reinterpret_cast<void**>(&indices)))) return copy;
    if (FAILED(copy->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices)))) {
        copy->UnlockIndexBuffer();
        return copy;
    }
    const DWORD vertexCount = copy->GetNumVertices();
    const DWORD corners = 3 * copy->GetNumFaces();
    for (DWORD i = 0; i < corners; i += 3) {
        if (indices[i] >= vertexCount || indices[i + 1] >= vertexCount || indices[i + 2] >= vertexCount) continue;
        ShatterVertex& a = vertices[indices[i]];
        ShatterVertex& b = vertices[indices[i + 1]];
        ShatterVertex& c = vertices[indices[i + 2]];
        const D3DXVECTOR3 centroid = Centroid(a.position, b.position, c.position);
        const D3DXVECTOR4 withProgress(centroid.x, centroid.y, centroid.z, 0.0f);
        a.centroid = b.centroid = c.centroid = withProgress;
        a.random.x = RandomComponent(rand15());
        b.random.y = RandomComponent(rand15());
        c.random.z = RandomComponent(rand15());
        c.random.w = 0.0f;
    }
    copy->UnlockIndexBuffer();
    copy->UnlockVertexBuffer();
    return copy;
}
