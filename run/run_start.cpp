#include "run/run_start.h"

#include <algorithm>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/fmod/fmod.hpp"
#include "platform/win32/win32_platform.h"
#include "run/capture_timing.h"
#include "shell/demo_state.h"
#include "shell/loader_dialog.h"
#include "shell/run_hooks.h"

namespace {

// Samples the spectrum reads behind the play position (2 x 512 bands).
constexpr int64_t kSpectrumWindow = 1024;

}  // namespace

WPARAM ModePosition(int width, int height) {
    WPARAM position = 0;
    for (const auto& [size, mode] : g_screenModes) {
        if (size.first == width && size.second == height) break;
        ++position;
    }
    return position;
}

void AnswerDialog(std::optional<WPARAM> mode, std::optional<bool> fullscreen) {
    const LoaderDialog& dialog = g_loaderDialog;
    if (mode) PostMessageA(dialog.modeList, CB_SETCURSEL, *mode, 0);
    if (fullscreen) PostMessageA(dialog.fullscreenBox, BM_SETCHECK, *fullscreen ? BST_CHECKED : BST_UNCHECKED, 0);
    PostMessageA(dialog.runButton, BM_CLICK, 0, 0);
    PostMessageA(dialog.window, WM_NULL, 0, 0);
}

double NextFrameTime() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return g_demoState.time +
           static_cast<double>(counter.QuadPart - g_demoState.prevCounter) * g_demoState.secondsPerTick;
}

void LeadIn::StartAt(double seconds, int fps) {
    firstDrawn = capture::FirstFrameAt(seconds, fps > 0 ? fps : kLeadInFps);
}

void LeadIn::LoadingPresented(int fps) const {
    if (firstDrawn > 0 && fps == 0) Win32_SetLeadIn(kLeadInFps, firstDrawn);
}

void LeadIn::MusicStarted(FMOD::Channel* channel) {
    music = channel;
    if (holdMusic && music) music->setPaused(true);
}

void LeadIn::FrameStarting(bool paused) {
    if (g_demoState.device) D3D9_SetDiscarding(g_demoState.device, !Drawing());
    if (!holdMusic || !music || nextFrame > firstDrawn) return;
    int64_t sample = static_cast<int64_t>(NextFrameTime() * capture::kSampleRate);
    if (!Drawing()) sample -= kSpectrumWindow;
    music->setPosition(static_cast<unsigned int>(std::max<int64_t>(sample, 0)), FMOD_TIMEUNIT_PCM);
    if (Drawing() && !paused) music->setPaused(false);
}

void InstallRehearsal() {
    g_runHooks.rehearsing = [](bool on) {
        D3D9_SetCompilingOnly(g_demoState.device, on);
        if (on) Win32_KeepResponsive();
    };
}
