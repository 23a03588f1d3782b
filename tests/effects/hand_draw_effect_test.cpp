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
        ProbeSceneMeshes();
        effect.Init();
    }
    // The two fade levels after a frame at `time`.
    std::pair<int, int> FadesAt(double time) {
        Frame(effect, time);
        return {effect.wordFade0, effect.wordFade1};
    }
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

// What every scene is checked for: each draw with the registers and
// textures it sees, in order; the camera path; what Stop gives up.
TEST_F(HandDrawEffectTest, IslandAloneSeesItsMatricesEyeAndMapsThenEdgesAndWordsFliesItsPathStopKeepsNothing) {
    const std::string sobel = RecordedName(device, PixelShader("fragment_sobel.cpp"));
    const std::string screen = RecordedName(device, g_demoState.screenTexture);
    StartAt(effect, 10.52);
    ExpectFlies("Media//HandDraw.cp", 10.52);
    seen.clear();
    ClearCalls();
    Frame(effect, 13.7025);

    ASSERT_EQ(DrawnMeshes(), std::vector<std::string>{"island"});
    const SeenDraw& island = seen[0];
    const Mirel::XMeshObj& mesh = g_demoState.meshes[0];
    ExpectShaders(island, "vertex_base.cpp", "fragment_handdraw.cpp");
    ExpectTextures(island, 0, {"Textures//island.jpg", "Textures//islandNormal.jpg"});
    EXPECT_EQ(island.Matrix(0), Times(mesh.world, g_demoState.camera->viewProjection));
    EXPECT_EQ(island.Matrix(4), mesh.world);
    EXPECT_EQ(island.vertex[8], Eye());
    // Then the edges of the screen texture into the back buffer (no target of its own).
    const int edges = FindCall("SetTexture(0, " + screen + ")", island.callsBefore);
    EXPECT_NE(edges, -1);
    EXPECT_NE(FindCall("SetPixelShader(" + sobel + ")", edges), -1);
    EXPECT_EQ(FindCall("SetRenderTarget(0, Texture#", FindCall("SetRenderTarget(0, Texture#") + 1), -1);

    ASSERT_EQ(sprite.drawn.size(), 3u);
    EXPECT_FLOAT_EQ(sprite.drawn[0].transform._11, 0.0005f);
    EXPECT_EQ(sprite.drawn[0].texture, Texture("Textures//first.png"));
    EXPECT_EQ(sprite.drawn[1].texture, Texture("Textures//thereis.png"));
    EXPECT_EQ(sprite.drawn[2].texture, Texture("Textures//asketch.png"));
    EXPECT_EQ(sprite.drawn[2].position, D3DXVECTOR3(-990.0f, 1024.0f, 0.0f));
    EXPECT_EQ(sprite.drawn[1].color, 0x9BFFFFFFu);  // 0.2425 s into its fade: level 155

    ExpectStopReleases(effect, {});
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
    Picture Sketch(DWORD filter, bool grain = false);
    IDirect3DTexture9* screen = nullptr;
    Mirel::HandDrawEffect effect{&g_demoState};
};

// Paper, and a square 20 x 16 at (20, 16) that is near the eye and lit, put
// through the edge pass with stage 0 filtering as given. A grain of up to
// 12 / 255 in the distance and the tone makes faint edges everywhere, which
// show whatever a read takes from a texel's neighbours.
Picture SobelPassTest::Sketch(DWORD filter, bool grain) {
    std::vector<uint32_t> sheet(64 * 48, 0xFFFFFFFFu);
    for (int y = 16; y < 32; ++y)
        for (int x = 20; x < 40; ++x) sheet[size_t(y) * 64 + x] = 0x60E0FFE0u;  // a 0.38, tone 0.88, no strokes
    uint32_t seed = 12345;
    for (uint32_t& texel : sheet) {
        seed = seed * 1664525u + 1013904223u;
        if (grain) texel -= (seed >> 28) % 13 * 0x01010000u;  // alpha and red
    }
    if (!screen) {  // the fixture's, put back at the end
        screen = g_demoState.screenTexture;
        effect.Init();
    }
    g_demoState.screenTexture = gpu.Texture(64, 48, sheet);
    g_demoState.device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
    g_demoState.device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
    effect.PostProcess();
    return gpu.Present();
}

TEST_F(SobelPassTest, OutlinesAShapeInPencilAndLeavesThePaperWhite) {
    // The sketch scene samples with the device's default point filter.
    Picture shot = Sketch(D3DTEXF_POINT);
    ASSERT_FALSE(shot.Empty());

    auto grey = [&](int x, int y) { return int(shot.At(x, y) >> 8 & 0xFF); };
    EXPECT_GT(grey(4, 4), 235) << "paper";
    EXPECT_GT(grey(30, 24), 225) << "inside the shape: no strokes, a light smudge";
    EXPECT_LT(grey(20, 24), 120) << "left outline";
    EXPECT_LT(grey(30, 16), 120) << "top outline";
    EXPECT_LT(grey(39, 24), 120) << "right outline";
    EXPECT_LT(grey(19, 15), 120) << "top left corner";
    EXPECT_GT(grey(17, 24), 225) << "two texels left of the outline: paper";
}

TEST_F(SobelPassTest, TheHatchingScenesLinearFilterDrawsTheSamePicture) {
    Picture pointed = Sketch(D3DTEXF_POINT, true);
    Picture filtered = Sketch(D3DTEXF_LINEAR, true);
    ASSERT_FALSE(pointed.Empty());
    ASSERT_FALSE(filtered.Empty());
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            for (int shift = 0; shift < 32; shift += 8)
                ASSERT_NEAR(int(pointed.At(x, y) >> shift & 0xFF), int(filtered.At(x, y) >> shift & 0xFF), 1)
                    << x << ", " << y;
}

}  // namespace
