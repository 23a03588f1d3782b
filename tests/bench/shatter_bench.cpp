// Frame time of the breaking-yacht scene at 80 s (the sails half gone, the
// pieces in the air) on the headless OpenGL device, at 640 x 480 and
// 1280 x 720, with the real meshes, textures and shaders of data.pak (run
// from anywhere; the pack is read from the build folder).
//
// Counters: "effect_ms" is the wall time inside the effect's Update, Render
// and PostProcess (on Mesa's llvmpipe the draws finish inside those calls,
// so it is nearly the whole frame); "walk_us" the wall time of Update alone,
// that is the walk over the yacht's vertex buffer, the one per-frame cost of
// the scene on the processor. The CPU column is the calling thread alone:
// our code (effects, stand-ins) and the driver's front end; the rest of the
// wall time is the renderer's own threads running the shaders.
#include <benchmark/benchmark.h>

#include <chrono>

#include <unistd.h>

#include "effects/shatter_effect.h"
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

using Clock = std::chrono::steady_clock;

constexpr const char* kMeshFiles[] = {
    "Media//fy_faen_assSmall.X", "Media//ocean.X",        "Media//yachtAll2.x", "Media//skydome.X",
    "Media//sphere.x",           "Media//creditsPlane.x", "Media//cylinder.X",
};

// The shared services of the demo state for one device size.
struct ShatterWorld {
    ShatterWorld(UINT width, UINT height) : gpu(D3D9Backend::OpenGL, width, height) {
        if (!gpu || chdir(DEMO_BINARY_DIR) != 0) return;
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
        for (const char* file : kMeshFiles) s.meshes.emplace_back(GetMesh(file));
        ready = true;
    }
    ~ShatterWorld() {
        DemoState& s = g_demoState;
        s.meshes.clear();
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

    // One pass of the frame loop with the effect alone.
    void Frame(Mirel::Effect& effect, double time) {
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
        Clock::time_point start = Clock::now();
        effect.Update(s.frameDelta, s.time);
        Clock::time_point updated = Clock::now();
        effect.Render();
        device->SetRenderTarget(0, back);
        back->Release();
        effect.PostProcess();
        Clock::time_point done = Clock::now();
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
        inUpdate += std::chrono::duration<double>(updated - start).count();
        inEffect += std::chrono::duration<double>(done - start).count();
    }

    TestDevice gpu;
    Mirel::System window;
    bool ready = false;
    double inUpdate = 0.0;
    double inEffect = 0.0;
};

void BM_ShatterFrameAt80s(benchmark::State& state) {
    ShatterWorld world(UINT(state.range(0)), UINT(state.range(1)));
    if (!world.ready) {
        state.SkipWithError("no headless OpenGL device or no data.pak");
        return;
    }
    Mirel::ShatterEffect effect(&g_demoState);
    effect.startTime = 73.0;
    effect.endTime = 90.0;
    effect.Init();
    g_demoState.time = 73.0;
    effect.Start(73.0 + 1.0 / 30);
    // Up to the moment measured, the state only (the clock, the camera, Update).
    for (double time = 73.0 + 1.0 / 30; time < 80.0; time += 1.0 / 30) {
        g_demoState.frameDelta = time - g_demoState.time;
        g_demoState.time = time;
        g_demoState.camera->UpdateCamera(time);
        effect.Update(g_demoState.frameDelta, time);
    }
    // A few frames first: the first draws link the shader pairs.
    double time = 80.0;
    for (int warm = 0; warm < 3; ++warm) world.Frame(effect, time += 1.0 / 30);
    world.inUpdate = world.inEffect = 0.0;
    for (auto _ : state) {
        time += 1.0 / 30;
        world.Frame(effect, time);
    }
    const double frames = double(state.iterations());
    state.counters["effect_ms"] = benchmark::Counter(1000.0 * world.inEffect / frames);
    state.counters["walk_us"] = benchmark::Counter(1e6 * world.inUpdate / frames);
    state.counters["vertices"] = benchmark::Counter(effect.shatterMesh ? effect.shatterMesh->GetNumVertices() : 0);
    effect.Stop();
}
BENCHMARK(BM_ShatterFrameAt80s)->Args({640, 480})->Args({1280, 720})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
