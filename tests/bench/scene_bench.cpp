// Frame time of the sketch scene (at 14 s) and the hatching scene (at 26 s,
// the sea growing) on the headless OpenGL device, at 640 x 480 and
// 1280 x 720: the frame's clear, the effect's Update, Render and PostProcess
// and the Present, with the real meshes, textures and shaders of data.pak
// and a real sprite (run from anywhere; the pack is read from the build
// folder). The counter "effect_ms" is the wall time inside the effect's
// Update, Render and PostProcess; on Mesa's llvmpipe the draws are finished
// inside those calls (the post passes read the targets back), so it is nearly
// the whole frame. The CPU column is the calling thread alone, that is our
// code (effects, stand-ins) and the driver's front end; the rest of the wall
// time is the renderer's own threads running the shaders.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include "effects/hand_draw_effect.h"
#include "effects/hand_to_hatch_effect.h"
#include "shell/demo_state.h"
#include "tests/support/scene_world.h"

namespace {

template <class Scene>
void BM_SceneFrame(benchmark::State& state, double start, double end, double at) {
    const bool inBuildFolder = chdir(DEMO_BINARY_DIR) == 0;
    SceneWorld world(D3D9Backend::OpenGL, UINT(state.range(0)), UINT(state.range(1)));
    if (!world.gpu || !inBuildFolder) {
        state.SkipWithError("no headless OpenGL device or no data.pak");
        return;
    }
    world.LoadSceneMeshes();
    D3DXCreateSprite(world.device, &g_demoState.sprite);
    {
        // The sketch scene binds the camera path that both scenes fly.
        Mirel::HandDrawEffect path(&g_demoState);
        path.Init();
        path.Start(10.5);
        Scene effect(&g_demoState);
        effect.startTime = start;
        effect.endTime = end;
        effect.Init();
        world.UpdateOnly(effect, start, at);
        double time = at;
        double inEffect = 0.0;
        for (auto _ : state) inEffect += world.Frame(effect, time += 1.0 / 30).effect;
        state.counters["effect_ms"] = benchmark::Counter(1000.0 * inEffect / double(state.iterations()));
        effect.Stop();
    }
    g_demoState.sprite->Release();
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
