#include "platform/d3d9/surface.h"

#include "platform/d3d9/gl_renderer.h"
#include "platform/d3d9/texture.h"

namespace d3d9 {

Surface::Surface(Device* device, TextureData* texture, UINT face, UINT level, std::string label)
    : DeviceChild(device, std::move(label), false),
      owner(device),
      texture(texture),
      face(face),
      level(level),
      width(texture->Width(level)),
      height(texture->Height(level)),
      format(texture->Format().format) {}

Surface::Surface(Device* device, UINT width, UINT height, D3DFORMAT format, std::string label, bool startsPublic)
    : DeviceChild(device, std::move(label), startsPublic),
      owner(device),
      texture(nullptr),
      width(width),
      height(height),
      format(format) {
    if (GLRenderer* gl = owner->Renderer()) gl->CreateDepthSurface(*this);
}

Surface::~Surface() {
    if (GLRenderer* gl = owner->Renderer()) gl->DestroySurface(*this);
}

ULONG Surface::AddRef() {
    if (texture) return texture->Interface()->AddRef();
    return DeviceChild::AddRef();
}

ULONG Surface::Release() {
    if (texture) return texture->Interface()->Release();
    return DeviceChild::Release();
}

void Surface::AddInternalRef() {
    if (texture)
        texture->AddInternalRef();
    else
        DeviceChild::AddInternalRef();
}

void Surface::ReleaseInternalRef() {
    if (texture)
        texture->ReleaseInternalRef();
    else
        DeviceChild::ReleaseInternalRef();
}

HRESULT Surface::GetDevice(IDirect3DDevice9** out) {
    if (!out) return D3DERR_INVALIDCALL;
    device->AddRef();
    *out = device;
    return D3D_OK;
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    if (texture) return texture->Describe(level, desc);
    *desc = D3DSURFACE_DESC{
        format, D3DRTYPE_SURFACE, D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT, D3DMULTISAMPLE_NONE, 0, width, height};
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    D3D9_LOG(owner, label + ".LockRect()");
    if (!texture) return D3DERR_INVALIDCALL;
    return texture->Lock(face, level, locked, rect, flags);
}

HRESULT Surface::UnlockRect() {
    D3D9_LOG(owner, label + ".UnlockRect()");
    if (!texture) return D3DERR_INVALIDCALL;
    return texture->Unlock(face, level);
}

}  // namespace d3d9
