#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/d3dx9/d3dx9math.h"
#include "platform/fmod/fmod.hpp"
#include "resources/path_files.h"
#include "scene/camera.h"
#include "sound/music_player.h"
#include "tests/timeline/recording_effect.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Scheduler = DemoStateTest;

TEST_F(Scheduler, AddEffectInitialisesAndQueuesAndAnEffectStartingAtZeroRunsInTheFirstFrame) {
    RecordingEffect* effect = Add("a", 0.0, 10.5);
    EXPECT_THAT(log, ElementsAre("a.Init"));
    EXPECT_EQ(g_demoState.pendingEffects.top(), effect);
    EXPECT_FALSE(effect->started);
    EXPECT_THAT(FrameCalls(0.016), ElementsAre("a.Start", "a.Update", "a.Render"));
    EXPECT_TRUE(effect->started);
    EXPECT_THAT(g_demoState.activeEffects, ElementsAre(effect));
    EXPECT_TRUE(g_demoState.pendingEffects.empty());
}

// Start is given the frame's time, which arms the triggers.
TEST_F(Scheduler, StartsAtTheFramesTimeAndRetiresOnlyOnceTheTimeIsStrictlyPast) {
    RecordingEffect* effect = Add("a", 10.5, 17.5);
    effect->triggers.emplace_back(0, 0.5);
    EXPECT_THAT(FrameCalls(10.5), IsEmpty());
    EXPECT_THAT(FrameCalls(10.75), ElementsAre("a.Start", "a.Update", "a.Render"));
    EXPECT_EQ(effect->triggers[0].armedAt, 10.75);
    EXPECT_THAT(FrameCalls(17.5), ElementsAre("a.Update", "a.Render"));
    EXPECT_THAT(g_demoState.activeEffects, ElementsAre(effect));
    EXPECT_THAT(FrameCalls(17.51), ElementsAre("a.Stop", "a.deleted"));
    EXPECT_THAT(g_demoState.activeEffects, IsEmpty());
}

TEST_F(Scheduler, BoundaryFrameStartsTheNextAndRetiresThePreviousBeforeRendering) {
    Add("begin", 0.0, 10.5);
    RecordingEffect* next = Add("hand", 10.5, 17.5);
    Frame(10.0);
    EXPECT_THAT(FrameCalls(10.52),
                ElementsAre("hand.Start", "begin.Stop", "begin.deleted", "hand.Update", "hand.Render"));
    EXPECT_THAT(g_demoState.activeEffects, ElementsAre(next));
}

TEST_F(Scheduler, QuitAtEndTimeStillRunsTheWholeFrame) {
    Add("star", 90.0, 110.0);
    Frame(109.99);
    EXPECT_FALSE(g_demoState.quit);
    EXPECT_THAT(FrameCalls(110.0), ElementsAre("star.Update", "star.Render"));
    EXPECT_TRUE(g_demoState.quit);
    EXPECT_THAT(FrameCalls(110.02), ElementsAre("star.Stop", "star.deleted"));
}

TEST_F(Scheduler, ActiveEffectsRunInStartOrderAndRetirementKeepsTheOrderOfTheOthers) {
    RecordingEffect* a = Add("a", 0.0, 30.0);
    RecordingEffect* b = Add("b", 1.0, 5.0);
    RecordingEffect* c = Add("c", 2.0, 30.0);
    Add("d", 3.0, 5.0);
    RecordingEffect* e = Add("e", 4.0, 30.0);
    Frame(1.5);
    EXPECT_THAT(FrameCalls(2.5),
                ElementsAre("c.Start", "a.Update", "a.Render", "b.Update", "b.Render", "c.Update", "c.Render"));
    EXPECT_THAT(g_demoState.activeEffects, ElementsAre(a, b, c));
    Frame(4.5);
    ASSERT_EQ(g_demoState.activeEffects.size(), 5u);
    Frame(6.0);
    EXPECT_THAT(g_demoState.activeEffects, ElementsAre(a, c, e));
}

TEST_F(Scheduler, SeveralEffectsStartInOneFrameEarliestFirstAndLaterOnesWait) {
    RecordingEffect* c = Add("c", 2.0, 50.0);
    RecordingEffect* a = Add("a", 0.0, 50.0);
    RecordingEffect* b = Add("b", 1.0, 50.0);
    RecordingEffect* later = Add("later", 20.0, 50.0);
    EXPECT_THAT(FrameCalls(3.0), ElementsAre("a.Start", "b.Start", "c.Start", "a.Update", "a.Render", "b.Update",
                                             "b.Render", "c.Update", "c.Render"));
    EXPECT_THAT(g_demoState.activeEffects, ElementsAre(a, b, c));
    ASSERT_EQ(g_demoState.pendingEffects.size(), 1u);
    EXPECT_EQ(g_demoState.pendingEffects.top(), later);
}

// An effect whose end has passed is started, stopped and deleted in one
// frame, with the scene meshes recomputed in between.
TEST_F(Scheduler, EffectWhoseEndHasPassedStartsAndRetiresInOneFrameWithTheMeshesRecomputedBetween) {
    g_demoState.meshes.emplace_back(MeshRecord{});
    RecordingEffect* effect = Add("a", 1.0, 2.0);
    D3DXMATRIX worldSeenAtStop;
    effect->onStart = [](double) { g_demoState.meshes[0].position = D3DXVECTOR3(4, 5, 6); };
    effect->onStop = [&] { worldSeenAtStop = g_demoState.meshes[0].world; };
    EXPECT_THAT(FrameCalls(3.0), ElementsAre("a.Start", "a.Stop", "a.deleted"));
    EXPECT_THAT(g_demoState.activeEffects, IsEmpty());
    EXPECT_EQ(D3DXVECTOR3(worldSeenAtStop._41, worldSeenAtStop._42, worldSeenAtStop._43), D3DXVECTOR3(4, 5, 6));
}

TEST_F(Scheduler, CameraPathBoundInStartMovesTheCameraFromTheNextFrame) {
    Camera camera;
    g_demoState.camera = &camera;
    CameraPath path;
    path.duration = 10.0f;
    for (int k = 0; k < 3; ++k) {
        CameraKey key;
        key.eye = D3DXVECTOR3(100.0f + k, 0, 0);
        key.target = D3DXVECTOR3(0, 0, 50.0f);
        path.keys.push_back(key);
    }
    RecordingEffect* effect = Add("a", 1.0, 50.0);
    effect->onStart = [&](double time) { camera.FollowPath(&path, time); };
    Frame(1.5);
    EXPECT_EQ(camera.eye, D3DXVECTOR3(0, 3, -5));
    Frame(1.5 + 5.0);
    EXPECT_NEAR(camera.eye.x, 101.0f, 1e-4f);
}

TEST_F(Scheduler, MusicIsUpdatedWithTheFrameDelta) {
    MusicPlayer music;
    g_demoState.music = &music;
    sinceSpectrum = 0.0f;
    Frame(0.25);
    Frame(0.5);
    EXPECT_FLOAT_EQ(sinceSpectrum, 0.5f);
    music.system->release();
    sinceSpectrum = 0.0f;
}
