#include "effects/hand_to_hatch_effect.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        Frame(effect, time);
    }
    FakeSceneMeshes scene;
    // Position of the first recorded call equal to `line` at or after `from`.
    static long Find(const std::vector<std::string>& calls, const std::string& line, long from = 0) {
        auto found = std::find(calls.begin() + from, calls.end(), line);
        return found == calls.end() ? -1 : long(found - calls.begin());
    }
    Mirel::HandToHatchEffect effect{&g_demoState};
};

TEST_F(HandToHatchEffectTest, SketchLevelFallsTwiceDtAndTenTimesBandForty) {
    EXPECT_EQ(effect.sceneParams.x, 15.0f);
    StartAt(effect, 17.52);
    EXPECT_EQ(effect.sceneParams.x, static_cast<float>(15.0f - 2.0 * g_demoState.frameDelta));
    float level = effect.sceneParams.x;
    Draw(17.6);
    EXPECT_EQ(effect.sceneParams.x, static_cast<float>(level - 2.0 * g_demoState.frameDelta));
    EXPECT_EQ(effect.sceneParams.y, 17.6f);

    g_demoState.music->spectrum[40] = 0.25f;
    g_demoState.music->spectrum[41] = 1.0f;
    level = effect.sceneParams.x;
    Draw(17.7);
    EXPECT_FLOAT_EQ(effect.sceneParams.x, level - 0.2f - 2.5f);
    for (int frame = 0; frame < 200; ++frame) Draw(17.8 + frame * 0.07);
    EXPECT_LT(effect.sceneParams.x, -500.0f) << "no lower limit";
}

TEST_F(HandToHatchEffectTest, BlendRisesFromTheScheduledStartToExactlyOne) {
    EXPECT_EQ(effect.blend, 0.0f);
    StartAt(effect, 17.54);
    EXPECT_EQ(effect.blend, static_cast<float>(0.04 / 8.5));
    Draw(21.75);
    EXPECT_FLOAT_EQ(effect.blend, 0.5f);
    Draw(26.0);
    EXPECT_EQ(effect.blend, 1.0f);
    for (double time = 26.01; time < 33.5; time += 0.5) {
        Draw(time);
        ASSERT_EQ(effect.blend, 1.0f) << "at " << time;
    }
}

TEST_F(HandToHatchEffectTest, TheSeaAppearsAtItsCueAndGrowsNineteenASecond) {
    Mirel::ResourceManager& resources = *g_demoState.resources;
    const std::string empty = RecordedName(device, resources.GetPixelShader("fragment_empty.cpp"));
    const std::string water = RecordedName(device, resources.GetPixelShader("fragment_handtohatch_water.cpp"));
    StartAt(effect, 17.5);
    EXPECT_EQ(effect.waterOrigin.x, 2.0f);
    EXPECT_EQ(effect.waterOrigin.y, -3.0f);
    EXPECT_EQ(effect.waterOrigin.z, 24.0f);
    ClearCalls();
    Draw(22.79);
    EXPECT_EQ(effect.waterGrowth, 1.0f);
    EXPECT_NE(Find(Calls(), "SetPixelShader(" + empty + ")"), -1);
    EXPECT_EQ(Find(Calls(), "SetPixelShader(" + water + ")"), -1);

    ClearCalls();
    Draw(22.85);  // the cue (22.8) falls inside this frame
    EXPECT_EQ(effect.waterGrowth, static_cast<float>(1.0f + g_demoState.frameDelta * 19.0));
    EXPECT_EQ(Find(Calls(), "SetPixelShader(" + empty + ")"), -1);
    EXPECT_NE(Find(Calls(), "SetPixelShader(" + water + ")"), -1);
    // The sea's register: where it grows from and how far it has come.
    char growth[32];
    std::snprintf(growth, sizeof growth, "%g", effect.waterGrowth);
    EXPECT_NE(Find(Calls(), std::string("SetPixelShaderConstantF(0, [2, -3, 24, ") + growth + "], 1)"), -1)
        << ::testing::PrintToString(Calls());
}

TEST_F(HandToHatchEffectTest, ScenePassClearsBothTargetsWhiteAndUnsetsTargetOne) {
    const std::string second = RecordedName(device, effect.sceneTarget1) + ".0";
    StartAt(effect, 17.6);
    for (double time : {17.7, 25.0}) {
        ClearCalls();
        Draw(time);
        const std::vector<std::string>& calls = Calls();
        const long bind = Find(calls, "SetRenderTarget(1, " + second + ")");
        const long clear = Find(calls, "Clear(0, NULL, D3DCLEAR_TARGET|D3DCLEAR_ZBUFFER, 0xffffffff, 1, 0)", bind);
        const long unset = Find(calls, "SetRenderTarget(1, NULL)", clear);
        ASSERT_NE(bind, -1) << "at " << time;
        ASSERT_NE(clear, -1) << "at " << time;
        ASSERT_NE(unset, -1) << "at " << time;
        // Island then sea, each drawn whole, between the clear and the unset.
        EXPECT_EQ(scene.meshes[0].subsetsDrawn, std::vector<DWORD>{0});
        EXPECT_EQ(scene.meshes[1].subsetsDrawn, (std::vector<DWORD>{0, 1}));
        // Nothing after the scene pass draws into target 1.
        EXPECT_EQ(Find(calls, "SetRenderTarget(1, " + second + ")", unset), -1);
    }
}

TEST_F(HandToHatchEffectTest, EdgePassClearsItsTargetThenTheMixReadsBoth) {
    const std::string scene1 = RecordedName(device, effect.sceneTarget1);
    const std::string edges = RecordedName(device, effect.edgeTexture);
    const std::string screen = RecordedName(device, g_demoState.screenTexture);
    StartAt(effect, 17.5);
    ClearCalls();
    Draw(17.5 + 8.5 * 0.25);
    const std::vector<std::string>& calls = Calls();
    const long sheet = Find(calls, "SetTexture(0, " + scene1 + ")");
    const long target = Find(calls, "SetRenderTarget(0, " + edges + ".0)", sheet);
    const long clear = Find(calls, "Clear(0, NULL, D3DCLEAR_TARGET, 0x00000000, 1, 0)", target);
    const long sobel = Find(calls, "DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)", clear);
    const long mix = Find(calls, "SetPixelShaderConstantF(0, [0.25, 2, -3, 24], 1)", sobel);
    const long picture = Find(calls, "SetTexture(0, " + screen + ")", mix);
    const long sketch = Find(calls, "SetTexture(1, " + edges + ")", picture);
    const long last = Find(calls, "DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)", sketch);
    for (long at : {sheet, target, clear, sobel, mix, picture, sketch, last}) ASSERT_NE(at, -1) << ::testing::PrintToString(calls);
    EXPECT_EQ(Find(calls, "SetRenderTarget(0, BackBuffer.0)", sobel) < last, true);
    EXPECT_EQ(Find(calls, "SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP)") < sheet, true);
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

TEST_F(HandToHatchEffectTest, InitSetsTheFirstNineSamplersToWrapAndFilter) {
    std::vector<std::string> states;
    for (const std::string& line : Calls())
        if (line.rfind("SetSamplerState(", 0) == 0) states.push_back(line);
    ASSERT_EQ(states.size(), 45u);
    EXPECT_EQ(states[0], "SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP)");
    EXPECT_EQ(states[44], "SetSamplerState(8, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR)");
}

}  // namespace
