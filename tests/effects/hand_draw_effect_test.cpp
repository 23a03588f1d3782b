#include "effects/hand_draw_effect.h"

#include <gtest/gtest.h>

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
    // The two fade levels after a frame at `time`.
    std::pair<int, int> FadesAt(double time) {
        Frame(effect, time);
        return {effect.wordFade0, effect.wordFade1};
    }
    FakeSceneMeshes scene;
    Mirel::HandDrawEffect effect{&g_demoState};
};

using Fades = std::pair<int, int>;

TEST_F(HandDrawEffectTest, WordsFadeInAtTheirCuesAndOutTogether) {
    StartAt(effect, 10.5);  // cues at 11.2, 13.44, 15.369 and 16.1
    EXPECT_EQ(FadesAt(11.1), Fades(0, 0));
    EXPECT_EQ(FadesAt(11.43), Fades(147, 0));  // 0.23 s into the first fade at 640 a second
    EXPECT_EQ(FadesAt(13.6), Fades(255, 102));
    EXPECT_EQ(FadesAt(14.0), Fades(255, 255));
    EXPECT_EQ(FadesAt(15.47), Fades(190, 190));  // 0.101 s into the fade-out: both fall together
    EXPECT_EQ(FadesAt(15.9), Fades(0, 0));       // over before the last cue ...
    EXPECT_EQ(FadesAt(16.3), Fades(0, 0));       // ... and nothing comes back after it
}

TEST_F(HandDrawEffectTest, LongFramesOverTheFadeOutCues) {
    {
        SCOPED_TRACE("over the fade-out cue: the rest of the fade-in is skipped");
        StartAt(effect, 10.5);
        EXPECT_EQ(FadesAt(13.5).second, 38);        // 0.06 s into the second fade-in
        EXPECT_EQ(FadesAt(15.4), Fades(235, 235));  // 4.9 s: the fade-out level of 4.869 s
    }
    {
        SCOPED_TRACE("over both last cues: zero");
        Mirel::HandDrawEffect again(&g_demoState);
        again.Init();
        StartAt(again, 10.5);
        Frame(again, 14.0);
        Frame(again, 16.2);  // 5.7 s: past 4.869 and 5.6 in one frame
        EXPECT_EQ(again.wordFade0, 0);
        EXPECT_EQ(again.wordFade1, 0);
    }
}

TEST_F(HandDrawEffectTest, FliesItsPathAndDrawsTheIslandAloneThenEdgesToTheBackBufferUnderTheWords) {
    Mirel::ResourceManager& resources = *g_demoState.resources;
    const std::string sketch = RecordedName(device, resources.GetPixelShader("fragment_handdraw.cpp"));
    const std::string sobel = RecordedName(device, resources.GetPixelShader("fragment_sobel.cpp"));
    const std::string colour = RecordedName(device, resources.GetTexture("Textures//island.jpg"));
    const std::string normals = RecordedName(device, resources.GetTexture("Textures//islandNormal.jpg"));
    const std::string screen = RecordedName(device, g_demoState.screenTexture);
    StartAt(effect, 10.52);
    EXPECT_EQ(g_demoState.camera->path, resources.GetCameraPath("Media//HandDraw.cp"));
    EXPECT_TRUE(g_demoState.camera->followPath);
    ClearCalls();
    scene.ClearDrawn();
    Frame(effect, 13.7025);
    EXPECT_EQ(scene.meshes[0].subsetsDrawn, std::vector<DWORD>{0});
    for (size_t i = 1; i < scene.meshes.size(); ++i) EXPECT_TRUE(scene.meshes[i].subsetsDrawn.empty()) << "mesh " << i;
    int at = 0;
    for (const std::string& line :
         {"SetTexture(0, " + colour + ")", "SetTexture(1, " + normals + ")", "SetPixelShader(" + sketch + ")",
          "SetTexture(0, " + screen + ")", "SetPixelShader(" + sobel + ")"}) {
        at = FindCall(line, at);
        ASSERT_NE(at, -1) << line << " in order";
    }
    // The edge pass draws into the back buffer: no target of its own.
    EXPECT_EQ(FindCall("SetRenderTarget(0, Texture#", FindCall("SetRenderTarget(0, Texture#") + 1), -1);

    ASSERT_EQ(sprite.drawn.size(), 3u);
    EXPECT_FLOAT_EQ(sprite.drawn[0].transform._11, 0.0005f);
    EXPECT_EQ(sprite.drawn[2].position, D3DXVECTOR3(-990.0f, 1024.0f, 0.0f));
    EXPECT_EQ(sprite.drawn[2].texture, resources.GetTexture("Textures//asketch.png"));
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
