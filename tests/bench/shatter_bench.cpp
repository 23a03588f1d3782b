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

#include <unistd.h>

#include "effects/shatter_effect.h"
#include "shell/demo_state.h"
#include "tests/support/scene_world.h"

namespace {

void BM_ShatterFrameAt80s(benchmark::State& state) {
    const bool inBuildFolder = chdir(DEMO_BINARY_DIR) == 0;
    SceneWorld world(D3D9Backend::OpenGL, UINT(state.range(0)), UINT(state.range(1)));
    if (!world.gpu || !inBuildFolder) {
        state.SkipWithError("no headless OpenGL device or no data.pak");
        return;
    }
    world.LoadSceneMeshes();
    Mirel::ShatterEffect effect(&g_demoState);
    effect.startTime = 73.0;
    effect.endTime = 90.0;
    effect.Init();
    world.UpdateOnly(effect, 73.0, 80.0);
    // A few frames first: the first draws link the shader pairs.
    double time = 80.0;
    for (int warm = 0; warm < 3; ++warm) world.Frame(effect, time += 1.0 / 30);
    SceneWorld::Spent spent;
    for (auto _ : state) {
        const SceneWorld::Spent frame = world.Frame(effect, time += 1.0 / 30);
        spent.update += frame.update;
        spent.effect += frame.effect;
    }
    const double frames = double(state.iterations());
    state.counters["effect_ms"] = benchmark::Counter(1000.0 * spent.effect / frames);
    state.counters["walk_us"] = benchmark::Counter(1e6 * spent.update / frames);
    state.counters["vertices"] = benchmark::Counter(effect.shatterMesh ? effect.shatterMesh->GetNumVertices() : 0);
    effect.Stop();
}
BENCHMARK(BM_ShatterFrameAt80s)->Args({640, 480})->Args({1280, 720})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
