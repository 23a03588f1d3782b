// The set-up every scene test shares (SceneWorld) as a GoogleTest fixture,
// with readers of what the device holds. A scene test starts in three lines:
//
//   class HandDrawTest : public EffectFixture {};
//   TEST_F(HandDrawTest, ...) {
//       Mirel::HandDrawEffect effect(&g_demoState);
//       effect.Init();
//       StartAt(effect, 10.5);  Frame(effect, 11.0);
//   }
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/scene_world.h"

class EffectFixture : public ::testing::Test, public SceneWorld {
protected:
    explicit EffectFixture(D3D9Backend backend = D3D9Backend::Recording, UINT width = 64, UINT height = 48)
        : SceneWorld(backend, width, height) {}
    void SetUp() override { ASSERT_TRUE(gpu) << gpu.Error(); }

    // Calls logged by the recording device since the last ClearCalls.
    const std::vector<std::string>& Calls() const;
    void ClearCalls();
    // Index of the first logged call starting with `prefix` at or after `from`; -1 when none.
    int FindCall(const std::string& prefix, int from = 0) const;

    // What the device holds now.
    IDirect3DPixelShader9* BoundPixelShader() const;
    DWORD RenderState(D3DRENDERSTATETYPE state) const { return gpu.RenderState(state); }
    DWORD SamplerState(DWORD stage, D3DSAMPLERSTATETYPE type) const { return gpu.SamplerState(stage, type); }
    std::vector<float> PixelRegister(UINT reg) const;
    std::vector<float> VertexRegister(UINT reg) const;
    // Whether render target 0 is level 0 of the screen texture.
    bool ScreenIsTarget() const;
    // The pixel of a world point on the target, through the camera.
    std::pair<int, int> OnScreen(const D3DXVECTOR3& point) const;
};
