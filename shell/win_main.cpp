#include "shell/win_main.h"

#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "effects/timeline_builder.h"
#include "platform/fmod/fmod.hpp"
#include "render/debug_font.h"
#include "render/init_graphics.h"
#include "render/quad.h"
#include "render/release_interface.h"
#include "resources/decode_ahead.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "scene/scene_meshes.h"
#include "shell/demo_state.h"
#include "shell/frame.h"
#include "shell/loader_dialog.h"
#include "shell/run_hooks.h"
#include "shell/system.h"
#include "sound/music_player.h"
#include "timeline/scheduler.h"

namespace {

// Load order is the index effects use (scene/scene_meshes.h).
constexpr const char* kSceneMeshes[] = {
    "Media//fy_faen_assSmall.X", "Media//ocean.X",        "Media//yachtAll2.x", "Media//skydome.X",
    "Media//sphere.x",           "Media//creditsPlane.x", "Media//cylinder.X",
};
static_assert(std::size(kSceneMeshes) == Mirel::kSceneMeshCount);
constexpr const char* kLoadingPicture = "Textures//Loading.jpg";

}  // namespace

RunHooks g_runHooks;

namespace {

void StartupStep(const char* name) {
    if (g_runHooks.startupStep) g_runHooks.startupStep(name);
}

}  // namespace

void AddMesh(const Mirel::XMeshObj& mesh) { g_demoState.meshes.push_back(mesh); }

void ReleaseShared() {
    DemoState& s = g_demoState;
    ReleaseInterface(s.d3d);
    ReleaseInterface(s.device);
    ReleaseInterface(s.sprite);
    delete s.camera;
    s.camera = nullptr;
    if (s.music) {
        if (s.music->system) s.music->system->release();
        delete s.music;
        s.music = nullptr;
    }
    delete s.resources;
    s.resources = nullptr;
    g_resourceManager = nullptr;
    if (s.debugFont) {
        ReleaseInterface(s.debugFont->font);
        ReleaseInterface(s.debugFont->sprite);
        delete s.debugFont;
        s.debugFont = nullptr;
    }
    delete s.quad;
    s.quad = nullptr;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    StartupStep("loader dialog");
    ScreenMode mode = RunLoaderDialog();
    StartupStep("window");
    if (!CreateDemoWindow(mode.width, mode.height, mode.fullscreen)) return kExitStartupFailed;
    // Meshes and pictures decode on a second thread from here on, the
    // loading picture and the meshes first; the loaders take them as they go.
    std::vector<std::string> firstDecoded = {std::string(StripResourceName(kLoadingPicture))};
    for (const char* file : kSceneMeshes) firstDecoded.emplace_back(StripResourceName(file));
    std::optional<Mirel::PackDecodeAhead> decodeAhead(std::in_place, std::move(firstDecoded));
    StartupStep("graphics");
    if (!InitGraphics()) return kExitStartupFailed;
    g_resourceManager = g_demoState.resources;

    StartupStep("loading picture");
    DrawLoadingScreen(g_demoState.resources->GetTexture(kLoadingPicture));
    if (g_runHooks.loadingPresented) g_runHooks.loadingPresented();

    StartupStep("meshes");
    for (const char* file : kSceneMeshes) {
        Mirel::XMeshObj mesh(GetMesh(file));
        AddMesh(mesh);
    }

    g_demoState.music->spectrumInterval = -1.0f;
    g_demoState.music->spectrumEnabled = true;

    StartupStep("timeline");
    BuildTimeline();
    // A run that ends before the timeline does (a music failure exits from
    // here on) still stops and deletes the effects it built.
    std::atexit(RetireRemainingEffects);
    decodeAhead.reset();  // everything is loaded
    StartupStep("rehearsal");
    RehearseEffects();

    StartupStep("music");
    FMOD::Sound* music = g_demoState.music->CreateMusic();
    FMOD::Channel* channel = nullptr;
    if (g_demoState.music->system->playSound(FMOD_CHANNEL_FREE, music, false, &channel) != FMOD_OK) std::exit(-1);
    if (g_runHooks.musicStarted) g_runHooks.musicStarted(channel);

    g_demoState.time = 0.0;
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    g_demoState.prevCounter = counter.QuadPart;

    StartupStep("frames");
    while (PumpMessages() && !g_demoState.quit && !(g_runHooks.shouldStop && g_runHooks.shouldStop())) {
        if (g_runHooks.frameStarting) g_runHooks.frameStarting();
        BeginFrame();
        UpdateDemo();
        RenderEffects();
        EndFrame();
        if (g_runHooks.framePresented) g_runHooks.framePresented();
    }

    RetireRemainingEffects();
    ReleaseShared();
    UnregisterClassA("KelClass", g_system.instance);
    ShowCursor(TRUE);
    return 0;
}
