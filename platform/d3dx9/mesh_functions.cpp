// D3DXCreateMesh and the per-vertex frames computed over a mesh's faces.
#include <cmath>
#include <vector>

#include "platform/d3dx9/mesh.h"
#include "platform/d3dx9/vertex_format.h"

namespace {

// A mesh's buffers locked for the duration of a computation, with the
// positions of its vertices and its triangles read out.
class MeshAccess {
public:
    explicit MeshAccess(ID3DXMesh* mesh) : mesh_(mesh) {
        if (FAILED(mesh->GetDeclaration(declaration_))) return;
        const D3DVERTEXELEMENT9* position = d3dx::FindElement(declaration_, D3DDECLUSAGE_POSITION, 0);
        if (!position || d3dx::DeclTypeSize(position->Type) < 12) return;
        stride_ = mesh->GetNumBytesPerVertex();
        vertexCount_ = mesh->GetNumVertices();
        if (FAILED(mesh->LockVertexBuffer(0, &vertices_))) {
            vertices_ = nullptr;
            return;
        }
        void* indices = nullptr;
        if (FAILED(mesh->LockIndexBuffer(D3DLOCK_READONLY, &indices))) return;
        bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
        DWORD faceCount = mesh->GetNumFaces();
        triangles_.reserve(size_t{faceCount} * 3);
        for (size_t i = 0; i < size_t{faceCount} * 3; i += 3) {
            DWORD corner[3];
            for (size_t k = 0; k < 3; ++k)
                corner[k] =
                    wide ? static_cast<const uint32_t*>(indices)[i + k] : static_cast<const uint16_t*>(indices)[i + k];
            if (corner[0] >= vertexCount_ || corner[1] >= vertexCount_ || corner[2] >= vertexCount_) continue;
            triangles_.insert(triangles_.end(), corner, corner + 3);
        }
        mesh->UnlockIndexBuffer();
        positions_.resize(vertexCount_);
        for (DWORD v = 0; v < vertexCount_; ++v) positions_[v] = Read(v, *position);
        ok_ = true;
    }
    ~MeshAccess() {
        if (vertices_) mesh_->UnlockVertexBuffer();
    }
    MeshAccess(const MeshAccess&) = delete;
    MeshAccess& operator=(const MeshAccess&) = delete;

    bool Ok() const { return ok_; }
    const D3DVERTEXELEMENT9* Element(BYTE usage, BYTE index) const {
        return d3dx::FindElement(declaration_, usage, index);
    }
    DWORD VertexCount() const { return vertexCount_; }
    const std::vector<DWORD>& Triangles() const { return triangles_; }
    const D3DXVECTOR3& Position(DWORD v) const { return positions_[v]; }

    D3DXVECTOR3 Read(DWORD vertex, const D3DVERTEXELEMENT9& element) const {
        float value[4];
        d3dx::ReadElement(element.Type, Address(vertex, element), value);
        return D3DXVECTOR3(value[0], value[1], value[2]);
    }
    void Write(DWORD vertex, const D3DVERTEXELEMENT9& element, const D3DXVECTOR3& v) {
        const float value[4] = {v.x, v.y, v.z, 0};
        d3dx::WriteElement(element.Type, value, Address(vertex, element));
    }

private:
    uint8_t* Address(DWORD vertex, const D3DVERTEXELEMENT9& element) const {
        return static_cast<uint8_t*>(vertices_) + size_t{vertex} * stride_ + element.Offset;
    }

    ID3DXMesh* mesh_;
    D3DVERTEXELEMENT9 declaration_[MAX_FVF_DECL_SIZE];
    void* vertices_ = nullptr;
    DWORD stride_ = 0;
    DWORD vertexCount_ = 0;
    std::vector<DWORD> triangles_;
    std::vector<D3DXVECTOR3> positions_;
    bool ok_ = false;
};

D3DXVECTOR3 Normalized(const D3DXVECTOR3& v) {
    D3DXVECTOR3 out;
    D3DXVec3Normalize(&out, &v);
    return out;
}

// Removes from v its part along the unit vector axis.
D3DXVECTOR3 Without(const D3DXVECTOR3& v, const D3DXVECTOR3& axis) { return v - axis * D3DXVec3Dot(&v, &axis); }

// Any unit vector perpendicular to the unit vector n.
D3DXVECTOR3 Perpendicular(const D3DXVECTOR3& n) {
    D3DXVECTOR3 axis = std::fabs(n.x) < 0.9f ? D3DXVECTOR3(1, 0, 0) : D3DXVECTOR3(0, 1, 0);
    D3DXVECTOR3 out;
    D3DXVec3Cross(&out, &n, &axis);
    return Normalized(out);
}

}  // namespace

HRESULT D3DXCreateMesh(DWORD numFaces, DWORD numVertices, DWORD options, const D3DVERTEXELEMENT9* declaration,
                       IDirect3DDevice9* device, ID3DXMesh** mesh) {
    if (!mesh) return D3DERR_INVALIDCALL;
    *mesh = nullptr;
    if (!device || d3dx::DeclarationStride(declaration) == 0) return D3DERR_INVALIDCALL;
    if (!(options & D3DXMESH_32BIT) && numVertices > 0x10000) return D3DERR_INVALIDCALL;
    d3dx::Mesh* created = nullptr;
    HRESULT hr = d3dx::Mesh::Create(device, numFaces, numVertices, options, declaration, &created);
    *mesh = created;
    return hr;
}

// Face normals are cross products of two edges, whose length is twice the
// face's area, so summing them weights each face by its area. Triangles are
// clockwise when seen from their front, as Direct3D draws them.
HRESULT D3DXComputeNormals(ID3DXBaseMesh* mesh, const DWORD*) {
    if (!mesh) return D3DERR_INVALIDCALL;
    MeshAccess access(mesh);
    if (!access.Ok()) return D3DERR_INVALIDCALL;
    const D3DVERTEXELEMENT9* normal = access.Element(D3DDECLUSAGE_NORMAL, 0);
    if (!normal || d3dx::DeclTypeSize(normal->Type) < 12) return D3DERR_INVALIDCALL;
    std::vector<D3DXVECTOR3> sums(access.VertexCount());
    const std::vector<DWORD>& tri = access.Triangles();
    for (size_t i = 0; i < tri.size(); i += 3) {
        D3DXVECTOR3 e1 = access.Position(tri[i + 1]) - access.Position(tri[i]);
        D3DXVECTOR3 e2 = access.Position(tri[i + 2]) - access.Position(tri[i]);
        D3DXVECTOR3 faceNormal;
        D3DXVec3Cross(&faceNormal, &e1, &e2);
        for (size_t k = 0; k < 3; ++k) sums[tri[i + k]] += faceNormal;
    }
    for (DWORD v = 0; v < access.VertexCount(); ++v) access.Write(v, *normal, Normalized(sums[v]));
    return D3D_OK;
}

// Per face, the tangent is the direction in which u grows and the binormal
// the one in which v grows; vertices sum them over their faces, and the sums
// are made perpendicular to the vertex normal (where there is one) and to
// each other, then normalised. Texture coordinates are taken as stored,
// whatever `wrap` says: folding differences into -0.5..0.5 would flatten
// every face whose coordinates span a whole texture or tile it.
HRESULT D3DXComputeTangent(ID3DXMesh* mesh, DWORD texStage, DWORD tangentIndex, DWORD binormIndex, DWORD,
                           const DWORD*) {
    if (!mesh || texStage > 255 || tangentIndex > 255 || binormIndex > 255) return D3DERR_INVALIDCALL;
    MeshAccess access(mesh);
    if (!access.Ok()) return D3DERR_INVALIDCALL;
    const D3DVERTEXELEMENT9* texcoord = access.Element(D3DDECLUSAGE_TEXCOORD, static_cast<BYTE>(texStage));
    const D3DVERTEXELEMENT9* tangent = access.Element(D3DDECLUSAGE_TANGENT, static_cast<BYTE>(tangentIndex));
    const D3DVERTEXELEMENT9* binormal = access.Element(D3DDECLUSAGE_BINORMAL, static_cast<BYTE>(binormIndex));
    const D3DVERTEXELEMENT9* normal = access.Element(D3DDECLUSAGE_NORMAL, 0);
    if (!texcoord || (!tangent && !binormal)) return D3DERR_INVALIDCALL;

    DWORD count = access.VertexCount();
    std::vector<D3DXVECTOR3> tangents(count), binormals(count);
    const std::vector<DWORD>& tri = access.Triangles();
    for (size_t i = 0; i < tri.size(); i += 3) {
        DWORD a = tri[i], b = tri[i + 1], c = tri[i + 2];
        D3DXVECTOR3 ta = access.Read(a, *texcoord), tb = access.Read(b, *texcoord), tc = access.Read(c, *texcoord);
        float du1 = tb.x - ta.x, dv1 = tb.y - ta.y;
        float du2 = tc.x - ta.x, dv2 = tc.y - ta.y;
        float det = du1 * dv2 - du2 * dv1;
        if (det == 0 || !std::isfinite(det)) continue;
        D3DXVECTOR3 e1 = access.Position(b) - access.Position(a);
        D3DXVECTOR3 e2 = access.Position(c) - access.Position(a);
        D3DXVECTOR3 faceTangent = (e1 * dv2 - e2 * dv1) / det;
        D3DXVECTOR3 faceBinormal = (e2 * du1 - e1 * du2) / det;
        for (DWORD v : {a, b, c}) {
            tangents[v] += faceTangent;
            binormals[v] += faceBinormal;
        }
    }
    for (DWORD v = 0; v < count; ++v) {
        D3DXVECTOR3 n = normal ? Normalized(access.Read(v, *normal)) : D3DXVECTOR3();
        D3DXVECTOR3 t = Normalized(Without(tangents[v], n));
        if (t == D3DXVECTOR3()) t = n == D3DXVECTOR3() ? D3DXVECTOR3(1, 0, 0) : Perpendicular(n);
        D3DXVECTOR3 bn = Normalized(Without(Without(binormals[v], n), t));
        if (bn == D3DXVECTOR3()) {
            D3DXVec3Cross(&bn, &n, &t);
            if (bn == D3DXVECTOR3()) bn = Perpendicular(t);
        }
        if (tangent) access.Write(v, *tangent, t);
        if (binormal) access.Write(v, *binormal, bn);
    }
    return D3D_OK;
}
