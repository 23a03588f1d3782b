#include "effects/hand_to_hatch_effect.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "resources/resource_manager.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"
#include "tests/effects/scene_doubles.h"
#include "tests/support/effect_fixture.h"

namespace {

class HandToHatchEffectTest : public EffectFixture {
protected:
    void SetUp() override {
        EffectFixture::SetUp();
        scene.Install();
        device->SetSamplerState(8, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        effect.startTime = 17.5;
        effect.endTime = 33.5;
        effect.Init();
        g_demoState.time = 17.5;  // the frame before the first
    }
    void TearDown() override {
        effect.Stop();
        EffectFixture::TearDown();
    }
    void Draw(double time) {
        scene.ClearDrawn();
        ClearCalls();
        Frame(effect, time);
    }
    FakeSceneMeshes scene;
    Mirel::HandToHatchEffect effect{&g_demoState};
};

TEST_F(HandToHatchEffectTest, SketchLevelFallsWithTimeAndBandFortyWhileTheBlendRisesToExactlyOne) {
    EXPECT_EQ(SamplerState(8, D3DSAMP_MAGFILTER), static_cast<DWORD>(D3DTEXF_LINEAR)) << "Init filters 0-8";
    StartAt(effect, 17.54);
    EXPECT_EQ(effect.sceneParams.x, static_cast<float>(15.0f - 2.0 * 0.04));
    EXPECT_EQ(effect.blend, static_cast<float>(0.04 / 8.5));
    float level = effect.sceneParams.x;
    Draw(17.6);
    EXPECT_EQ(effect.sceneParams.x, static_cast<float>(level - 2.0 * g_demoState.frameDelta));
    EXPECT_EQ(effect.sceneParams.y, 17.6f);

    g_demoState.music->spectrum[40] = 0.25f;
    g_demoState.music->spectrum[41] = 1.0f;
    level = effect.sceneParams.x;
    Draw(17.7);
    EXPECT_FLOAT_EQ(effect.sceneParams.x, level - 0.2f - 2.5f);
    Draw(21.75);
    EXPECT_FLOAT_EQ(effect.blend, 0.5f);
    Draw(26.0);
    EXPECT_EQ(effect.blend, 1.0f);
    for (double time = 26.07; time < 33.5; time += 0.07) {
        Draw(time);
        ASSERT_EQ(effect.blend, 1.0f) << "at " << time;
    }
    EXPECT_LT(effect.sceneParams.x, -250.0f) << "no lower limit";
}

TEST_F(HandToHatchEffectTest, TheSeaAppearsAtItsCueAndGrowsNineteenASecond) {
    Mirel::ResourceManager& resources = *g_demoState.resources;
    const std::string empty = "SetPixelShader(" + RecordedName(device, resources.GetPixelShader("fragment_empty.cpp"));
    const std::string water =
        "SetPixelShader(" + RecordedName(device, resources.GetPixelShader("fragment_handtohatch_water.cpp"));
    StartAt(effect, 17.5);
    Draw(22.79);
    EXPECT_EQ(effect.waterGrowth, 1.0f);
    EXPECT_NE(FindCall(empty), -1);
    EXPECT_EQ(FindCall(water), -1);

    Draw(22.85);  // the cue (22.8) falls inside this frame
    EXPECT_EQ(effect.waterGrowth, static_cast<float>(1.0f + g_demoState.frameDelta * 19.0));
    EXPECT_EQ(FindCall(empty), -1);
    EXPECT_NE(FindCall(water), -1);
    // The sea's register: where it grows from and how far it has come.
    char growth[64];
    std::snprintf(growth, sizeof growth, "SetPixelShaderConstantF(0, [2, -3, 24, %g], 1)", effect.waterGrowth);
    EXPECT_NE(FindCall(growth), -1) << ::testing::PrintToString(Calls());
}

TEST_F(HandToHatchEffectTest, ScenePassIntoTwoWhiteTargetsThenEdgesIntoAClearedTargetThenTheMix) {
    const std::string scene1 = RecordedName(device, effect.sceneTarget1);
    const std::string edges = RecordedName(device, effect.edgeTexture);
    const std::string screen = RecordedName(device, g_demoState.screenTexture);
    StartAt(effect, 17.5);
    for (double time : {17.5 + 8.5 * 0.25, 25.0}) {
        SCOPED_TRACE(time);
        Draw(time);
        char mix[64];
        std::snprintf(mix, sizeof mix, "SetPixelShaderConstantF(0, [%g, 2, -3, 24], 1)", effect.blend);
        int at = 0;
        for (const std::string& line :
             {"SetRenderTarget(1, " + scene1 + ".0)",
              std::string("Clear(0, NULL, D3DCLEAR_TARGET|D3DCLEAR_ZBUFFER, 0xffffffff, 1, 0)"),
              std::string("SetRenderTarget(1, NULL)"),
              std::string("SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP)"), "SetTexture(0, " + scene1 + ")",
              "SetRenderTarget(0, " + edges + ".0)", std::string("Clear(0, NULL, D3DCLEAR_TARGET, 0x00000000, 1, 0)"),
              std::string("DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)"), std::string("SetRenderTarget(0, BackBuffer.0)"),
              std::string(mix), "SetTexture(0, " + screen + ")", "SetTexture(1, " + edges + ")",
              std::string("DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)")}) {
            at = FindCall(line, at);
            ASSERT_NE(at, -1) << line << " in order in\n" << ::testing::PrintToString(Calls());
        }
        // Island then sea, each drawn whole; nothing after the scene pass draws into target 1.
        EXPECT_EQ(scene.meshes[0].subsetsDrawn, std::vector<DWORD>{0});
        EXPECT_EQ(scene.meshes[1].subsetsDrawn, (std::vector<DWORD>{0, 1}));
        EXPECT_EQ(FindCall("SetRenderTarget(1, " + scene1, FindCall("SetRenderTarget(1, NULL)")), -1);
    }
}

TEST_F(HandToHatchEffectTest, StopReleasesBothTargetsOnce) {
    IDirect3DTexture9* scene1 = effect.sceneTarget1;
    IDirect3DTexture9* edges = effect.edgeTexture;
    ASSERT_NE(scene1, nullptr);
    ASSERT_NE(edges, nullptr);
    StartAt(effect, 17.6);
    Draw(23.0);
    // Held once more here: after Stop only this reference is left.
    scene1->AddRef();
    edges->AddRef();
    effect.Stop();
    EXPECT_EQ(effect.sceneTarget1, nullptr);
    EXPECT_EQ(effect.edgeTexture, nullptr);
    EXPECT_EQ(scene1->Release(), 0u);
    EXPECT_EQ(edges->Release(), 0u);
    effect.Stop();  // a second Stop finds nothing to release
}

}  // namespace
