// Cost of one frame of the closing scene at 97 to 100 s (the cylinder's
// pieces flying, the credits card on its path): the StarEffect's Update,
// Render and PostProcess and the Present, headless at 640 x 480 and
// 1280 x 720. On OpenGL (llvmpipe) that is the whole frame, the picture read
// back included; on the recording backend the same calls cost only our own
// code (the scene, the resource look-ups, the device and D3DX stand-ins'
// bookkeeping), so the ratio of the two is our share of a frame.
#include <benchmark/benchmark.h>

#include <cmath>

#include "effects/shatter_mesh.h"
#include "effects/star_effect.h"
#include "platform/fmod/fmod.hpp"
#include "render/quad.h"
#include "render/release_interface.h"
#include "render/screen_target.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "shell/system.h"
#include "sound/music_player.h"
#include "tests/support/fakes.h"
#include "tests/support/test_device.h"

namespace {

class StarScene {
public:
    StarScene(D3D9Backend backend, UINT width, UINT height) : gpu(backend, width, height) {
        if (!gpu) return;
        window.width = static_cast<int32_t>(width);
        window.height = static_cast<int32_t>(height);
        DemoState& s = g_demoState;
        s.device = gpu.Get();
        s.system = &window;
        s.screenTexture = CreateScreenTarget(gpu.Get(), &window);
        gpu->CreateDepthStencilSurface(width, height, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE, &s.screenDepth,
                                       nullptr);
        s.resources = new Mirel::ResourceManager(gpu.Get());
        g_resourceManager = s.resources;
        s.camera = new Camera();
        s.music = new MusicPlayer();
        s.quad = new Quad(1.0f / static_cast<float>(width), 1.0f / static_cast<float>(height));
        s.sprite = &sprite;
        for (const char* file : {"Media//fy_faen_assSmall.X", "Media//ocean.X", "Media//yachtAll2.x",
                                 "Media//skydome.X", "Media//sphere.x", "Media//creditsPlane.x", "Media//cylinder.X"})
            s.meshes.emplace_back(GetMesh(file));
        effect = new Mirel::StarEffect(&s);
        effect->startTime = 90.0;
        effect->endTime = 110.0;
        effect->Init();
        s.time = 90.0;
        effect->Start(90.0 + 1.0 / 60);
        Frame(90.0 + 1.0 / 60);
        Frame(97.0);
    }
    ~StarScene() {
        if (!gpu) return;
        DemoState& s = g_demoState;
        effect->Stop();
        delete effect;
        s.meshes.clear();
        delete s.quad;
        delete s.camera;
        delete s.resources;
        s.music->system->release();
        delete s.music;
        ReleaseInterface(s.screenTexture);
        ReleaseInterface(s.screenDepth);
        s = DemoState{};
        g_resourceManager = nullptr;
    }

    void Frame(double time) {
        DemoState& s = g_demoState;
        IDirect3DDevice9* device = gpu.Get();
        s.frameDelta = time - s.time;
        s.time = time;
        s.camera->UpdateCamera(time);
        for (Mirel::XMeshObj& mesh : s.meshes) mesh.UpdateTransform();
        IDirect3DSurface9* backBuffer = nullptr;
        IDirect3DSurface9* backDepth = nullptr;
        IDirect3DSurface9* screen = nullptr;
        device->BeginScene();
        device->GetRenderTarget(0, &backBuffer);
        device->GetDepthStencilSurface(&backDepth);
        if (SUCCEEDED(s.screenTexture->GetSurfaceLevel(0, &screen))) {
            device->SetRenderTarget(0, screen);
            screen->Release();
        }
        device->SetDepthStencilSurface(s.screenDepth);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);
        effect->Update(s.frameDelta, time);
        effect->Render();
        device->SetRenderTarget(0, backBuffer);
        device->SetDepthStencilSurface(backDepth);
        ReleaseInterface(backBuffer);
        ReleaseInterface(backDepth);
        effect->PostProcess();
        device->EndScene();
        gpu.Present();
    }

    TestDevice gpu;
    Mirel::System window;
    FakeSprite sprite;
    Mirel::StarEffect* effect = nullptr;
};

void BM_StarSceneFrame(benchmark::State& state, D3D9Backend backend) {
    StarScene scene(backend, static_cast<UINT>(state.range(0)), static_cast<UINT>(state.range(1)));
    if (!scene.gpu) {
        state.SkipWithError(scene.gpu.Error().c_str());
        return;
    }
    int frame = 0;
    for (auto _ : state) {
        ++frame;
        scene.Frame(97.0 + std::fmod(frame / 60.0, 3.0));
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_StarSceneFrame, OpenGL, D3D9Backend::OpenGL)
    ->Args({640, 480})
    ->Args({1280, 720})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StarSceneFrame, Recording, D3D9Backend::Recording)
    ->Args({640, 480})
    ->Args({1280, 720})
    ->Unit(benchmark::kMillisecond);
