// g_demoState filled as the frame loop finds it, for one headless device: a
// window of the device's size, the screen texture and depth, the resource
// manager over data.pak (read from the working folder), the camera, a music
// player with a silent spectrum, the quad, a recording sprite, and (on
// request) the seven scene meshes. Scene tests reach it through
// EffectFixture; the benchmarks use it directly.
//
// Frame runs one pass of the frame loop for one effect alone, on an exact
// clock: time and delta set, camera and mesh transforms updated, the screen
// texture made target 0 and cleared to white, Update, Render, then the back
// buffer put back, PostProcess and Present.
#pragma once

#include "shell/system.h"
#include "tests/support/fakes.h"
#include "tests/support/test_device.h"
#include "timeline/effect.h"

class SceneWorld {
public:
    SceneWorld(D3D9Backend backend, UINT width, UINT height);
    ~SceneWorld();
    SceneWorld(const SceneWorld&) = delete;
    SceneWorld& operator=(const SceneWorld&) = delete;

    // Wall seconds of one frame inside Update, and inside Update, Render and PostProcess.
    struct Spent {
        double update = 0.0;
        double effect = 0.0;
    };

    // The seven scene meshes from the pack, in their load order.
    void LoadSceneMeshes();
    // Start(time) and the effect's first frame at that time.
    void StartAt(Mirel::Effect& effect, double time);
    Spent Frame(Mirel::Effect& effect, double time);
    // Start(start + 1/30), then the clock, the camera and Update alone, 30 times a second, up to `until`.
    void UpdateOnly(Mirel::Effect& effect, double start, double until);

    TestDevice gpu;
    IDirect3DDevice9* device = nullptr;
    FakeSprite sprite;
    Mirel::System window;
    bool readBack = false;  // Frame's Present reads the shown picture back
};
