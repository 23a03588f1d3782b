// ID3DXFont: the demo creates a font and never draws text with it, so the
// object only checks its arguments and holds its device.
#include <string>

#include "platform/d3d9/ref_counted.h"
#include "platform/d3dx9/d3dx9core.h"

namespace {

class Font final : public d3d9::RefCounted<ID3DXFont> {
public:
    explicit Font(IDirect3DDevice9* device) : device(device) { device->AddRef(); }
    ~Font() override { device->Release(); }
    HRESULT GetDevice(IDirect3DDevice9** out) override {
        if (!out) return D3DERR_INVALIDCALL;
        device->AddRef();
        *out = device;
        return D3D_OK;
    }

private:
    IDirect3DDevice9* device;
};

}  // namespace

HRESULT D3DXCreateFontA(IDirect3DDevice9* device, INT height, UINT width, UINT weight, UINT mipLevels, BOOL italic,
                        DWORD charSet, DWORD outputPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName,
                        ID3DXFont** font) {
    (void)width, (void)mipLevels, (void)italic, (void)charSet, (void)outputPrecision, (void)quality,
        (void)pitchAndFamily;
    if (!font) return D3DERR_INVALIDCALL;
    *font = nullptr;
    if (!device || !faceName || height == 0 || weight > 1000) return D3DERR_INVALIDCALL;
    *font = new Font(device);
    return D3D_OK;
}
