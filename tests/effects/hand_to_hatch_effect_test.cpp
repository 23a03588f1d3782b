#include "effects/hand_to_hatch_effect.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"
#include "tests/effects/scene_doubles.h"
#include "tests/support/effect_fixture.h"

namespace {

class HandToHatchEffectTest : public EffectFixture {
protected:
    void SetUp() override {
        EffectFixture::SetUp();
        ProbeSceneMeshes();
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
        seen.clear();
        ClearCalls();
        Frame(effect, time);
    }
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

// What every scene is checked for: each draw with the registers and
// textures it sees, in order; the camera path; what Stop gives up. Island
// then sea into two white targets, edges into a cleared target of their
// own, then the mix on the back buffer; the camera stays on the path it
// was given; Stop releases both targets once.
TEST_F(HandToHatchEffectTest, IslandThenSeaSeeTheirRegistersAndTexturesThenEdgesAndMixPathKeptStopReleasesBoth) {
    IDirect3DTexture9 *scene1 = effect.sceneTarget1, *edges = effect.edgeTexture;
    const std::string target1 = RecordedName(device, scene1), edgeTarget = RecordedName(device, edges);
    g_demoState.camera->FollowPath(g_demoState.resources->GetCameraPath("Media//HandDraw.cp"), 10.52);
    StartAt(effect, 17.5);
    ExpectFlies("Media//HandDraw.cp", 10.52);
    Draw(25.0);

    ASSERT_EQ(DrawnMeshes(), (std::vector<std::string>{"island", "sea"}));
    ASSERT_EQ(seen.size(), 3u) << "each drawn whole";
    const D3DXMATRIX& viewProjection = g_demoState.camera->viewProjection;
    const D3DXVECTOR4 water(2.0f, -3.0f, 24.0f, effect.waterGrowth);
    for (size_t k : {0u, 1u}) {
        SCOPED_TRACE(seen[k].mesh);
        const Mirel::XMeshObj& mesh = g_demoState.meshes[k];
        EXPECT_EQ(seen[k].Matrix(0), Times(mesh.world, viewProjection));
        EXPECT_EQ(seen[k].Matrix(4), mesh.worldInvTranspose);
        EXPECT_EQ(seen[k].Matrix(8), mesh.world);
        EXPECT_EQ(seen[k].vertex[12], Eye());
        EXPECT_EQ(seen[k].vertex[13], effect.sceneParams);
        EXPECT_EQ(seen[k].pixel[0], k == 0 ? effect.sceneParams : water);
    }
    const SeenDraw &island = seen[0], &sea = seen[1];
    ExpectShaders(island, "vertex_handtohatch.cpp", "fragment_handtohatch.cpp");
    ExpectTextures(island, 0, HatchTextures());
    ExpectShaders(sea, "vertex_handtohatch_water.cpp", "fragment_handtohatch_water.cpp");
    ExpectTextures(sea, 0,
                   {"Textures//waves2.dds", "Textures//Hatch1.dds", "Textures//hatch0.jpg", "Textures//hatch1.jpg"});

    char mix[64];
    std::snprintf(mix, sizeof mix, "SetPixelShaderConstantF(0, [%g, 2, -3, 24], 1)", effect.blend);
    int at = 0;
    for (const std::string& line :
         {"SetRenderTarget(1, " + target1 + ".0)",
          std::string("Clear(0, NULL, D3DCLEAR_TARGET|D3DCLEAR_ZBUFFER, 0xffffffff, 1, 0)"),
          std::string("SetRenderTarget(1, NULL)"), "SetRenderTarget(0, " + edgeTarget + ".0)",
          std::string("Clear(0, NULL, D3DCLEAR_TARGET, 0x00000000, 1, 0)"),
          std::string("SetRenderTarget(0, BackBuffer.0)"), std::string(mix), "SetTexture(1, " + edgeTarget + ")"}) {
        at = FindCall(line, at);
        ASSERT_NE(at, -1) << line << " in order in\n" << ::testing::PrintToString(Calls());
    }

    ExpectStopReleases(effect, {scene1, edges});
    effect.Stop();  // a second Stop finds nothing to release
}

}  // namespace
