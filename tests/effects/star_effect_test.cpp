// The closing scene: its fades, the break-up and credits cue, the passes in
// their order with their states, the cylinder's copy left unlocked, and the
// picture on the headless OpenGL device.
#include "effects/star_effect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "scene/mesh_path_animation.h"
#include "shell/demo_state.h"
#include "tests/effects/scene_doubles.h"
#include "tests/support/effect_fixture.h"

namespace {

using Mirel::StarEffect;

constexpr double kStart = 90.0;
constexpr double kFirst = kStart + 1.0 / 64;  // the first frame, and the trigger's arming time
constexpr double kBreak = kFirst + 5.4;       // the trigger's moment

class StarEffectTest : public EffectFixture {
protected:
    explicit StarEffectTest(D3D9Backend backend = D3D9Backend::Recording) : EffectFixture(backend) {}
    void SetUp() override {
        EffectFixture::SetUp();
        if (HasFatalFailure()) return;
        StarEffect::creditsStarted = false;  // their values at process start
        StarEffect::fadeInActive = true;
        LoadSceneMeshes();
        effect.startTime = kStart;
        effect.endTime = 110.0;
        g_demoState.time = kStart;  // the frame before the scene
        effect.Init();
    }
    void TearDown() override {
        effect.Stop();
        EffectFixture::TearDown();
    }
    // Update and Render alone, as the scheduler runs them before the composite.
    void UpdateAndRender(double time) {
        g_demoState.frameDelta = time - g_demoState.time;
        g_demoState.time = time;
        effect.Update(g_demoState.frameDelta, time);
        effect.Render();
    }
    IDirect3DPixelShader9* PixelShader(const char* name) { return g_demoState.resources->GetPixelShader(name); }

    StarEffect effect{&g_demoState};
};

TEST_F(StarEffectTest, FadeInFromTheStartAndFadeOutOverTheLastThreeSeconds) {
    IDirect3DPixelShader9* fadeIn = PixelShader("fragment_fade_in.cpp");
    IDirect3DPixelShader9* plain = PixelShader("fragment_fs.cpp");
    IDirect3DPixelShader9* fadeOut = PixelShader("fragment_fade_out.cpp");
    StartAt(effect, kFirst);
    EXPECT_EQ(BoundPixelShader(), fadeIn);
    EXPECT_EQ(PixelRegister(0), std::vector<float>(4, 0.0f));
    EXPECT_EQ(PixelRegister(1)[0], 2.0f / 64);

    Frame(effect, kStart + 0.5);  // exactly 1: not past it
    EXPECT_EQ(PixelRegister(1)[0], 1.0f);
    EXPECT_TRUE(StarEffect::fadeInActive);
    Frame(effect, kStart + 0.5 + 1.0 / 64);
    EXPECT_EQ(BoundPixelShader(), fadeIn);
    EXPECT_EQ(PixelRegister(1)[0], 1.0f + 2.0f / 64);  // unclamped
    Frame(effect, kStart + 0.5 + 2.0 / 64);
    EXPECT_EQ(BoundPixelShader(), plain);

    Frame(effect, 107.0);  // exactly three seconds before the end
    EXPECT_EQ(BoundPixelShader(), plain);
    Frame(effect, 107.0 + 1.0 / 64);
    EXPECT_EQ(BoundPixelShader(), fadeOut);
    EXPECT_FLOAT_EQ(PixelRegister(1)[0], 1.0f / 192);
    EXPECT_EQ(PixelRegister(0), std::vector<float>(4, 0.0f));
    Frame(effect, 110.0);
    EXPECT_EQ(PixelRegister(1)[0], 1.0f);
}

TEST_F(StarEffectTest, TheTriggerStartsTheBreakAndStampsTheCardsPathOnceBeforeItsFirstDraw) {
    std::vector<SeenDraw> card;
    ProbeMesh plane("card", card, device);
    PutSceneMesh(5, &plane, 1);
    StartAt(effect, kFirst);
    double time = kFirst;
    while (time + 1.0 / 8 - kFirst <= 5.4) {
        time += 1.0 / 8;
        Frame(effect, time);
        ASSERT_EQ(effect.dissolve, 0.0f) << time;
        ASSERT_TRUE(card.empty()) << time;
        ASSERT_FALSE(StarEffect::creditsStarted);
    }
    EXPECT_EQ(VertexRegister(9), (std::vector<float>{-2.913f, 2.138f, 0.266f, 0.0f}));

    time += 1.0 / 8;  // the frame that fires
    Frame(effect, time);
    EXPECT_TRUE(StarEffect::creditsStarted);
    EXPECT_EQ(g_demoState.meshes[5].meshPathStart, static_cast<float>(time));
    ASSERT_EQ(card.size(), 1u);
    EXPECT_GT(effect.dissolve, 0.0f);
    EXPECT_LT(effect.dissolve, 0.1f);
    // Drawn at path time 0: the first key's matrix times the view-projection.
    D3DXMATRIX onPath, expected;
    Evaluate(*g_demoState.meshes[5].meshPath, &onPath, 0.0f);
    D3DXMatrixMultiply(&expected, &onPath, &g_demoState.camera->viewProjection);
    const D3DXMATRIX drawn = card[0].Matrix(0);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(drawn[i], expected[i], 1e-4f);

    Frame(effect, kBreak + 1.0);
    EXPECT_NEAR(effect.dissolve, 0.5f, 1e-5f);
    EXPECT_EQ(VertexRegister(9)[3], effect.dissolve);
    Frame(effect, kBreak + 2.5);
    EXPECT_EQ(effect.dissolve, 1.0f);
    Frame(effect, 109.0);
    EXPECT_EQ(effect.dissolve, 1.0f);
    EXPECT_EQ(VertexRegister(8)[0], 19.0f);
    EXPECT_EQ(VertexRegister(8)[1], static_cast<float>(109.0 - (kBreak + 2.5)));
    EXPECT_EQ(g_demoState.meshes[5].meshPathStart, static_cast<float>(time)) << "stamped once";

    // The flag belongs to the process: a new scene object does not stamp again.
    StarEffect again(&g_demoState);
    again.Init();
    again.Start(109.0);
    g_demoState.time = 115.0;
    again.Update(0.0, 115.0);
    EXPECT_TRUE(again.triggers[0].fired);
    EXPECT_EQ(g_demoState.meshes[5].meshPathStart, static_cast<float>(time));
    again.Stop();
}

// What every scene is checked for: each draw with the registers and
// textures it sees, in order; the camera; what Stop gives up. From a fixed
// camera: the stars, the globe shaded then hatched, blending off, the
// cylinder (its copy never locked after Init), the card.
TEST_F(StarEffectTest, EveryDrawSeesItsRegistersAndTexturesFromAFixedCameraStopReleasesTheCopy) {
    ID3DXMesh* copy = effect.cylinderMesh;
    ASSERT_NE(copy, nullptr);
    ProbeSceneMeshes();
    g_demoState.meshes[4].materialCount = 1;
    g_demoState.meshes[5].materialCount = 1;
    g_demoState.meshes[6].materialCount = 1;
    ProbeMesh cylinder("cylinder", seen, device);
    effect.cylinderMesh = &cylinder;
    g_demoState.camera->FollowPath(g_demoState.resources->GetCameraPath("Media//HatchToNormal.cp"), 0.0);
    StartAt(effect, kFirst);
    EXPECT_FALSE(g_demoState.camera->followPath);
    EXPECT_EQ(g_demoState.camera->eye, D3DXVECTOR3(-13.387f, 8.734f, 0.395f));
    EXPECT_FLOAT_EQ(effect.earthVector.w, 0.1f + 0.1f / 64);  // 0.1 a second of frame time
    UpdateAndRender(kStart + 2.0);
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW)) << "no card yet";
    EXPECT_EQ(DrawnMeshes(), (std::vector<std::string>{"earth", "cylinder", "earth", "cylinder"})) << "two frames";

    seen.clear();
    ClearCalls();
    UpdateAndRender(kBreak + 0.25);
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_NONE)) << "the card leaves culling off";
    ASSERT_EQ(DrawnMeshes(), (std::vector<std::string>{"earth", "cylinder", "card"}));
    ASSERT_EQ(seen.size(), 4u);
    const SeenDraw &shaded = seen[0], &hatched = seen[1], &pieces = seen[2], &onCard = seen[3];
    const D3DXMATRIX& viewProjection = g_demoState.camera->viewProjection;
    const Mirel::XMeshObj& earth = g_demoState.meshes[4];
    for (const SeenDraw* draw : {&shaded, &hatched}) {
        EXPECT_EQ(draw->Matrix(0), Times(earth.world, viewProjection));
        EXPECT_EQ(draw->Matrix(4), earth.worldInvTranspose);
        EXPECT_EQ(draw->vertex[8], Eye());
        EXPECT_EQ(draw->vertex[9], effect.earthVector);
        EXPECT_EQ(draw->pixel[0], effect.earthVectorCopy);
        EXPECT_EQ(draw->blend, static_cast<DWORD>(TRUE));
    }
    ExpectShaders(shaded, "vertex_earth.cpp", "fragment_earth.cpp");
    ExpectTextures(shaded, 0,
                   {"Textures//earthmap1k.jpg", "Textures//earth_nrm.dds", "Textures//earth_day_color_spec.dds",
                    "Textures//earth_clouds_alpha.dds"});
    EXPECT_EQ(shaded.source, static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(shaded.destination, static_cast<DWORD>(D3DBLEND_ZERO));
    ExpectShaders(hatched, "vertex_earth_hatch.cpp", "fragment_earth_hatch.cpp");
    ExpectTextures(hatched, 0, HatchTextures());
    EXPECT_EQ(hatched.source, static_cast<DWORD>(D3DBLEND_SRCCOLOR));
    EXPECT_EQ(hatched.destination, static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(pieces.Matrix(0), viewProjection) << "the cylinder's world is not applied";
    EXPECT_EQ(pieces.vertex[8], D3DXVECTOR4(static_cast<float>(kBreak + 0.25 - kStart),
                                            static_cast<float>(g_demoState.frameDelta), 0.0f, 0.0f));
    EXPECT_EQ(pieces.vertex[9], D3DXVECTOR4(-2.913f, 2.138f, 0.266f, effect.dissolve));
    ExpectShaders(pieces, "vertex_cylinder_shatter.cpp", "fragment_boat_shatter.cpp");
    ExpectTextures(pieces, 0, {"Textures//Hatch5.dds"});
    EXPECT_EQ(pieces.blend, static_cast<DWORD>(FALSE));
    EXPECT_EQ(pieces.cull, static_cast<DWORD>(D3DCULL_NONE));
    ExpectShaders(onCard, "vertex_simple.cpp", "fragment_boat_shatter.cpp");
    ExpectTextures(onCard, 0, {"Textures//credits_copy.jpg"});
    EXPECT_EQ(onCard.blend, static_cast<DWORD>(FALSE));

    const int stars = FindCall("DrawPrimitive(D3DPT_TRIANGLESTRIP");
    EXPECT_GE(stars, 0);
    EXPECT_LT(stars, shaded.callsBefore);
    for (const std::string& call : Calls()) EXPECT_EQ(call.find(".Lock("), std::string::npos) << call;

    effect.cylinderMesh = copy;
    ExpectStopReleases(effect, {copy});
}

class StarEffectPicture : public StarEffectTest {
protected:
    StarEffectPicture() : StarEffectTest(D3D9Backend::OpenGL) {}
    static int Brightness(uint32_t pixel) {
        return static_cast<int>(((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF));
    }
    static int Brightest(const Picture& picture) {
        int brightest = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) brightest = std::max(brightest, Brightness(picture.At(x, y)));
        return brightest;
    }
};

TEST_F(StarEffectPicture, BlackAtTheStartTheLitGlobeAmongDarkStarsThenBlackAgainAtTheEnd) {
    StartAt(effect, kFirst);
    Picture first = gpu.Present();
    ASSERT_FALSE(first.Empty());
    EXPECT_LT(Brightest(first), 3 * 12);  // 3 % of the picture through the black

    Frame(effect, kStart + 2.0);
    Picture scene = gpu.Present();
    // The globe's lit side left of the cylinder, its night side to the right,
    // and the sky in the corners.
    const uint32_t lit = scene.At(24, 26), night = scene.At(41, 24);
    EXPECT_GT(Brightness(lit), 3 * 60);
    EXPECT_GT(lit & 0xFF, (lit >> 16) & 0xFF);  // blue sea and sky light
    EXPECT_LT(Brightness(night), Brightness(lit) / 2);
    for (auto [x, y] : {std::pair{1, 1}, std::pair{62, 1}, std::pair{1, 46}, std::pair{62, 46}})
        EXPECT_LT(Brightness(scene.At(x, y)), 3 * 40);

    Frame(effect, 109.9);
    EXPECT_LT(Brightest(gpu.Present()), 3 * 16);
}

}  // namespace
