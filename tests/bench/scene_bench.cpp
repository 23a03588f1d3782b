// Frame time of the sketch scene (at 14 s) and the hatching scene (at 26 s,
// the sea growing) on the headless OpenGL device, at 640 x 480 and
// 1280 x 720: the frame's clear, the effect's Update, Render and PostProcess
// and the Present, with the real meshes, textures and shaders of data.pak
// (run from anywhere; the pack is read from the build folder). The counter
// "effect_ms" is the wall time inside the effect's Update, Render and
// PostProcess; on Mesa's llvmpipe the draws are finished inside those calls
// (the post passes read the targets back), so it is nearly the whole frame.
// The CPU column is the calling thread alone, that is our code (effects,
// stand-ins) and the driver's front end; the rest of the wall time is the
// renderer's own threads running the shaders.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include <unistd.h>

#include "effects/hand_draw_effect.h"
#include "effects/hand_to_hatch_effect.h"
#include "platform/fmod/fmod.hpp"
#include "render/quad.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "scene/mesh_object.h"
#include "shell/demo_state.h"
#include "shell/system.h"
#include "sound/music_player.h"
#include "tests/support/test_device.h"

namespace {

constexpr const char* kMeshFiles[] = {
    "Media//fy_faen_assSmall.X", "Media//ocean.X",        "Media//yachtAll2.x", "Media//skydome.X",
    "Media//sphere.x",           "Media//creditsPlane.x", "Media//cylinder.X",
};

// The shared services of the demo state, for one device size.
struct SceneState {
    SceneState(UINT width, UINT height) : gpu(D3D9Backend::OpenGL, width, height) {
        if (!gpu) return;
        if (chdir(DEMO_BINARY_DIR) != 0) return;
        DemoState& s = g_demoState;
        s.device = gpu.Get();
        s.resources = new Mirel::ResourceManager(s.device);
        g_resourceManager = s.resources;
        s.quad = new Quad(1.0f / float(width), 1.0f / float(height));
        s.music = new MusicPlayer();
        s.camera = new Camera();
        window.width = int32_t(width);
        window.height = int32_t(height);
        s.system = &window;
        s.screenTexture = gpu.RenderTarget(width, height);
        s.device->CreateDepthStencilSurface(width, height, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE, &s.screenDepth,
                                            nullptr);
        D3DXCreateSprite(s.device, &s.sprite);
        for (const char* file : kMeshFiles) s.meshes.emplace_back(GetMesh(file));
        ready = true;
    }
    ~SceneState() {
        DemoState& s = g_demoState;
        s.meshes.clear();
        if (s.sprite) s.sprite->Release();
        if (s.screenDepth) s.screenDepth->Release();
        delete s.camera;
        delete s.quad;
        delete s.resources;
        if (s.music) {
            s.music->system->release();
            delete s.music;
        }
        s = DemoState{};
        g_resourceManager = nullptr;
    }

    // One frame as the frame loop runs it with one active effect; returns
    // the seconds spent in the effect's calls.
    double Frame(Mirel::Effect& effect, double time) {
        DemoState& s = g_demoState;
        IDirect3DDevice9* device = s.device;
        s.frameDelta = time - s.time;
        s.time = time;
        s.camera->UpdateCamera(time);
        for (Mirel::XMeshObj& mesh : s.meshes) mesh.UpdateTransform();
        IDirect3DSurface9* back = nullptr;
        IDirect3DSurface9* surface = nullptr;
        device->BeginScene();
        device->GetRenderTarget(0, &back);
        s.screenTexture->GetSurfaceLevel(0, &surface);
        device->SetRenderTarget(0, surface);
        surface->Release();
        device->SetDepthStencilSurface(s.screenDepth);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);
        auto start = std::chrono::steady_clock::now();
        effect.Update(s.frameDelta, s.time);
        effect.Render();
        device->SetRenderTarget(0, back);
        back->Release();
        effect.PostProcess();
        std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
        return spent.count();
    }

    TestDevice gpu;
    Mirel::System window;
    bool ready = false;
};

template <class Scene>
void BM_SceneFrame(benchmark::State& state, double start, double end, double at) {
    SceneState scene(UINT(state.range(0)), UINT(state.range(1)));
    if (!scene.ready) {
        state.SkipWithError("no headless OpenGL device or no data.pak");
        return;
    }
    // The sketch scene binds the camera path that both scenes fly.
    Mirel::HandDrawEffect path(&g_demoState);
    path.Init();
    path.Start(10.5);
    Scene effect(&g_demoState);
    effect.startTime = start;
    effect.endTime = end;
    effect.Init();
    g_demoState.time = start;
    effect.Start(start + 1.0 / 30);
    // Up to the moment measured, the state only (the clock, the camera, Update).
    for (double time = start + 1.0 / 30; time < at; time += 1.0 / 30) {
        g_demoState.frameDelta = time - g_demoState.time;
        g_demoState.time = time;
        g_demoState.camera->UpdateCamera(time);
        effect.Update(g_demoState.frameDelta, time);
    }
    double time = at;
    double inEffect = 0.0;
    for (auto _ : state) {
        time += 1.0 / 30;
        inEffect += scene.Frame(effect, time);
    }
    state.counters["effect_ms"] = benchmark::Counter(1000.0 * inEffect / double(state.iterations()));
    effect.Stop();
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Args({640, 480})->Args({1280, 720})->Unit(benchmark::kMillisecond)->UseRealTime();
}

void BM_SketchFrameAt14s(benchmark::State& state) { BM_SceneFrame<Mirel::HandDrawEffect>(state, 10.5, 17.5, 14.0); }
void BM_HatchingFrameAt26s(benchmark::State& state) {
    BM_SceneFrame<Mirel::HandToHatchEffect>(state, 17.5, 33.5, 26.0);
}
BENCHMARK(BM_SketchFrameAt14s)->Apply(Sizes);
BENCHMARK(BM_HatchingFrameAt26s)->Apply(Sizes);

}  // namespace
