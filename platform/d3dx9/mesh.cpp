// ID3DXMesh over device vertex and index buffers.
#include <algorithm>
#include <cstring>

#include "platform/d3dx9/mesh.h"
#include "platform/d3dx9/vertex_format.h"

namespace d3dx {

namespace {

// Scoped lock of a device buffer; `data` is null when the lock failed.
template <class Buffer>
class BufferLock {
public:
    BufferLock(Buffer* buffer, DWORD flags) : buffer_(buffer) {
        if (FAILED(buffer_->Lock(0, 0, &data, flags))) data = nullptr;
    }
    ~BufferLock() {
        if (data) buffer_->Unlock();
    }
    BufferLock(const BufferLock&) = delete;
    BufferLock& operator=(const BufferLock&) = delete;

    void* data = nullptr;

private:
    Buffer* buffer_;
};

D3DPOOL PoolFor(DWORD options, DWORD systemMemoryFlag) {
    return (options & systemMemoryFlag) ? D3DPOOL_SYSTEMMEM : D3DPOOL_MANAGED;
}

DWORD ReadIndex(const void* indices, bool wide, size_t i) {
    return wide ? static_cast<const uint32_t*>(indices)[i] : static_cast<const uint16_t*>(indices)[i];
}

}  // namespace

HRESULT Mesh::Create(IDirect3DDevice9* device, DWORD numFaces, DWORD numVertices, DWORD options,
                     const D3DVERTEXELEMENT9* declaration, Mesh** out) {
    *out = nullptr;
    UINT stride = DeclarationStride(declaration);
    bool wide = (options & D3DXMESH_32BIT) != 0;
    uint64_t vertexBytes = uint64_t{std::max<DWORD>(numVertices, 1)} * stride;
    uint64_t indexBytes = uint64_t{std::max<DWORD>(numFaces, 1)} * 3 * (wide ? 4 : 2);
    if (stride == 0 || vertexBytes > 0x7FFFFFFF || indexBytes > 0x7FFFFFFF) return D3DERR_INVALIDCALL;

    Mesh* mesh = new Mesh;
    mesh->device_ = device;
    device->AddRef();
    mesh->numFaces_ = numFaces;
    mesh->numVertices_ = numVertices;
    mesh->options_ = options;
    mesh->stride_ = stride;
    mesh->fvf_ = FvfFromDeclaration(declaration);
    mesh->elements_.assign(declaration, declaration + DeclarationLength(declaration) + 1);
    mesh->attributes_.assign(numFaces, 0);
    mesh->indices_.assign(size_t{numFaces} * 3, 0);

    HRESULT hr = device->CreateVertexBuffer(static_cast<UINT>(vertexBytes), 0, mesh->fvf_,
                                            PoolFor(options, D3DXMESH_VB_SYSTEMMEM), &mesh->vertexBuffer_, nullptr);
    if (SUCCEEDED(hr))
        hr = device->CreateIndexBuffer(static_cast<UINT>(indexBytes), 0, wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16,
                                       PoolFor(options, D3DXMESH_IB_SYSTEMMEM), &mesh->indexBuffer_, nullptr);
    if (SUCCEEDED(hr)) hr = device->CreateVertexDeclaration(declaration, &mesh->vertexDeclaration_);
    if (SUCCEEDED(hr)) {
        // Start from zeros, so that elements nobody writes read as zero.
        BufferLock vertices(mesh->vertexBuffer_, 0);
        BufferLock indices(mesh->indexBuffer_, 0);
        if (!vertices.data || !indices.data) {
            hr = D3DERR_INVALIDCALL;
        } else {
            std::memset(vertices.data, 0, static_cast<size_t>(vertexBytes));
            std::memset(indices.data, 0, static_cast<size_t>(indexBytes));
        }
    }
    if (FAILED(hr)) {
        mesh->Release();
        return hr;
    }
    *out = mesh;
    return D3D_OK;
}

Mesh::~Mesh() {
    if (vertexDeclaration_) vertexDeclaration_->Release();
    if (indexBuffer_) indexBuffer_->Release();
    if (vertexBuffer_) vertexBuffer_->Release();
    if (device_) device_->Release();
}

HRESULT Mesh::QueryInterface(REFIID, void** object) {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Mesh::AddRef() { return ++refs_; }

ULONG Mesh::Release() {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT Mesh::GetDeclaration(D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE]) {
    if (!declaration) return D3DERR_INVALIDCALL;
    std::copy(elements_.begin(), elements_.end(), declaration);
    return D3D_OK;
}

HRESULT Mesh::GetDevice(IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    device_->AddRef();
    *device = device_;
    return D3D_OK;
}

HRESULT Mesh::GetVertexBuffer(IDirect3DVertexBuffer9** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    vertexBuffer_->AddRef();
    *buffer = vertexBuffer_;
    return D3D_OK;
}

HRESULT Mesh::GetIndexBuffer(IDirect3DIndexBuffer9** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    indexBuffer_->AddRef();
    *buffer = indexBuffer_;
    return D3D_OK;
}

HRESULT Mesh::LockVertexBuffer(DWORD flags, LPVOID* data) {
    if (!data) return D3DERR_INVALIDCALL;
    return vertexBuffer_->Lock(0, 0, data, flags);
}

HRESULT Mesh::UnlockVertexBuffer() { return vertexBuffer_->Unlock(); }

HRESULT Mesh::LockIndexBuffer(DWORD flags, LPVOID* data) {
    if (!data) return D3DERR_INVALIDCALL;
    HRESULT hr = indexBuffer_->Lock(0, 0, data, flags);
    if (SUCCEEDED(hr)) {
        lockedIndices_ = *data;
        indicesWritable_ = !(flags & D3DLOCK_READONLY);
    }
    return hr;
}

HRESULT Mesh::UnlockIndexBuffer() {
    if (lockedIndices_ && indicesWritable_) {
        for (size_t i = 0; i < indices_.size(); ++i) indices_[i] = ReadIndex(lockedIndices_, Uses32BitIndices(), i);
        RebuildAttributeTable();  // now, so that a first draw at any later frame allocates nothing
    }
    lockedIndices_ = nullptr;
    indicesWritable_ = false;
    return indexBuffer_->Unlock();
}

HRESULT Mesh::LockAttributeBuffer(DWORD, DWORD** data) {
    if (!data) return D3DERR_INVALIDCALL;
    *data = attributes_.data();
    return D3D_OK;
}

HRESULT Mesh::UnlockAttributeBuffer() {
    RebuildAttributeTable();
    return D3D_OK;
}

void Mesh::RebuildAttributeTable() {
    table_.clear();
    for (DWORD face = 0; face < numFaces_; ++face) {
        if (table_.empty() || table_.back().AttribId != attributes_[face]) {
            table_.push_back(D3DXATTRIBUTERANGE{attributes_[face], face, 0, 0, 0});
        }
        D3DXATTRIBUTERANGE& run = table_.back();
        ++run.FaceCount;
        for (size_t k = 0; k < 3; ++k) {
            DWORD index = indices_[size_t{face} * 3 + k];
            if (run.VertexCount == 0) {
                run.VertexStart = index;
                run.VertexCount = 1;
            } else {
                DWORD end = std::max(run.VertexStart + run.VertexCount, index + 1);
                run.VertexStart = std::min(run.VertexStart, index);
                run.VertexCount = end - run.VertexStart;
            }
        }
    }
    tableDirty_ = false;
}

HRESULT Mesh::GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) {
    if (tableDirty_) RebuildAttributeTable();
    if (size) *size = static_cast<DWORD>(table_.size());
    if (table) std::copy(table_.begin(), table_.end(), table);
    return D3D_OK;
}

HRESULT Mesh::DrawSubset(DWORD attribId) {
    if (tableDirty_) RebuildAttributeTable();
    device_->SetStreamSource(0, vertexBuffer_, 0, stride_);
    device_->SetIndices(indexBuffer_);
    device_->SetVertexDeclaration(vertexDeclaration_);
    HRESULT result = D3D_OK;
    for (const D3DXATTRIBUTERANGE& run : table_) {
        if (run.AttribId != attribId) continue;
        HRESULT hr = device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, run.VertexStart, run.VertexCount,
                                                   run.FaceStart * 3, run.FaceCount);
        if (FAILED(hr)) result = hr;
    }
    return result;
}

HRESULT Mesh::CloneMesh(DWORD options, const D3DVERTEXELEMENT9* declaration, IDirect3DDevice9* device,
                        ID3DXMesh** cloned) {
    if (!cloned) return D3DERR_INVALIDCALL;
    *cloned = nullptr;
    if (DeclarationStride(declaration) == 0) return D3DERR_INVALIDCALL;
    if (!(options & D3DXMESH_32BIT) && numVertices_ > 0x10000) return D3DERR_INVALIDCALL;
    Mesh* copy = nullptr;
    HRESULT hr = Create(device ? device : device_, numFaces_, numVertices_, options, declaration, &copy);
    if (FAILED(hr)) return hr;

    {
        BufferLock from(vertexBuffer_, D3DLOCK_READONLY);
        BufferLock to(copy->vertexBuffer_, 0);
        BufferLock fromIndices(indexBuffer_, D3DLOCK_READONLY);
        BufferLock toIndices(copy->indexBuffer_, 0);
        if (!from.data || !to.data || !fromIndices.data || !toIndices.data) {
            hr = D3DERR_INVALIDCALL;
        } else {
            const auto* src = static_cast<const uint8_t*>(from.data);
            auto* dst = static_cast<uint8_t*>(to.data);
            for (size_t e = 0; e + 1 < copy->elements_.size(); ++e) {
                const D3DVERTEXELEMENT9& target = copy->elements_[e];
                const D3DVERTEXELEMENT9* source = FindElement(elements_.data(), target.Usage, target.UsageIndex);
                if (!source) continue;  // stays zero
                for (DWORD v = 0; v < numVertices_; ++v) {
                    const uint8_t* in = src + size_t{v} * stride_ + source->Offset;
                    uint8_t* out = dst + size_t{v} * copy->stride_ + target.Offset;
                    if (source->Type == target.Type) {
                        std::memcpy(out, in, DeclTypeSize(target.Type));
                    } else {
                        float value[4];
                        ReadElement(source->Type, in, value);
                        WriteElement(target.Type, value, out);
                    }
                }
            }
            bool wideIn = Uses32BitIndices(), wideOut = copy->Uses32BitIndices();
            for (size_t i = 0; i < size_t{numFaces_} * 3; ++i) {
                DWORD index = ReadIndex(fromIndices.data, wideIn, i);
                copy->indices_[i] = index;
                if (wideOut) {
                    static_cast<uint32_t*>(toIndices.data)[i] = index;
                } else {
                    static_cast<uint16_t*>(toIndices.data)[i] = static_cast<uint16_t>(index);
                }
            }
        }
    }
    if (FAILED(hr)) {
        copy->Release();
        return hr;
    }
    copy->attributes_ = attributes_;
    copy->RebuildAttributeTable();
    *cloned = copy;
    return D3D_OK;
}

}  // namespace d3dx
