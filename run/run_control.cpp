#include "run/run_control.h"

#include <stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/win32/win32_platform.h"
#include "shell/demo_state.h"
#include "shell/loader_dialog.h"
#include "shell/run_hooks.h"
#include "sound/music_player.h"

namespace {

// Demo time is a running sum of frame deltas; compare times with this slack
// so that, on a fixed-step clock, frame k lands on k/N.
constexpr double kTimeSlack = 1e-9;

struct RunState {
    DemoOptions options;
    std::vector<bool> taken;
    bool shotFailed = false;
    long frames = 0;
    std::chrono::steady_clock::time_point firstFrame;
    std::chrono::steady_clock::time_point lastFrame;
    double nextSpectrumLine = 0.0;
};

RunState& Run() {
    static RunState state;
    return state;
}

bool WritePng(const std::string& path, std::vector<uint8_t>& rgba, int width, int height) {
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    if (!stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4)) {
        std::fprintf(stderr, "Could not write the picture \"%s\".\n", path.c_str());
        return false;
    }
    return true;
}

void TakeShots(bool loading) {
    RunState& run = Run();
    for (size_t i = 0; i < run.options.shots.size(); ++i) {
        const ShotRequest& shot = run.options.shots[i];
        if (run.taken[i] || shot.atLoading != loading) continue;
        if (!loading && g_demoState.time < shot.seconds - kTimeSlack) continue;
        run.taken[i] = true;
        if (!SavePresentedPicture(shot.path)) run.shotFailed = true;
    }
}

// One line: demo time, the bands the scenes read (40 and 180), and the loudest band.
void PrintSpectrum() {
    RunState& run = Run();
    if (!run.options.printSpectrum || !g_demoState.music || g_demoState.time < run.nextSpectrumLine) return;
    run.nextSpectrumLine = g_demoState.time + 0.5;
    const float* spectrum = g_demoState.music->spectrum;
    const float* loudest = std::max_element(spectrum, spectrum + 512);
    std::printf("spectrum %8.3f s  band 40 %.4f  band 180 %.4f  loudest band %3d %.4f\n", g_demoState.time,
                spectrum[40], spectrum[180], static_cast<int>(loudest - spectrum), *loudest);
}

}  // namespace

void ApplyRunOptions(const DemoOptions& options) {
    RunState& run = Run();
    run = RunState();
    run.options = options;
    run.taken.assign(options.shots.size(), false);
    if (options.headless) Win32_SetBackend(Win32Backend::Headless);
    if (options.fps > 0) Win32_SetFixedStep(options.fps);
    if (options.hasMode) {
        // The dialog is answered unseen; a size the display does not list joins the list.
        AddScreenMode(options.width, options.height);
        Win32_SetClassOffscreen("LoaderClass", true);
    }
    g_loaderDialogReady = AnswerLoaderDialog;
    g_runHooks.shouldStop = RunShouldStop;
    g_runHooks.loadingPresented = OnLoadingPresented;
    g_runHooks.framePresented = OnFramePresented;
}

const DemoOptions& RunOptions() { return Run().options; }

void AnswerLoaderDialog() {
    const DemoOptions& options = Run().options;
    const LoaderDialog& dialog = g_loaderDialog;
    if (!options.dialogShot.empty()) {
        std::vector<uint8_t> rgba;
        int width = 0, height = 0;
        bool saved = Win32_CaptureWindow(dialog.window, &rgba, &width, &height) &&
                     WritePng(options.dialogShot, rgba, width, height);
        std::exit(saved ? 0 : kExitShotFailed);
    }
    if (options.hasMode) {
        WPARAM position = 0;
        for (const auto& [size, mode] : g_screenModes) {
            if (size.first == options.width && size.second == options.height) break;
            ++position;
        }
        PostMessageA(dialog.modeList, CB_SETCURSEL, position, 0);
    }
    if (options.fullscreen)
        PostMessageA(dialog.fullscreenBox, BM_SETCHECK, *options.fullscreen ? BST_CHECKED : BST_UNCHECKED, 0);
    if (options.hasMode || Win32_GetBackend() == Win32Backend::Headless) {
        // A click is followed by more messages; the dialog's loop leaves on the next one.
        PostMessageA(dialog.runButton, BM_CLICK, 0, 0);
        PostMessageA(dialog.window, WM_NULL, 0, 0);
    }
}

bool SavePresentedPicture(const std::string& path) {
    std::vector<uint8_t> rgba;
    int width = 0, height = 0;
    if (!g_demoState.device || !D3D9_ReadPresented(g_demoState.device, &rgba, &width, &height)) {
        std::fprintf(stderr, "No presented picture to save as \"%s\".\n", path.c_str());
        return false;
    }
    return WritePng(path, rgba, width, height);
}

bool RunShouldStop() {
    const DemoOptions& options = Run().options;
    if (!options.until) return false;
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    double next = g_demoState.time +
                  static_cast<double>(counter.QuadPart - g_demoState.prevCounter) * g_demoState.secondsPerTick;
    return next >= *options.until - kTimeSlack;
}

void OnLoadingPresented() { TakeShots(true); }

void OnFramePresented() {
    RunState& run = Run();
    auto now = std::chrono::steady_clock::now();
    if (run.frames++ == 0) run.firstFrame = now;
    run.lastFrame = now;
    TakeShots(false);
    PrintSpectrum();
}

int FinishRun(int status) {
    RunState& run = Run();
    if (status == 0) {
        for (size_t i = 0; i < run.options.shots.size(); ++i) {
            if (run.taken[i]) continue;
            const ShotRequest& shot = run.options.shots[i];
            if (shot.atLoading)
                std::fprintf(stderr, "The loading picture was never presented; \"%s\" not saved.\n", shot.path.c_str());
            else
                std::fprintf(stderr, "The demo ended at %.3f s, before %g s; \"%s\" not saved.\n", g_demoState.time,
                             shot.seconds, shot.path.c_str());
            run.shotFailed = true;
        }
        if (run.shotFailed) status = kExitShotFailed;
    }
    if (run.options.Any()) {
        double wall = std::chrono::duration<double>(run.lastFrame - run.firstFrame).count();
        double perFrame = run.frames > 1 ? wall / static_cast<double>(run.frames - 1) * 1000.0 : 0.0;
        std::printf("%ld frames rendered, demo time %.3f s, %.2f ms a frame on average\n", run.frames,
                    g_demoState.time, perFrame);
    }
    return status;
}
