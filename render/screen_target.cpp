#include "render/screen_target.h"

#include "platform/win32/windows.h"
#include "shell/system.h"

IDirect3DTexture9* CreateScreenTarget(IDirect3DDevice9* device, const Mirel::System* system) {
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(device->CreateTexture(static_cast<UINT>(system->width), static_cast<UINT>(system->height), 1,
                                     D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr))) {
        MessageBoxA(nullptr, "Error creating screen texture", "Error!", MB_ICONERROR);
        return nullptr;
    }
    return texture;
}
