// The off-screen colour target every frame renders into.
#include "platform/win32/windows.h"
#include "render/graphics.h"
#include "shell/demo_state.h"
#include "shell/system.h"

IDirect3DTexture9* CreateScreenTexture() {
    IDirect3DTexture9* texture = nullptr;
    const Mirel::System& system = *g_demoState.system;
    if (FAILED(g_demoState.device->CreateTexture(UINT(system.width), UINT(system.height), 1, D3DUSAGE_RENDERTARGET,
                                                 D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr))) {
        MessageBoxA(nullptr, "Error creating screen texture", "Error!", MB_ICONERROR);
        return nullptr;
    }
    return texture;
}
