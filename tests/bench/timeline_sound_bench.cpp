// Per-frame costs of the camera, the mesh path and the music spectrum.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/fmod/fmod_internal.h"
#include "resources/path_files.h"
#include "scene/camera.h"
#include "scene/mesh_path_animation.h"

static void BM_SpectrumOf1024Samples(benchmark::State& state) {
    std::vector<float> samples(1024);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<float>(std::sin(0.1 * static_cast<double>(i)));
    }
    fmod_standin::SpectrumAnalyser analyser;
    float bands[512];
    for (auto _ : state) {
        analyser.Compute(samples.data(), 512, FMOD_DSP_FFT_WINDOW_TRIANGLE, bands);
        benchmark::DoNotOptimize(bands);
    }
}
BENCHMARK(BM_SpectrumOf1024Samples);

static void BM_CameraPathEvaluate(benchmark::State& state) {
    CameraPath path;
    path.duration = 20.0f;
    for (int k = 0; k < 40; ++k) {
        CameraKey key;
        key.eye = D3DXVECTOR3(static_cast<float>(k), 1, 2);
        path.keys.push_back(key);
    }
    Camera camera;
    camera.FollowPath(&path, 0.0);
    double time = 0.0;
    for (auto _ : state) {
        camera.UpdateCamera(time);
        time += 1.0 / 60;
        benchmark::DoNotOptimize(camera.viewProjection);
    }
}
BENCHMARK(BM_CameraPathEvaluate);

static void BM_MeshPathEvaluate(benchmark::State& state) {
    MeshPath path;
    path.duration = 20.0f;
    for (int k = 0; k < 40; ++k) {
        MeshKey key;
        key.translation = D3DXVECTOR3(static_cast<float>(k), 0, 0);
        key.scale = D3DXVECTOR3(1, 1, 1);
        key.rotation = D3DXQUATERNION(0, std::sin(0.05f * k), 0, std::cos(0.05f * k));
        path.keys.push_back(key);
    }
    D3DXMATRIX world;
    float time = 0.0f;
    for (auto _ : state) {
        Evaluate(path, &world, time);
        time += 1.0f / 60;
        benchmark::DoNotOptimize(world);
    }
}
BENCHMARK(BM_MeshPathEvaluate);
