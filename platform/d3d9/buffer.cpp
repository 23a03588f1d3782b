#include "platform/d3d9/buffer.h"

#include <algorithm>
#include <cstring>

#include "platform/d3d9/gl_renderer.h"
#include "platform/d3d9/names.h"

namespace d3d9 {

BufferData::BufferData(Device* device, const std::string& label, UINT length, DWORD usage, D3DPOOL pool, UINT indexSize)
    : owner(device), name(label), usage(usage), pool(pool), bytes(length, 0), indexSize(indexSize) {
    if (GLRenderer* gl = owner->Renderer()) gl->CreateBuffer(*this);
}

BufferData::~BufferData() {
    if (GLRenderer* gl = owner->Renderer()) gl->DestroyBuffer(*this);
}

HRESULT BufferData::LockRange(UINT offset, UINT size, void** data, DWORD flags) {
    if (!data) return D3DERR_INVALIDCALL;
    *data = nullptr;
    if (owner->Refuses("Lock")) return D3DERR_INVALIDCALL;
    if (offset > bytes.size() || (size == 0 && offset != 0) || size > bytes.size() - offset) return D3DERR_INVALIDCALL;
    UINT end = size == 0 ? Length() : offset + size;
    if (lockDepth == 0 || offset < lockBegin) lockBegin = offset;
    if (lockDepth == 0 || end > lockEnd) lockEnd = end;
    if (!(flags & D3DLOCK_READONLY)) lockWrites = true;
    ++lockDepth;
    *data = bytes.data() + offset;
    return D3D_OK;
}

HRESULT BufferData::UnlockRange() {
    if (lockDepth == 0) return D3DERR_INVALIDCALL;
    if (--lockDepth > 0) return D3D_OK;
    if (!lockWrites) return D3D_OK;
    lockWrites = false;
    if (indexSize == 4) {
        maxIndex = 0;
        for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
            uint32_t index;
            std::memcpy(&index, &bytes[at], 4);
            maxIndex = std::max<UINT>(maxIndex, index);
        }
    } else if (indexSize == 2) {
        maxIndex = 0;
        for (size_t at = 0; at + 2 <= bytes.size(); at += 2) {
            uint16_t index;
            std::memcpy(&index, &bytes[at], 2);
            maxIndex = std::max<UINT>(maxIndex, index);
        }
    }
    if (GLRenderer* gl = owner->Renderer()) gl->UploadBuffer(*this, lockBegin, lockEnd - lockBegin);
    return D3D_OK;
}

template <class Interface>
std::string BufferObject<Interface>::LockFlagsText(DWORD flags) {
    return LockFlags(flags);
}
template class BufferObject<IDirect3DVertexBuffer9>;
template class BufferObject<IDirect3DIndexBuffer9>;

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = D3DVERTEXBUFFER_DESC{D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage, pool, Length(), fvf};
    return D3D_OK;
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = D3DINDEXBUFFER_DESC{format, D3DRTYPE_INDEXBUFFER, usage, pool, Length()};
    return D3D_OK;
}

}  // namespace d3d9
