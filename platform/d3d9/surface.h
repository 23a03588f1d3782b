// IDirect3DSurface9: one level (and face) of a texture, or a depth-stencil
// surface of its own. A texture's surfaces forward every reference to their
// texture, as in Direct3D: holding a surface keeps the whole texture alive.
#pragma once

#include <cstdint>

#include "platform/d3d9/ref_counted.h"

namespace d3d9 {

class Device;
class TextureData;

class Surface final : public DeviceChild<IDirect3DSurface9> {
public:
    // A level of `texture` (not a reference of its own).
    Surface(Device* device, TextureData* texture, UINT face, UINT level, std::string label);
    // A depth-stencil surface with its own references.
    Surface(Device* device, UINT width, UINT height, D3DFORMAT format, std::string label, bool startsPublic);
    ~Surface() override;

    ULONG AddRef() override;
    ULONG Release() override;
    void AddInternalRef() override;
    void ReleaseInternalRef() override;

    HRESULT GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    TextureData* Texture() const { return texture; }
    UINT Face() const { return face; }
    UINT Level() const { return level; }
    UINT Width() const { return width; }
    UINT Height() const { return height; }
    D3DFORMAT Format() const { return format; }
    bool IsDepth() const { return texture == nullptr; }

    uint32_t glRenderbuffer = 0;  // depth-stencil surfaces on the OpenGL backend

    // What a depth-stencil surface's stencil holds, as far as its clears and
    // draws tell. While it is one value everywhere (or still undefined, as a
    // new surface's is), a clear of the depth alone clears the stencil too
    // with that value: the driver then clears the packed depth and stencil
    // whole instead of masking the stencil bits out of every texel.
    enum class StencilContent { Undefined, Uniform, Mixed };
    StencilContent stencil = StencilContent::Undefined;
    DWORD stencilValue = 0;  // while Uniform

private:
    Device* owner;
    TextureData* texture;
    UINT face = 0;
    UINT level = 0;
    UINT width;
    UINT height;
    D3DFORMAT format;
};

}  // namespace d3d9
