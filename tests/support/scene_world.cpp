#include "tests/support/scene_world.h"

#include <chrono>

#include "platform/fmod/fmod.hpp"
#include "render/quad.h"
#include "render/release_interface.h"
#include "render/render_target.h"
#include "render/screen_target.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"

SceneWorld::SceneWorld(D3D9Backend backend, UINT width, UINT height) : gpu(backend, width, height) {
    window.width = static_cast<int32_t>(width);
    window.height = static_cast<int32_t>(height);
    if (!gpu) return;
    device = gpu.Get();
    DemoState& s = g_demoState;
    s.device = device;
    s.system = &window;
    s.screenTexture = CreateScreenTarget(device, &window);
    device->CreateDepthStencilSurface(width, height, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE, &s.screenDepth,
                                      nullptr);
    s.resources = new Mirel::ResourceManager(device);
    g_resourceManager = s.resources;
    s.camera = new Camera();
    s.music = new MusicPlayer();
    s.quad = new Quad(1.0f / float(width), 1.0f / float(height));
    s.sprite = &sprite;
    s.time = 0.0;
    s.frameDelta = 0.0;
}

SceneWorld::~SceneWorld() {
    if (!gpu) return;
    DemoState& s = g_demoState;
    s.meshes.clear();
    delete s.quad;
    delete s.camera;
    delete s.resources;
    if (s.music) s.music->system->release();
    delete s.music;
    ReleaseInterface(s.screenTexture);
    ReleaseInterface(s.screenDepth);
    s.quad = nullptr;
    s.camera = nullptr;
    s.resources = nullptr;
    g_resourceManager = nullptr;
    s.music = nullptr;
    s.sprite = nullptr;
    s.system = nullptr;
    s.device = nullptr;
}

void SceneWorld::LoadSceneMeshes() {
    for (const char* file : {"Media//fy_faen_assSmall.X", "Media//ocean.X", "Media//yachtAll2.x", "Media//skydome.X",
                             "Media//sphere.x", "Media//creditsPlane.x", "Media//cylinder.X"})
        g_demoState.meshes.emplace_back(GetMesh(file));
}

void SceneWorld::StartAt(Mirel::Effect& effect, double time) {
    effect.Start(time);
    Frame(effect, time);
}

SceneWorld::Spent SceneWorld::Frame(Mirel::Effect& effect, double time) {
    using Clock = std::chrono::steady_clock;
    DemoState& s = g_demoState;
    s.frameDelta = time - s.time;
    s.time = time;
    s.camera->UpdateCamera(time);
    for (Mirel::XMeshObj& mesh : s.meshes) mesh.UpdateTransform();

    IDirect3DSurface9* backDepth = nullptr;
    device->BeginScene();
    IDirect3DSurface9* backBuffer = CurrentTarget(device);
    device->GetDepthStencilSurface(&backDepth);
    SetTextureTarget(device, 0, s.screenTexture);
    device->SetDepthStencilSurface(s.screenDepth);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);

    sprite.Clear();
    const Clock::time_point start = Clock::now();
    effect.Update(s.frameDelta, time);
    const Clock::time_point updated = Clock::now();
    effect.Render();

    PutBackTarget(device, backBuffer);
    device->SetDepthStencilSurface(backDepth);
    ReleaseInterface(backDepth);
    effect.PostProcess();
    const Clock::time_point done = Clock::now();
    device->EndScene();
    if (readBack)
        gpu.Present();
    else
        device->Present(nullptr, nullptr, nullptr, nullptr);
    return {std::chrono::duration<double>(updated - start).count(),
            std::chrono::duration<double>(done - start).count()};
}

void SceneWorld::UpdateOnly(Mirel::Effect& effect, double start, double until) {
    DemoState& s = g_demoState;
    s.time = start;
    effect.Start(start + 1.0 / 30);
    for (double time = start + 1.0 / 30; time < until; time += 1.0 / 30) {
        s.frameDelta = time - s.time;
        s.time = time;
        s.camera->UpdateCamera(time);
        effect.Update(s.frameDelta, time);
    }
}
