#include "effects/begin_effect.h"

#include <gtest/gtest.h>

#include "scene/camera.h"
#include "resources/resource_manager.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"
#include "tests/effects/scene_doubles.h"
#include "tests/support/effect_fixture.h"

namespace {

enum class Shown { Nothing, Cards, Words };

class BeginEffectTest : public EffectFixture {
protected:
    void SetUp() override {
        EffectFixture::SetUp();
        effect.Init();
    }
    void StartAt(double time) { EffectFixture::StartAt(effect, time); }
    void Frame(double time) { EffectFixture::Frame(effect, time); }
    Shown WhatIsShown() const {
        if (sprite.drawn.empty()) return Shown::Nothing;
        if (sprite.drawn.size() == 2 && sprite.drawn[0].position.y == -512.0f && sprite.drawn[1].position.y == 64.0f)
            return Shown::Cards;
        if (sprite.drawn.size() == 3 && sprite.drawn[1].position.y == -128.0f) return Shown::Words;
        ADD_FAILURE() << "unexpected sprite draws: " << sprite.drawn.size();
        return Shown::Nothing;
    }

    Mirel::BeginEffect effect{&g_demoState};
};

TEST_F(BeginEffectTest, CardsThenNothingThenWordsAlongTheTimeline) {
    const double start = 1.0 / 30;
    StartAt(start);
    EXPECT_EQ(effect.logoScale, 0.0f) << "the first frame is the trigger's arming time";
    EXPECT_EQ(effect.presentsScale, 0.0f);
    for (int frame = 1; frame * (1.0 / 30) < 10.5; ++frame) {
        double time = frame * (1.0 / 30);
        if (frame > 1) Frame(time);
        double local = time - start;
        Shown expected = local <= 2.8 ? Shown::Cards : local <= 3.5 ? Shown::Nothing : Shown::Words;
        ASSERT_EQ(WhatIsShown(), expected) << "at " << local << " s into the effect";
    }
}

// What every scene is checked for: its draws in order with their pictures,
// the camera (this scene leaves it alone), what Stop gives up (nothing).
TEST_F(BeginEffectTest, GridThenCardsThenWordsEachWithItsPictureCameraUntouchedStopKeepsNothing) {
    const std::string grid = RecordedName(device, g_demoState.resources->GetTexture("Textures//kratka.jpg"));
    StartAt(0.0);
    ClearCalls();
    Frame(1.0);
    const int background = FindCall("SetTexture(0, " + grid + ")");
    EXPECT_NE(background, -1);
    EXPECT_NE(FindCall("DrawPrimitive(D3DPT_TRIANGLESTRIP", background), -1) << "the grid, full screen";
    ASSERT_EQ(WhatIsShown(), Shown::Cards);
    EXPECT_EQ(sprite.drawn[0].texture, Texture("Textures//kelss.png"));
    EXPECT_EQ(sprite.drawn[1].texture, Texture("Textures//presents.png"));
    Frame(5.0);
    ASSERT_EQ(WhatIsShown(), Shown::Words);
    EXPECT_EQ(sprite.drawn[0].texture, Texture("Textures//tavo.png"));
    EXPECT_EQ(sprite.drawn[1].texture, Texture("Textures//ost.png"));
    EXPECT_EQ(sprite.drawn[2].texture, Texture("Textures//quillet.png"));
    EXPECT_EQ(g_demoState.camera->path, nullptr);
    EXPECT_FALSE(g_demoState.camera->followPath);
    ExpectStopReleases(effect, {});
}

TEST_F(BeginEffectTest, CardsRampToRestThenGrowFromTheirCues) {
    {
        SCOPED_TRACE("frames of 0.15 s and more");
        StartAt(0.0);
        Frame(0.15);
        EXPECT_NEAR(effect.logoScale, 0.001f, 1e-7);
        EXPECT_NEAR(effect.presentsScale, 0.0005f, 1e-7);
        Frame(1.0);  // both zoom-ins end within this frame: the last ramp values stay
        EXPECT_NEAR(effect.logoScale, 0.001f, 1e-7);
        EXPECT_NEAR(effect.presentsScale, 0.0005f, 1e-7);
        Frame(2.5);  // logo grows from 2.0 s; "presents" only after 2.5 s strictly
        EXPECT_NEAR(effect.logoScale, 0.001f + 1.5f, 1e-5);
        EXPECT_NEAR(effect.presentsScale, 0.0005f, 1e-7);
        Frame(2.7);
        EXPECT_NEAR(effect.presentsScale, 0.0005f + 0.02f, 1e-6);
    }
    {
        SCOPED_TRACE("one frame over three cues");
        Mirel::BeginEffect late(&g_demoState);
        late.Init();
        EffectFixture::StartAt(late, 0.1);
        EffectFixture::Frame(late, 2.3);  // 2.2 s in: cues 0, 1 and 2 fire together
        EXPECT_FLOAT_EQ(late.logoScale, static_cast<float>(0.0 + 2.2));
        EXPECT_EQ(late.presentsScale, 0.0f);
    }
}

TEST_F(BeginEffectTest, WordsSlideFadeInFromTheirCuesFreezeAfterTheLastAndScaleWithBand180) {
    StartAt(0.0);
    Frame(2.75);
    EXPECT_EQ(effect.word1X, -960.0f) << "no slide before the cards are gone";
    Frame(3.0);  // the cards go: the whole frame counts
    EXPECT_FLOAT_EQ(effect.word1X, -960.0f + 8 * 0.25f);
    Frame(3.5);
    EXPECT_EQ(effect.word1Alpha, 0u);
    Frame(3.75);
    EXPECT_EQ(effect.word1Alpha, 160u);  // 0.25 s at 640 a second
    EXPECT_EQ(effect.word23Alpha, 0u);
    Frame(4.5);
    EXPECT_EQ(effect.word23Alpha, 160u);
    Frame(5.0);
    ASSERT_EQ(WhatIsShown(), Shown::Words);
    // 8, 5 and 4 units a second: word 1 right, word 2 left, word 3 right.
    const float x[3] = {-960.0f + 8 * 2.25f, -456.0f - 5 * 2.25f, -320.0f + 4 * 2.25f};
    const float y[3] = {-512.0f, -128.0f, 512.0f};
    const uint32_t alpha[3] = {effect.word1Alpha, effect.word23Alpha, effect.word23Alpha};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(sprite.drawn[i].position.x, x[i]);
        EXPECT_EQ(sprite.drawn[i].position.y, y[i]);
        EXPECT_EQ(sprite.drawn[i].color, alpha[i] << 24 | 0xFFFFFFu);
        // A silent band 180: half the cards' resting scale.
        EXPECT_FLOAT_EQ(sprite.drawn[i].transform._11, 0.001f);
        EXPECT_FLOAT_EQ(sprite.drawn[i].transform._22, -0.001f);
    }
    EXPECT_EQ(alpha[0], 255u);
    EXPECT_EQ(sprite.beginFlags, DWORD(D3DXSPRITE_OBJECTSPACE | D3DXSPRITE_ALPHABLEND));
    g_demoState.music->spectrum[180] = 0.5f;
    Frame(7.875);
    EXPECT_FLOAT_EQ(sprite.drawn[0].transform._11, 0.011f);
    effect.word1Alpha = 7;
    effect.word23Alpha = 9;
    Frame(8.5);
    EXPECT_EQ(effect.word1Alpha, 7u) << "frozen after 7.8 s";
    EXPECT_EQ(effect.word23Alpha, 9u);
}

}  // namespace
