#include "run/run_control.h"
#include "run/png_file.h"

#include <stb_image_write.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/fmod/fmod.hpp"
#include "platform/win32/win32_platform.h"
#include "run/capture.h"
#include "run/capture_timing.h"
#include "run/demo_controls.h"
#include "run/hud.h"
#include "run/rewind.h"
#include "run/run_start.h"
#include "run/shader_folder.h"
#include "shell/demo_state.h"
#include "shell/loader_dialog.h"
#include "shell/run_hooks.h"
#include "sound/music_player.h"

namespace {

// Demo time is a running sum of frame deltas; compare times with this slack
// so that, on a fixed-step clock, frame k lands on k/N.
constexpr double kTimeSlack = capture::kTimeSlack;

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int signal) {
    g_interrupted = 1;
    std::signal(signal, SIG_DFL);  // a second one ends the program at once
}

struct Progress {
    bool terminal = false;
    bool shown = false;
    int tenthsShown = 0;  // away from a terminal: the last tenth of the span reported
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point lastLine;
};

struct RunState {
    DemoOptions options;
    std::vector<bool> taken;
    bool shotFailed = false;
    long frames = 0;
    std::chrono::steady_clock::time_point firstFrame;
    std::chrono::steady_clock::time_point lastFrame;
    double nextSpectrumLine = 0.0;

    LeadIn lead;  // the frames before --start, or before a restart's moment
    bool paused = false;
    bool restarted = false;  // the timeline went back to 0 since start-up
    std::unique_ptr<Capture> capture;
    capture::Span span;
    Progress progress;
};

RunState& Run() {
    static RunState state;
    return state;
}

bool WritePng(const std::string& path, std::vector<uint8_t>& rgba, int width, int height) {
    return WritePngFile(path, rgba, width, height);
}

void TakeShots(bool loading) {
    RunState& run = Run();
    for (size_t i = 0; i < run.options.shots.size(); ++i) {
        const ShotRequest& shot = run.options.shots[i];
        if (run.taken[i] || shot.atLoading != loading) continue;
        if (!loading && (g_demoState.time < shot.seconds - kTimeSlack || run.lead.nextFrame < run.lead.firstDrawn))
            continue;
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
    // One heap for every thread: the pictures the loading thread decodes are
    // freed, once uploaded, into the heap the main thread's textures and
    // meshes are then made from, instead of staying resident in a heap of the
    // loading thread's own.
    mallopt(M_ARENA_MAX, 1);
    RunState& run = Run();
    run = RunState();
    run.options = options;
    run.taken.assign(options.shots.size(), false);
    if (options.headless) Win32_SetBackend(Win32Backend::Headless);
    if (options.fps > 0) Win32_SetFixedStep(options.fps);
    if (options.start) run.lead.StartAt(*options.start, options.fps);
    // A capture takes the music's span itself.
    run.lead.holdMusic = options.start && options.captureKind == CaptureKind::None;
    if (options.hasMode) {
        // The dialog is answered unseen; a size the display does not list joins the list.
        AddScreenMode(options.width, options.height);
        Win32_SetClassOffscreen("LoaderClass", true);
    }
    g_loaderDialogReady = AnswerLoaderDialog;
    g_runHooks.shouldStop = RunShouldStop;
    g_runHooks.loadingPresented = OnLoadingPresented;
    g_runHooks.musicStarted = [](FMOD::Channel* channel) { Run().lead.MusicStarted(channel); };
    g_runHooks.frameStarting = OnFrameStarting;
    g_runHooks.framePresented = OnFramePresented;
    g_runHooks.startupStep = [](const char* step) {
        if (std::string_view(step) == "timeline") KeepStartOfTimeline();
    };
    InstallDemoControls();
    if (!options.shaders.empty()) UseShaderFolder(options.shaders);
    // On a cold shader cache the rehearsal at start-up takes seconds.
    InstallRehearsal();
}

int StartCapture() {
    RunState& run = Run();
    const DemoOptions& options = run.options;
    if (options.captureKind == CaptureKind::None) return 0;
    CaptureSettings settings;
    settings.target = options.capture;
    settings.kind = options.captureKind;
    settings.width = options.width;
    settings.height = options.height;
    settings.span = capture::SpanOf(options.start.value_or(0.0),
                                    std::min(options.until.value_or(kDemoSeconds), kDemoSeconds), options.fps);
    run.span = settings.span;
    run.capture = std::make_unique<Capture>();
    std::string error;
    Capture::OpenFailure failure = run.capture->Open(settings, &error);
    if (failure != Capture::OpenFailure::None) {
        std::fprintf(stderr, "demo: capture: %s\n", error.c_str());
        run.capture.reset();
        return failure == Capture::OpenFailure::Music ? kExitSoundFailed : kExitCaptureFailed;
    }
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    run.progress.terminal = isatty(STDERR_FILENO) != 0;
    return 0;
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
    if (options.hasMode || Win32_GetBackend() == Win32Backend::Headless)
        AnswerDialog(options.hasMode ? std::optional(ModePosition(options.width, options.height)) : std::nullopt,
                     options.fullscreen);
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

namespace {

// Frame, demo time, rate, share done, time left: on a terminal one line
// rewritten in place; elsewhere (a log, a CI job) a plain line at every tenth
// of the span.
void ShowProgress(bool force) {
    RunState& run = Run();
    Progress& progress = run.progress;
    auto now = std::chrono::steady_clock::now();
    int64_t done = run.lead.nextFrame + 1 - run.span.first;
    int64_t total = std::max<int64_t>(run.span.Frames(), 1);
    if (done == 1) progress.started = now;
    if (progress.terminal) {
        if (!force && now - progress.lastLine < std::chrono::milliseconds(250)) return;
    } else {
        int tenths = static_cast<int>(10 * done / total);
        if (tenths <= progress.tenthsShown) return;
        progress.tenthsShown = tenths;
    }
    progress.lastLine = now;
    double elapsed = std::chrono::duration<double>(now - progress.started).count();
    double rate = elapsed > 0 ? static_cast<double>(done - 1) / elapsed : 0.0;
    int64_t left = run.span.end - run.lead.nextFrame - 1;
    int secondsLeft = rate > 0 ? static_cast<int>(static_cast<double>(left) / rate + 0.5) : 0;
    std::fprintf(stderr, "%sframe %lld/%lld  %8.3f s  %6.1f fps  %3d%%  %d:%02d left%s", progress.terminal ? "\r" : "",
                 static_cast<long long>(run.lead.nextFrame), static_cast<long long>(run.span.end - 1), g_demoState.time,
                 rate, static_cast<int>(100 * done / total), secondsLeft / 60, secondsLeft % 60,
                 progress.terminal ? "\x1b[K" : "\n");
    std::fflush(stderr);
    progress.shown = progress.terminal;
}

void CaptureFrame() {
    RunState& run = Run();
    if (!run.capture || run.lead.nextFrame < run.span.first || run.lead.nextFrame >= run.span.end) return;
    std::vector<uint8_t> rgba = run.capture->TakeBuffer();
    int width = 0, height = 0;
    if (!D3D9_ReadPresented(g_demoState.device, &rgba, &width, &height)) {
        width = height = 0;
        rgba.clear();
    }
    run.capture->Add(run.lead.nextFrame, std::move(rgba), width, height);
    ShowProgress(run.lead.nextFrame + 1 == run.span.end);
}

// Megabytes with one decimal.
double Megabytes(uintmax_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

int FinishCapture(int status) {
    RunState& run = Run();
    if (run.progress.shown) std::fputc('\n', stderr);
    bool interrupted = g_interrupted != 0;
    CaptureResult result = run.capture->Finish(interrupted);
    run.capture.reset();
    const int fps = run.span.fps;
    const double from = static_cast<double>(run.span.first) / fps;
    if (!result.ok) {
        std::fprintf(stderr, "demo: capture failed: %s; nothing was kept under \"%s\".\n", result.error.c_str(),
                     run.options.capture.c_str());
        if (status != 0) return status;
        return interrupted ? kExitInterrupted : kExitCaptureFailed;
    }
    std::error_code ec;
    std::string where = std::filesystem::absolute(result.path, ec).string();
    if (interrupted) {
        std::fprintf(stderr,
                     "Interrupted: %lld frames (%.3f to %.3f s) captured so far are in \"%s\" (partial, %.1f MB, "
                     "%.3f s).\n",
                     static_cast<long long>(result.frames), from, from + result.seconds, where.c_str(),
                     Megabytes(result.bytes), result.seconds);
        return status != 0 ? status : kExitInterrupted;
    }
    std::fprintf(stderr, "Captured %lld frames (%.3f to %.3f s, %d fps, %dx%d) to \"%s\": %.1f MB, %.3f s.\n",
                 static_cast<long long>(result.frames), from, from + result.seconds, fps, run.options.width,
                 run.options.height, where.c_str(), Megabytes(result.bytes), result.seconds);
    return status;
}

}  // namespace

bool RunShouldStop() {
    if (ServeDemoControls()) return true;
    RunState& run = Run();
    const DemoOptions& options = run.options;
    if (run.capture) {
        if (g_interrupted || run.capture->Failed() || run.lead.nextFrame >= run.span.end) return true;
    }
    if (!options.until) return false;
    return NextFrameTime() >= *options.until - kTimeSlack;
}

void OnLoadingPresented() {
    RunState& run = Run();
    TakeShots(true);
    InstallHud(g_demoState.device, run.options.hud);
    run.lead.LoadingPresented(run.options.fps);
}

void OnFrameStarting() {
    RunState& run = Run();
    if (!run.lead.Drawing()) HudFrameNotShown();
    run.lead.FrameStarting(run.paused);
}

void RestartAt(double seconds) {
    RunState& run = Run();
    run.lead.StartAt(seconds, run.options.fps);
    run.lead.nextFrame = 0;
    run.restarted = true;
    run.nextSpectrumLine = 0.0;
    run.lead.holdMusic = run.lead.music != nullptr;
    if (run.lead.music) run.lead.music->setPaused(true);
    if (run.options.fps > 0)
        Win32_SetFixedStep(run.options.fps);
    else
        Win32_SetLeadIn(kLeadInFps, run.lead.firstDrawn);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    g_demoState.prevCounter = counter.QuadPart;
}

void SetRunPaused(bool paused) {
    RunState& run = Run();
    if (paused == run.paused) return;
    run.paused = paused;
    // While a restart runs up to its moment the music waits for its first drawn frame.
    if (run.lead.music && !RunLeadingIn()) run.lead.music->setPaused(paused);
}

bool RunPaused() { return Run().paused; }

bool RunLeadingIn() {
    const RunState& run = Run();
    return run.lead.nextFrame <= run.lead.firstDrawn && (run.restarted || run.lead.firstDrawn > 0);
}

void OnFramePresented() {
    RunState& run = Run();
    auto now = std::chrono::steady_clock::now();
    if (run.frames++ == 0) run.firstFrame = now;
    run.lastFrame = now;
    TakeShots(false);
    PrintSpectrum();
    CaptureFrame();
    ++run.lead.nextFrame;
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
        std::printf("%ld frames rendered, demo time %.3f s, %.2f ms a frame on average\n", run.frames, g_demoState.time,
                    perFrame);
        std::fflush(stdout);
    }
    if (run.capture) status = FinishCapture(status);
    ReleaseHud();
    return status;
}
