#include "effects/hand_draw_effect.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "tests/effects/scene_doubles.h"
#include "tests/support/effect_fixture.h"

namespace {

class HandDrawEffectTest : public EffectFixture {
protected:
    void SetUp() override {
        EffectFixture::SetUp();
        scene.Install();
        effect.Init();
    }
    void Draw(double time) {
        scene.ClearDrawn();
        Frame(effect, time);
    }
    FakeSceneMeshes scene;
    Mirel::HandDrawEffect effect{&g_demoState};
};

TEST_F(HandDrawEffectTest, WordsFadeInAtTheirCuesAndOutTogether) {
    StartAt(effect, 10.5);  // cues at 11.2, 13.44, 15.369 and 16.1
    Draw(11.1);
    EXPECT_EQ(effect.wordFade0, 0);
    EXPECT_EQ(effect.wordFade1, 0);
    Draw(11.43);  // 0.23 s into the first fade at 640 a second
    EXPECT_EQ(effect.wordFade0, 147);
    EXPECT_EQ(effect.wordFade1, 0);
    Draw(13.6);
    EXPECT_EQ(effect.wordFade0, 255);
    EXPECT_EQ(effect.wordFade1, 102);
    Draw(14.0);
    EXPECT_EQ(effect.wordFade1, 255);
    Draw(15.47);  // 0.101 s into the fade-out: both fall together
    EXPECT_EQ(effect.wordFade0, 190);
    EXPECT_EQ(effect.wordFade1, 190);
    Draw(15.9);  // the fade-out is over before the last cue ...
    EXPECT_EQ(effect.wordFade0, 0);
    Draw(16.3);  // ... and nothing comes back after it
    EXPECT_EQ(effect.wordFade0, 0);
    EXPECT_EQ(effect.wordFade1, 0);
}

TEST_F(HandDrawEffectTest, AFrameOverTheFadeOutCueSkipsTheRestOfTheFadeIn) {
    StartAt(effect, 10.5);
    Draw(13.5);  // 0.06 s into the second fade-in
    EXPECT_EQ(effect.wordFade1, 38);
    Draw(15.4);  // 4.9 s: straight to the fade-out level of 4.869 s
    EXPECT_EQ(effect.wordFade0, 235);
    EXPECT_EQ(effect.wordFade1, 235);
}

TEST_F(HandDrawEffectTest, AFrameOverBothLastCuesGivesZero) {
    StartAt(effect, 10.5);
    Draw(14.0);
    ASSERT_EQ(effect.wordFade0, 255);
    Draw(16.2);  // 5.7 s: past 4.869 and 5.6 in one frame
    EXPECT_EQ(effect.wordFade0, 0);
    EXPECT_EQ(effect.wordFade1, 0);
}

TEST_F(HandDrawEffectTest, StartPutsTheCameraOnItsPathOnce) {
    StartAt(effect, 10.52);
    Camera& camera = *g_demoState.camera;
    ASSERT_NE(camera.path, nullptr);
    EXPECT_EQ(camera.path, g_demoState.resources->GetCameraPath("Media//HandDraw.cp"));
    EXPECT_FALSE(camera.path->loop);
    EXPECT_TRUE(camera.followPath);
    EXPECT_EQ(camera.pathStartTime, 10.52);
}

TEST_F(HandDrawEffectTest, RendersTheIslandAloneThenEdgesToTheBackBufferUnderTheWords) {
    Mirel::ResourceManager& resources = *g_demoState.resources;
    const std::string sketch = RecordedName(device, resources.GetPixelShader("fragment_handdraw.cpp"));
    const std::string sobel = RecordedName(device, resources.GetPixelShader("fragment_sobel.cpp"));
    const std::string colour = RecordedName(device, resources.GetTexture("Textures//island.jpg"));
    const std::string normals = RecordedName(device, resources.GetTexture("Textures//islandNormal.jpg"));
    const std::string screen = RecordedName(device, g_demoState.screenTexture);
    StartAt(effect, 10.6);
    ClearCalls();
    Draw(13.7825);

    EXPECT_EQ(scene.meshes[0].subsetsDrawn, std::vector<DWORD>{0});
    for (size_t i = 1; i < scene.meshes.size(); ++i) EXPECT_TRUE(scene.meshes[i].subsetsDrawn.empty()) << "mesh " << i;

    const std::vector<std::string>& calls = Calls();
    auto at = [&](const std::string& line) {
        return long(std::find(calls.begin(), calls.end(), line) - calls.begin());
    };
    const long end = long(calls.size());
    EXPECT_LT(at("SetTexture(0, " + colour + ")"), end);
    EXPECT_LT(at("SetTexture(1, " + normals + ")"), end);
    const long island = at("SetPixelShader(" + sketch + ")");
    const long clampU = at("SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP)");
    const long clampV = at("SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP)");
    const long picture = at("SetTexture(0, " + screen + ")");
    const long edges = at("SetPixelShader(" + sobel + ")");
    const long unbound = at("SetPixelShader(NULL)");
    ASSERT_LT(unbound, end);
    EXPECT_LT(island, clampU);
    EXPECT_LT(clampU, clampV);
    EXPECT_LT(clampV, picture);
    EXPECT_LT(picture, edges);
    EXPECT_LT(edges, unbound);
    EXPECT_EQ(calls[size_t(unbound) - 1], "SetVertexShader(NULL)");
    // The edge pass draws into the back buffer: no target of its own.
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& line) { return line.rfind("SetRenderTarget(0, Texture#", 0) == 0; }),
              1);  // only the frame's switch to the screen texture

    ASSERT_EQ(sprite.drawn.size(), 3u);
    EXPECT_EQ(sprite.calls.front(), "Begin(20)");
    const float where[3][2] = {{-1512.0f, 512.0f}, {-1512.0f, 1024.0f}, {-990.0f, 1024.0f}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(sprite.drawn[i].position.x, where[i][0]) << "word " << i;
        EXPECT_EQ(sprite.drawn[i].position.y, where[i][1]) << "word " << i;
    }
    EXPECT_EQ(sprite.drawn[0].texture, resources.GetTexture("Textures//first.png"));
    EXPECT_EQ(sprite.drawn[2].texture, resources.GetTexture("Textures//asketch.png"));
    EXPECT_EQ(sprite.drawn[0].color, 0xFFFFFFFFu);
    EXPECT_EQ(sprite.drawn[1].color, 0x9BFFFFFFu);  // 0.2425 s into its fade: level 155
}

// The edge pass on the headless OpenGL device: a sketch sheet with one shape
// on white paper becomes paper with a pencil outline round the shape.
class SobelPassTest : public EffectFixture {
protected:
    SobelPassTest() : EffectFixture(D3D9Backend::OpenGL, 64, 48) {}
    void TearDown() override {
        if (screen) g_demoState.screenTexture = screen;  // the fixture's, which it releases
        EffectFixture::TearDown();
    }
    IDirect3DTexture9* screen = nullptr;
    Mirel::HandDrawEffect effect{&g_demoState};
};

TEST_F(SobelPassTest, OutlinesAShapeInPencilAndLeavesThePaperWhite) {
    // Paper, and a square 20 x 16 at (20, 16) that is near the eye and lit.
    std::vector<uint32_t> sheet(64 * 48, 0xFFFFFFFFu);
    for (int y = 16; y < 32; ++y)
        for (int x = 20; x < 40; ++x) sheet[size_t(y) * 64 + x] = 0x60E0FFE0u;  // a 0.38, tone 0.88, no strokes
    screen = g_demoState.screenTexture;
    g_demoState.screenTexture = gpu.Texture(64, 48, sheet);
    effect.Init();
    effect.PostProcess();
    Picture shot = gpu.Present();
    ASSERT_FALSE(shot.Empty());

    auto grey = [&](int x, int y) { return int(shot.At(x, y) >> 8 & 0xFF); };
    EXPECT_GT(grey(4, 4), 235) << "paper";
    EXPECT_GT(grey(30, 24), 225) << "inside the shape: no strokes, a light smudge";
    EXPECT_LT(grey(20, 24), 120) << "left outline";
    EXPECT_LT(grey(30, 16), 120) << "top outline";
    EXPECT_LT(grey(39, 24), 120) << "right outline";
}

}  // namespace
