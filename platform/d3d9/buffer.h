// IDirect3DVertexBuffer9 and IDirect3DIndexBuffer9. Both keep their bytes in
// memory (meshes lock them to read as well as to write); on the OpenGL backend
// an unlock also uploads the range that was locked to the GL buffer.
#pragma once

#include <vector>

#include "platform/d3d9/device.h"

namespace d3d9 {

class BufferData {
public:
    // `indexSize` is 2 or 4 for index buffers, 0 for vertex buffers.
    BufferData(Device* device, const std::string& label, UINT length, DWORD usage, D3DPOOL pool, UINT indexSize);
    virtual ~BufferData();
    BufferData(const BufferData&) = delete;
    BufferData& operator=(const BufferData&) = delete;

    HRESULT LockRange(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT UnlockRange();

    UINT Length() const { return static_cast<UINT>(bytes.size()); }
    const uint8_t* Bytes() const { return bytes.data(); }
    bool IsIndex() const { return indexSize != 0; }
    // Largest index in an index buffer of `indexSize`-byte indices (kept up to date by unlocks).
    UINT MaxIndex() const { return maxIndex; }

    uint32_t glName = 0;

protected:
    Device* owner;
    std::string name;
    DWORD usage;
    D3DPOOL pool;

private:
    std::vector<uint8_t> bytes;
    UINT indexSize;
    UINT maxIndex = 0;
    int lockDepth = 0;
    bool lockWrites = false;
    UINT lockBegin = 0;
    UINT lockEnd = 0;
};

template <class Interface>
class BufferObject : public DeviceChild<Interface>, public BufferData {
public:
    BufferObject(Device* device, const std::string& label, UINT length, DWORD usage, D3DPOOL pool, UINT indexSize)
        : DeviceChild<Interface>(device, label, true), BufferData(device, label, length, usage, pool, indexSize) {}

    HRESULT GetDevice(IDirect3DDevice9** device) override {
        if (!device) return D3DERR_INVALIDCALL;
        this->device->AddRef();
        *device = this->device;
        return D3D_OK;
    }
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override {
        D3D9_LOG(owner, this->label + "." +
                            Call("Lock", {std::to_string(offset), std::to_string(size), LockFlagsText(flags)}));
        return LockRange(offset, size, data, flags);
    }
    HRESULT Unlock() override {
        D3D9_LOG(owner, this->label + ".Unlock()");
        return UnlockRange();
    }

private:
    static std::string LockFlagsText(DWORD flags);
};

class VertexBuffer final : public BufferObject<IDirect3DVertexBuffer9> {
public:
    VertexBuffer(Device* device, const std::string& label, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
        : BufferObject(device, label, length, usage, pool, 0), fvf(fvf) {}
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

private:
    DWORD fvf;
};

class IndexBuffer final : public BufferObject<IDirect3DIndexBuffer9> {
public:
    IndexBuffer(Device* device, const std::string& label, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
        : BufferObject(device, label, length, usage, pool, format == D3DFMT_INDEX32 ? 4 : 2), format(format) {}
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override;
    D3DFORMAT Format() const { return format; }
    UINT IndexSize() const { return format == D3DFMT_INDEX32 ? 4 : 2; }

private:
    D3DFORMAT format;
};

}  // namespace d3d9
