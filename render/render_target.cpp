#include "render/render_target.h"

#include "render/release_interface.h"

IDirect3DSurface9* CurrentTarget(IDirect3DDevice9* device) {
    IDirect3DSurface9* found = nullptr;
    device->GetRenderTarget(0, &found);
    return found;
}

bool SetTextureTarget(IDirect3DDevice9* device, DWORD index, IDirect3DTexture9* texture) {
    IDirect3DSurface9* surface = nullptr;
    if (!texture || FAILED(texture->GetSurfaceLevel(0, &surface))) return false;
    device->SetRenderTarget(index, surface);
    surface->Release();
    return true;
}

void PutBackTarget(IDirect3DDevice9* device, IDirect3DSurface9*& found) {
    if (!found) return;
    device->SetRenderTarget(0, found);
    ReleaseInterface(found);
}
