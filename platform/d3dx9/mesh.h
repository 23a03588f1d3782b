// ID3DXMesh of the D3DX stand-in.
//
// A mesh owns one device vertex buffer (one stream, the mesh's declaration),
// one device index buffer (16- or 32-bit, three indices per face) and a vertex
// declaration object, and keeps the attribute buffer (one id per face) in
// memory. It holds a reference on its device.
//
// The attribute table is the list of runs of consecutive faces that share an
// attribute id, each with the range of vertices its faces use. It is rebuilt
// from the attribute buffer and a copy of the indices that the mesh keeps
// (taken when LockIndexBuffer's lock for writing ends) after either changed,
// so drawing never reads the device buffers back. DrawSubset(k) binds the
// mesh's stream, indices and declaration and draws every run of id k with
// one DrawIndexedPrimitive. Shaders, textures and states are the caller's.
#pragma once

#include <vector>

#include "platform/d3dx9/d3dx9mesh.h"

namespace d3dx {

class Mesh final : public ID3DXMesh {
public:
    // D3DXCreateMesh without its argument checks: those are the caller's.
    static HRESULT Create(IDirect3DDevice9* device, DWORD numFaces, DWORD numVertices, DWORD options,
                          const D3DVERTEXELEMENT9* declaration, Mesh** mesh);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT DrawSubset(DWORD attribId) override;
    DWORD GetNumFaces() override { return numFaces_; }
    DWORD GetNumVertices() override { return numVertices_; }
    DWORD GetFVF() override { return fvf_; }
    HRESULT GetDeclaration(D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE]) override;
    DWORD GetNumBytesPerVertex() override { return stride_; }
    DWORD GetOptions() override { return options_; }
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    HRESULT CloneMesh(DWORD options, const D3DVERTEXELEMENT9* declaration, IDirect3DDevice9* device,
                      ID3DXMesh** cloned) override;
    HRESULT GetVertexBuffer(IDirect3DVertexBuffer9** buffer) override;
    HRESULT GetIndexBuffer(IDirect3DIndexBuffer9** buffer) override;
    HRESULT LockVertexBuffer(DWORD flags, LPVOID* data) override;
    HRESULT UnlockVertexBuffer() override;
    HRESULT LockIndexBuffer(DWORD flags, LPVOID* data) override;
    HRESULT UnlockIndexBuffer() override;
    HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) override;
    HRESULT LockAttributeBuffer(DWORD flags, DWORD** data) override;
    HRESULT UnlockAttributeBuffer() override;

    bool Uses32BitIndices() const { return (options_ & D3DXMESH_32BIT) != 0; }

private:
    Mesh() = default;
    ~Mesh() override;
    void RebuildAttributeTable();

    ULONG refs_ = 1;
    IDirect3DDevice9* device_ = nullptr;
    IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
    IDirect3DIndexBuffer9* indexBuffer_ = nullptr;
    IDirect3DVertexDeclaration9* vertexDeclaration_ = nullptr;
    std::vector<D3DVERTEXELEMENT9> elements_;  // with the end marker
    DWORD numFaces_ = 0;
    DWORD numVertices_ = 0;
    DWORD options_ = 0;
    DWORD stride_ = 0;
    DWORD fvf_ = 0;
    std::vector<DWORD> attributes_;
    std::vector<DWORD> indices_;  // copy of the index buffer, three per face
    void* lockedIndices_ = nullptr;
    bool indicesWritable_ = false;
    std::vector<D3DXATTRIBUTERANGE> table_;
    bool tableDirty_ = true;
};

}  // namespace d3dx
