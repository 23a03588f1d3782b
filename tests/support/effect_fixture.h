// The set-up every scene test shares: g_demoState with a device on the chosen
// backend and a window of the device's size, the screen texture and depth,
// the resource manager over build/data.pak, the camera, a music player with
// a silent spectrum, the quad, a recording sprite, and (on request) the seven
// scene meshes. A scene test starts in three lines:
//
//   class HandDrawTest : public EffectFixture {};
//   TEST_F(HandDrawTest, ...) {
//       Mirel::HandDrawEffect effect(&g_demoState);
//       effect.Init();
//       StartAt(effect, 10.5);  Frame(effect, 11.0);
//   }
//
// Frame runs one pass of the frame loop for that effect alone, on an exact
// clock: time and delta set, camera and mesh transforms updated, the screen
// texture made target 0 and cleared to white, Update, Render, then the back
// buffer put back, PostProcess and Present.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "shell/system.h"
#include "tests/support/fakes.h"
#include "tests/support/test_device.h"
#include "timeline/effect.h"

class EffectFixture : public ::testing::Test {
protected:
    explicit EffectFixture(D3D9Backend backend = D3D9Backend::Recording, UINT width = 64, UINT height = 48);
    void SetUp() override;
    void TearDown() override;

    // The seven scene meshes from the pack, in their load order.
    void LoadSceneMeshes();
    // Start(time) and the effect's first frame at that time.
    void StartAt(Mirel::Effect& effect, double time);
    void Frame(Mirel::Effect& effect, double time);
    // Calls logged by the recording device since the last ClearCalls.
    const std::vector<std::string>& Calls() const;
    void ClearCalls();
    // Index of the first logged call starting with `prefix` at or after `from`; -1 when none.
    int FindCall(const std::string& prefix, int from = 0) const;

    // What the device holds now.
    IDirect3DPixelShader9* BoundPixelShader() const;
    DWORD RenderState(D3DRENDERSTATETYPE state) const;
    DWORD SamplerState(DWORD stage, D3DSAMPLERSTATETYPE type) const;
    std::vector<float> PixelRegister(UINT reg) const;
    std::vector<float> VertexRegister(UINT reg) const;
    // Whether render target 0 is level 0 of the screen texture.
    bool ScreenIsTarget() const;
    // The pixel of a world point on the target, through the camera.
    std::pair<int, int> OnScreen(const D3DXVECTOR3& point) const;

    TestDevice gpu;
    IDirect3DDevice9* device = nullptr;
    FakeSprite sprite;
    Mirel::System window;
};
