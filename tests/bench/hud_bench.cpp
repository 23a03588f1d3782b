// What the overlay adds to a frame at 640 x 480 on OpenGL (headless): a
// present with the overlay drawn over it (1; 2 with the pass list, which has
// the device time every pass) against a present alone (0), each read back so
// that the renderer's work is done within the measurement. The overlay draws
// everything it shows: two lines of text, the frame-time graph full, and all
// 512 spectrum bands. With LP_NUM_THREADS=0 llvmpipe renders on the calling
// thread, so the CPU column holds all of the work.
#include <benchmark/benchmark.h>

#include "run/hud.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"
#include "tests/support/test_device.h"

namespace {

void BM_Present(benchmark::State& state) {
    TestDevice gpu(D3D9Backend::OpenGL, 640, 480);
    if (!gpu) {
        state.SkipWithError(gpu.Error().c_str());
        return;
    }
    MusicPlayer music;
    for (int band = 0; band < 512; ++band) music.spectrum[band] = 0.2f / float(1 + band / 8);
    g_demoState.device = gpu.Get();
    g_demoState.music = &music;
    g_demoState.time = 52.5;
    HudTimePasses(state.range(0) == 2);
    InstallHud(gpu.Get(), state.range(0) != 0);
    for (int warm = 0; warm < 130; ++warm) gpu.Present();
    for (auto _ : state) benchmark::DoNotOptimize(gpu.Present());
    if (state.range(0)) state.counters["overlay_draw_ms"] = HudDrawSeconds() * 1000.0;
    ReleaseHud();
    HudTimePasses(true);
    g_demoState.device = nullptr;
    g_demoState.music = nullptr;
}

}  // namespace

BENCHMARK(BM_Present)->ArgName("overlay")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
