// Cost of one frame of the closing scene at 97 to 100 s (the cylinder's
// pieces flying, the credits card on its path): the StarEffect's Update,
// Render and PostProcess and the Present, headless at 640 x 480 and
// 1280 x 720. On OpenGL (llvmpipe) that is the whole frame, the picture read
// back included; on the recording backend the same calls cost only our own
// code (the scene, the resource look-ups, the device and D3DX stand-ins'
// bookkeeping), so the ratio of the two is our share of a frame.
#include <benchmark/benchmark.h>

#include <cmath>

#include "effects/star_effect.h"
#include "shell/demo_state.h"
#include "tests/support/scene_world.h"

namespace {

void BM_StarSceneFrame(benchmark::State& state, D3D9Backend backend) {
    SceneWorld world(backend, static_cast<UINT>(state.range(0)), static_cast<UINT>(state.range(1)));
    if (!world.gpu) {
        state.SkipWithError(world.gpu.Error().c_str());
        return;
    }
    world.readBack = true;
    world.LoadSceneMeshes();
    Mirel::StarEffect effect(&g_demoState);
    effect.startTime = 90.0;
    effect.endTime = 110.0;
    effect.Init();
    g_demoState.time = 90.0;
    world.StartAt(effect, 90.0 + 1.0 / 60);
    world.Frame(effect, 97.0);
    int frame = 0;
    for (auto _ : state) {
        ++frame;
        world.Frame(effect, 97.0 + std::fmod(frame / 60.0, 3.0));
    }
    effect.Stop();
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
