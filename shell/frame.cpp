// The brackets around every frame: the clock step and the switch to the
// screen target in BeginFrame, the composite and the present in EndFrame.
#include "shell/frame.h"

#include "render/quad.h"
#include "shell/demo_state.h"
#include "shell/system.h"

void BeginFrame() {
    DemoState& s = g_demoState;
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    s.curCounter = counter.QuadPart;
    s.frameDelta = static_cast<double>(s.curCounter - s.prevCounter) * s.secondsPerTick;
    s.time += s.frameDelta;

    IDirect3DDevice9* device = s.device;
    device->BeginScene();
    device->GetRenderTarget(0, &s.savedBackBuffer);
    device->GetDepthStencilSurface(&s.savedDepth);
    IDirect3DSurface9* surface = nullptr;
    if (s.screenTexture && SUCCEEDED(s.screenTexture->GetSurfaceLevel(0, &surface))) {
        device->SetRenderTarget(0, surface);
        surface->Release();
    }
    device->SetDepthStencilSurface(s.screenDepth);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);
}

void EndFrame() {
    DemoState& s = g_demoState;
    IDirect3DDevice9* device = s.device;
    if (s.savedBackBuffer) device->SetRenderTarget(0, s.savedBackBuffer);
    device->SetDepthStencilSurface(s.savedDepth);
    if (s.savedBackBuffer) s.savedBackBuffer->Release();
    if (s.savedDepth) s.savedDepth->Release();
    s.savedBackBuffer = nullptr;
    s.savedDepth = nullptr;

    if (s.activeEffects.empty())
        DrawScreenTexture();
    else
        s.activeEffects.front()->PostProcess();

    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    s.prevCounter = s.curCounter;
}

void DrawLoadingScreen(IDirect3DTexture9* texture) {
    BeginFrame();
    DrawPlainTexture(texture);
    EndFrame();
}
