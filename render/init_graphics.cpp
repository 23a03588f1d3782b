// Start-up of the device, the screen targets, the clock and the shared services.
#include "platform/win32/windows.h"
#include "render/debug_font.h"
#include "render/init_graphics.h"
#include "render/quad.h"
#include "render/screen_target.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "shell/system.h"
#include "sound/music_player.h"

bool InitGraphics() {
    DemoState& s = g_demoState;
    s.system = &g_system;

    s.d3d = Direct3DCreate9(0x80000020);
    if (!s.d3d) {
        MessageBoxA(nullptr, "Error, couldn't initialize DirectX!?!", "Error!", MB_OK);
        return false;
    }

    D3DDISPLAYMODE mode;
    if (FAILED(s.d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) {
        MessageBoxA(nullptr, "Error setting the display mode.", "Error!", MB_OK);
        return false;
    }

    D3DPRESENT_PARAMETERS params = {};
    if (s.system->fullscreen) {
        params.BackBufferWidth = UINT(s.system->width);
        params.BackBufferHeight = UINT(s.system->height);
        params.Windowed = FALSE;
    } else {
        params.BackBufferWidth = 0;  // the window's client area
        params.BackBufferHeight = 0;
        params.Windowed = TRUE;
    }
    params.BackBufferFormat = mode.Format;
    params.BackBufferCount = 1;
    params.MultiSampleType = D3DMULTISAMPLE_NONE;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.hDeviceWindow = nullptr;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    params.Flags = 0;
    params.FullScreen_RefreshRateInHz = 0;
    params.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;

    if (FAILED(s.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, s.system->hwnd,
                                   D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &s.device))) {
        s.device = nullptr;
        MessageBoxA(nullptr, "CreateDevice() failed!  Make sure you have DirectX 9.", "Error!", MB_OK);
        return false;
    }

    s.screenTexture = CreateScreenTarget(s.device, s.system);
    if (!s.screenTexture) return false;

    if (FAILED(s.device->CreateDepthStencilSurface(UINT(s.system->width), UINT(s.system->height), D3DFMT_D24S8,
                                                   D3DMULTISAMPLE_NONE, 0, TRUE, &s.screenDepth, nullptr))) {
        s.screenDepth = nullptr;
        MessageBoxA(nullptr, "Error creating screen depth stencil", "Error!", MB_ICONERROR);
        return false;
    }

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    s.secondsPerTick = 1.0 / double(frequency.QuadPart);

    s.quit = false;
    s.endTime = 110.0;

    s.resources = new Mirel::ResourceManager(s.device);
    s.camera = new Camera();
    s.music = new MusicPlayer();
    s.debugFont = new DebugFont(s.device);
    s.quad = new Quad(1.0f / float(s.system->width), 1.0f / float(s.system->height));
    D3DXCreateSprite(s.device, &s.sprite);
    return true;
}
