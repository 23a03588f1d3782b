// ID3DXBuffer: a reference-counted block of bytes.
#include <vector>

#include "platform/d3d9/ref_counted.h"
#include "platform/d3dx9/d3dx9core.h"

namespace {

class Buffer final : public d3d9::RefCounted<ID3DXBuffer> {
public:
    explicit Buffer(DWORD size) : bytes(size, 0) {}
    void* GetBufferPointer() override { return bytes.empty() ? nullptr : bytes.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(bytes.size()); }

private:
    std::vector<uint8_t> bytes;
};

}  // namespace

HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = new Buffer(size);
    return D3D_OK;
}
