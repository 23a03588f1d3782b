// The page's entry: the same start-up as on Linux (WinMain), with what the
// page adds around it. The page (index.html) fetches data.pak, shaders.cache
// and the music into the file system, then starts this with its query as arguments:
//
//   --mode WxH --fps N --until S --start S --autorun   (index.html?mode=WxH&fps=N&until=S&start=S&autorun)
//
// Without --autorun the loader dialog is the page's start panel: its modes,
// full screen, Run and Exit answer the dialog with the messages a user would
// cause. With --autorun and --mode the dialog is answered at once (windowed)
// and nothing is played, though the music is decoded and its spectrum read
// every frame as in a silent native run. --until ends the run once the frame
// at that time is on the canvas, and then sets the page title to
// "done <time of that frame>"; --start runs the frames before it without
// drawing, as natively.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/fmod/fmod.hpp"
#include "platform/win32/win32_platform.h"
#include "resources/resource_pack.h"
#include "run/capture_timing.h"
#include "run/options.h"
#include "run/run_start.h"
#include "shell/demo_state.h"
#include "shell/loader_dialog.h"
#include "shell/run_hooks.h"
#include "shell/win_main.h"

namespace {

struct WebRun {
    DemoOptions options;
    bool autorun = false;
    LeadIn lead;  // the frames before --start
    double lastPresented = -1.0;
} g_run;

// clang-format off
EM_JS(void, PageFailure, (const char* kind, const char* text), {
    Module.demoPage.failure(UTF8ToString(kind), UTF8ToString(text));
});
EM_JS(void, PageShowPanel, (const char* modes, int selected), {
    Module.demoPage.showPanel(JSON.parse(UTF8ToString(modes)), selected);
});
EM_JS(void, PageLoaded, (), { Module.demoPage.loaded(); });
EM_JS(void, PageLoadingPicture, (const uint8_t* bytes, int size), {
    Module.demoPage.loadingPicture(HEAPU8.slice(bytes, bytes + size));
});
EM_JS(void, PageFirstFrame, (), { Module.demoPage.firstFrame(); });
EM_JS(void, PageDone, (double seconds), { Module.demoPage.done(seconds); });
// clang-format on

// The dialog answered from the query, or shown as the page's start panel.
void DialogReady() {
    const DemoOptions& options = g_run.options;
    if (g_run.autorun) {
        AnswerDialog(ModePosition(options.width, options.height), std::nullopt);
        return;
    }
    std::string modes = "[";
    for (const auto& [size, mode] : g_screenModes)
        modes += (modes.size() > 1 ? ",\"" : "\"") + std::string(mode.label) + "\"";
    PageShowPanel((modes + "]").c_str(),
                  options.hasMode ? static_cast<int>(ModePosition(options.width, options.height)) : 0);
}

void FramePresented() {
    LeadIn& lead = g_run.lead;
    if (lead.nextFrame++ == lead.firstDrawn) PageFirstFrame();
    if (lead.nextFrame > lead.firstDrawn) g_run.lastPresented = g_demoState.time;
}

bool ShouldStop() {
    if (!g_run.options.until || g_run.lastPresented < 0.0) return false;
    return g_run.lastPresented >= *g_run.options.until - capture::kTimeSlack;
}

// A pack that cannot be read, or whose directory or loading picture cannot
// be, is shown as the page's failure instead of a run of empty scenes. The
// loading picture goes behind the start panel.
bool PackIsSound() {
    ResourcePack pack;
    if (!pack.Open("data.pak") || !pack.Directory()) return false;
    uint32_t size = 0;
    uint8_t* loading = pack.ReadEntry("Loading.jpg", &size);
    if (!loading || size == 0) return false;
    PageLoadingPicture(loading, static_cast<int>(size));
    delete[] loading;
    return true;
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void demo_panel_run(int modeIndex, int fullscreen) {
    AnswerDialog(static_cast<WPARAM>(modeIndex), fullscreen != 0);
}

extern "C" EMSCRIPTEN_KEEPALIVE void demo_panel_exit() { PostMessageA(g_loaderDialog.exitButton, BM_CLICK, 0, 0); }

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto autorun = std::find(args.begin(), args.end(), "--autorun");
    g_run.autorun = autorun != args.end();
    if (g_run.autorun) args.erase(autorun);
    ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.error.empty()) {
        PageFailure("query", parsed.error.c_str());
        return 2;
    }
    g_run.options = parsed.options;
    g_run.autorun = g_run.autorun && g_run.options.hasMode;
    if (!PackIsSound()) {
        PageFailure("pack", "The demo's data (data.pak) is damaged: it could not be read.");
        return 1;
    }
    const DemoOptions& options = g_run.options;
    if (options.fps > 0) Win32_SetFixedStep(options.fps);
    if (options.start) g_run.lead.StartAt(*options.start, options.fps);
    g_run.lead.holdMusic = options.start.has_value();
    if (options.hasMode) AddScreenMode(options.width, options.height);
    if (g_run.autorun) Win32_SetClassOffscreen("LoaderClass", true);
    g_loaderDialogReady = DialogReady;
    g_runHooks.loadingPresented = [] {
        PageLoaded();
        g_run.lead.LoadingPresented(g_run.options.fps);
    };
    g_runHooks.musicStarted = [](FMOD::Channel* channel) { g_run.lead.MusicStarted(channel); };
    g_runHooks.frameStarting = [] { g_run.lead.FrameStarting(false); };
    g_runHooks.framePresented = FramePresented;
    g_runHooks.shouldStop = ShouldStop;
    InstallRehearsal();
    int status = WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT);
    PageDone(g_run.lastPresented);
    return status;
}
