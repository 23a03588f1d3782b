#include "shell/win_main.h"

#include "effects/timeline_builder.h"
#include "platform/fmod/fmod.hpp"
#include "render/graphics.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "shell/loader_dialog.h"
#include "shell/run_control.h"
#include "shell/system.h"
#include "sound/music_player.h"

namespace {

// Load order is the index effects use: 0 island, 1 sea, 2 boat, 3 sky dome,
// 4 sphere, 5 credits plane, 6 cylinder.
constexpr const char* kSceneMeshes[] = {
    "Media//fy_faen_assSmall.X", "Media//ocean.X",        "Media//yachtAll2.x", "Media//skydome.X",
    "Media//sphere.x",           "Media//creditsPlane.x", "Media//cylinder.X",
};

template <class T>
void ReleaseInterface(T*& object) {
    if (object) object->Release();
    object = nullptr;
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
        delete s.debugFont;
        s.debugFont = nullptr;
    }
    delete s.quad;
    s.quad = nullptr;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ScreenMode mode = RunLoaderDialog();
    if (!CreateDemoWindow(mode.width, mode.height, mode.fullscreen)) return kExitStartupFailed;
    if (!InitGraphics()) return kExitStartupFailed;
    g_resourceManager = g_demoState.resources;

    DrawLoadingScreen(g_demoState.resources->GetTexture("Textures//Loading.jpg"));
    OnLoadingPresented();

    for (const char* file : kSceneMeshes) {
        Mirel::XMeshObj mesh(GetMesh(file));
        AddMesh(mesh);
    }

    g_demoState.music->spectrumInterval = -1.0f;
    g_demoState.music->spectrumEnabled = true;

    BuildTimeline();

    FMOD::Sound* music = g_demoState.music->CreateMusic();
    FMOD::Channel* channel = nullptr;
    if (g_demoState.music->system->playSound(FMOD_CHANNEL_FREE, music, false, &channel) != FMOD_OK) std::exit(-1);

    g_demoState.time = 0.0;
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    g_demoState.prevCounter = counter.QuadPart;

    while (PumpMessages() && !g_demoState.quit && !RunShouldStop()) {
        BeginFrame();
        UpdateDemo();
        RenderEffects();
        EndFrame();
        OnFramePresented();
    }

    ReleaseShared();
    UnregisterClassA("KelClass", g_system.instance);
    ShowCursor(TRUE);
    return 0;
}
