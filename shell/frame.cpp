// The brackets around every frame: the clock step and the switch to the
// screen target in BeginFrame, the composite and the present in EndFrame;
// and, with the same brackets, the loading frame and the unpresented
// rehearsal of every effect's frame at start-up.
#include "shell/frame.h"

#include <vector>

#include "render/quad.h"
#include "render/release_interface.h"
#include "render/render_target.h"
#include "shell/demo_state.h"
#include "shell/run_hooks.h"
#include "shell/system.h"
#include "timeline/effect.h"

namespace {

// Makes the screen texture and its depth surface the targets, keeping the
// back buffer and its depth surface to go back to, and clears them to white.
void TargetScreenTexture() {
    DemoState& s = g_demoState;
    IDirect3DDevice9* device = s.device;
    device->BeginScene();
    s.savedBackBuffer = CurrentTarget(device);
    device->GetDepthStencilSurface(&s.savedDepth);
    SetTextureTarget(device, 0, s.screenTexture);
    device->SetDepthStencilSurface(s.screenDepth);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);
}

// Puts the back buffer and its depth surface back as the targets.
void TargetBackBuffer() {
    DemoState& s = g_demoState;
    IDirect3DDevice9* device = s.device;
    PutBackTarget(device, s.savedBackBuffer);
    device->SetDepthStencilSurface(s.savedDepth);
    ReleaseInterface(s.savedDepth);
}

// One frame of `effect` as the run draws it while the effect is first, and
// with `allFired` as if every one of its triggers had fired; nothing is
// presented. The first of the two is updated as well (the device states an
// effect sets in Update pick the shader variants its Render needs), by no
// time at time 0: nothing has been armed yet, so no trigger fires, and what
// Update computes from the time is computed afresh by its first real frame.
// The effect's trigger flags are left as they were.
void RehearseFrame(Mirel::Effect& effect, bool allFired) {
    std::vector<bool> fired;
    fired.reserve(effect.triggers.size());
    for (Mirel::Trigger& trigger : effect.triggers) {
        fired.push_back(trigger.fired);
        trigger.fired = trigger.fired || allFired;
    }
    const uint32_t lastTrigger = effect.lastTrigger;
    if (!allFired) effect.Update(0.0, 0.0);
    effect.lastTrigger = lastTrigger;
    TargetScreenTexture();
    effect.Render();
    TargetBackBuffer();
    effect.PostProcess();
    g_demoState.device->EndScene();
    for (size_t i = 0; i < fired.size(); ++i) effect.triggers[i].fired = fired[i];
}

}  // namespace

void BeginFrame() {
    DemoState& s = g_demoState;
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    s.curCounter = counter.QuadPart;
    s.frameDelta = static_cast<double>(s.curCounter - s.prevCounter) * s.secondsPerTick;
    s.time += s.frameDelta;
    TargetScreenTexture();
}

void EndFrame() {
    DemoState& s = g_demoState;
    IDirect3DDevice9* device = s.device;
    TargetBackBuffer();
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

void RehearseEffects() {
    DemoState& s = g_demoState;
    IDirect3DStateBlock9* before = nullptr;
    if (FAILED(s.device->CreateStateBlock(D3DSBT_ALL, &before))) return;
    const double time = s.time;
    s.time = 0.0;
    // In timeline order, each from the states the one before it left, as in
    // the run.
    auto queue = s.pendingEffects;
    for (; !queue.empty(); queue.pop()) {
        for (bool allFired : {false, true}) {
            if (g_runHooks.rehearsing) g_runHooks.rehearsing(true);
            RehearseFrame(*queue.top(), allFired);
        }
    }
    if (g_runHooks.rehearsing) g_runHooks.rehearsing(false);
    before->Apply();
    before->Release();
    s.time = time;
}
