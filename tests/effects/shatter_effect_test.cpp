// The breaking yacht: the per-vertex walk against the front, the fade's
// timing and amounts, the order of the passes and the states they leave,
// the scene without its reflection texture, and on the headless OpenGL
// device the mirror image the sea reads.
#include "effects/shatter_effect.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "render/render_target.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "tests/effects/scene_doubles.h"
#include "tests/support/effect_fixture.h"

namespace {

using Mirel::ShatterEffect;

constexpr double kStart = 73.0;

// One small level triangle at each of `heights`, all three corners at that height.
std::vector<D3DXVECTOR3> LevelTriangles(const std::vector<float>& heights) {
    std::vector<D3DXVECTOR3> corners;
    for (size_t f = 0; f < heights.size(); ++f) {
        const float x = static_cast<float>(f);
        for (const auto& [dx, z] : {std::pair{0.0f, 0.0f}, std::pair{0.5f, 0.0f}, std::pair{0.0f, 0.5f}})
            corners.emplace_back(x + dx, heights[f], z);
    }
    return corners;
}

class ShatterEffectTest : public EffectFixture {
protected:
    explicit ShatterEffectTest(D3D9Backend backend = D3D9Backend::Recording) : EffectFixture(backend) {}
    void SetUp() override {
        EffectFixture::SetUp();
        g_demoState.meshes.assign(7, Mirel::XMeshObj(MeshRecord{}));
        g_demoState.time = kStart;
        effect.startTime = kStart;
        effect.endTime = 90.0;
    }
    void TearDown() override {
        effect.Stop();
        EffectFixture::TearDown();
    }
    void UseBoat(const std::vector<D3DXVECTOR3>& corners) {
        boat = Triangles(device, corners);
        PutSceneMesh(2, boat.get(), 1);
    }
    // Draws of the yacht's copy go to `yacht` instead.
    void DrawCopyWith(FakeMesh& yacht) {
        effect.shatterMesh->Release();
        effect.shatterMesh = &yacht;
    }

    MeshHandle boat;
    ShatterEffect effect{&g_demoState};
};

TEST_F(ShatterEffectTest, OnlyVerticesStrictlyAboveTheFrontAdvanceByTwoAndAThousandTimesTheFrameTime) {
    // Exactly at the front after a first frame of 0.5 s, above it, below the
    // water line, and not a number.
    UseBoat(LevelTriangles({13.5f, 13.75f, -3.5f, std::numeric_limits<float>::quiet_NaN()}));
    effect.Init();
    StartAt(effect, kStart + 0.5);
    ASSERT_EQ(effect.shatterFront, 13.5f);
    std::vector<ShatterVertex> v = ShatterVertices(effect.shatterMesh);
    ASSERT_EQ(v.size(), 12u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(v[k].centroid.w, 0.0f) << "at the front";
        EXPECT_EQ(v[k].random.w, 0.0f);
        EXPECT_FLOAT_EQ(v[3 + k].centroid.w, 1.0f) << "above the front";
        EXPECT_FLOAT_EQ(v[3 + k].random.w, 500.0f);
    }

    for (double time = kStart + 0.6; time < 90.05; time += 0.1) Frame(effect, time);
    EXPECT_LT(effect.shatterFront, -3.0f);
    v = ShatterVertices(effect.shatterMesh);
    for (int k = 0; k < 3; ++k) {
        EXPECT_GT(v[k].centroid.w, 0.0f) << "passed later";
        EXPECT_EQ(v[6 + k].centroid.w + v[6 + k].random.w, 0.0f) << "below the water line";
        EXPECT_EQ(v[9 + k].centroid.w + v[9 + k].random.w, 0.0f) << "not a number";
    }
    // Progress runs at 2 and spin at 1000 a second, frame by frame, from the
    // frame whose front first lay below the vertex (the first, of 0.5 s).
    EXPECT_NEAR(v[3].centroid.w, 2.0f * (0.5f + 13.5f - effect.shatterFront), 1e-2f);
    EXPECT_NEAR(v[3].random.w, 1000.0f * (0.5f + 13.5f - effect.shatterFront), 5.0f);
}

TEST_F(ShatterEffectTest, PlainCopyUntilTheCueThenHalfAQuarterSecondInAndExactlyOneAboveTheCutOff) {
    UseBoat(LevelTriangles({1.0f}));
    effect.Init();
    IDirect3DPixelShader9* copy = g_demoState.resources->GetPixelShader("fragment_fs.cpp");
    IDirect3DPixelShader9* fade = g_demoState.resources->GetPixelShader("fragment_fade_out.cpp");
    ASSERT_TRUE(copy && fade);
    const double armedAt = kStart + 1.0 / 30;
    StartAt(effect, armedAt);
    EXPECT_EQ(BoundPixelShader(), copy);
    Frame(effect, armedAt + 14.0);  // not strictly past the delay
    EXPECT_EQ(BoundPixelShader(), copy);

    auto amountAt = [&](double after) {
        Frame(effect, armedAt + 14.0 + after);
        EXPECT_EQ(BoundPixelShader(), fade);
        EXPECT_EQ(PixelRegister(0), std::vector<float>(4, 0.0f)) << "to black";
        return PixelRegister(1)[0];
    };
    EXPECT_NEAR(amountAt(0.1), 0.2f, 1e-5f);
    EXPECT_FLOAT_EQ(amountAt(0.25), 0.5f);
    EXPECT_EQ(effect.FadeAmount(armedAt + 14.0 + 0.4995), 0.999f);  // not above the cut-off
    EXPECT_EQ(amountAt(0.49975), 1.0f);                             // 0.9995: exactly one
    EXPECT_EQ(amountAt(2.0), 1.0f);
}

// What every scene is checked for: each draw with the registers and
// textures it sees, in order; the camera path; what Stop gives up. The
// mirrored yacht, the sea, the yacht, the dome whole with its own sky; the
// states and the screen target handed back.
TEST_F(ShatterEffectTest, EveryDrawSeesItsRegistersAndTexturesFliesItsPathPutsStatesBackStopReleasesItsOwn) {
    ProbeSceneMeshes();
    UseBoat(LevelTriangles({1.0f}));
    g_demoState.meshes[2].materialCount = 4;
    g_demoState.meshes[3].materialCount = 3;
    effect.Init();
    ID3DXMesh* copy = effect.shatterMesh;
    ProbeMesh yacht("yacht", seen, device);
    effect.shatterMesh = &yacht;  // the copy's draws, noted
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0 | D3DCLIPPLANE1);
    SetTextureTarget(device, 0, g_demoState.screenTexture);
    effect.Start(kStart + 0.5);
    ExpectFlies("Media//Shatter.cp", kStart + 0.5);
    g_demoState.camera->UpdateCamera(kStart + 0.5);
    effect.Update(0.5, kStart + 0.5);
    effect.Render();
    EXPECT_FLOAT_EQ(effect.localTime, 0.5f);

    ASSERT_EQ(DrawnMeshes(), (std::vector<std::string>{"yacht", "sea", "yacht", "sky"}));
    ASSERT_EQ(seen.size(), 4u + 2u + 4u + 3u) << "each drawn whole";
    const SeenDraw &mirror = seen[0], &sea = seen[4], &boat = seen[6], &sky = seen[10];
    const D3DXMATRIX& viewProjection = g_demoState.camera->viewProjection;
    const Mirel::XMeshObj &seaMesh = g_demoState.meshes[1], &boatMesh = g_demoState.meshes[2];
    D3DXMATRIX mirrored;
    D3DXMatrixMultiply(&mirrored, &boatMesh.world, &effect.reflectionMatrix);
    EXPECT_EQ(mirror.Matrix(0), Times(mirrored, viewProjection));
    EXPECT_EQ(boat.Matrix(0), Times(boatMesh.world, viewProjection));
    for (const SeenDraw* draw : {&mirror, &boat}) {
        EXPECT_EQ(draw->Matrix(4), boatMesh.worldInvTranspose);
        EXPECT_EQ(draw->vertex[8], D3DXVECTOR4(effect.localTime, effect.shatterFront, 0.0f, 0.0f));
        ExpectShaders(*draw, "vertex_boat_shatter.cpp", "fragment_boat_shatter.cpp");
        ExpectTextures(*draw, 0, {"Textures//Hatch4.dds"});
        EXPECT_EQ(draw->cull, static_cast<DWORD>(D3DCULL_NONE)) << "the sails from both sides";
    }
    EXPECT_EQ(sea.Matrix(0), Times(seaMesh.world, viewProjection));
    EXPECT_EQ(sea.Matrix(4), seaMesh.worldInvTranspose);
    EXPECT_EQ(sea.Matrix(8), seaMesh.world);
    EXPECT_EQ(sea.vertex[12], Eye());
    EXPECT_EQ(sea.vertex[13], effect.timeVector);
    EXPECT_EQ(sea.pixel[0], effect.timeVector);
    ExpectShaders(sea, "vertex_water.cpp", "fragment_water.cpp");
    ExpectTextures(sea, 0, {"Textures//waves2.dds", "Textures//cubemap.dds"});
    EXPECT_EQ(sea.textures[2], effect.reflectionTexture) << "the sea reads the mirror image";
    EXPECT_EQ(sea.cull, static_cast<DWORD>(D3DCULL_CCW));
    EXPECT_EQ(sky.Matrix(0), viewProjection) << "the dome's world is not applied";
    EXPECT_EQ(sky.vertex[4], D3DXVECTOR4(1.0e4f, 1.0f, effect.timeVector.x, 0.0f))
        << "the sky's own: all colour, clouds drifting by the time";
    ExpectShaders(sky, "vertex_skydome.cpp", "fragment_skydome.cpp");
    ExpectTextures(sky, 0, {"Textures//Sky02.jpg", "Textures//clouds1.tga"});
    EXPECT_EQ(sky.cull, static_cast<DWORD>(D3DCULL_NONE));

    EXPECT_EQ(RenderState(D3DRS_CLIPPLANEENABLE), 0u);
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));
    EXPECT_TRUE(ScreenIsTarget()) << "the mirror is drawn into its own texture and the screen handed back";

    effect.shatterMesh = copy;
    ExpectStopReleases(effect, {effect.reflectionTexture, copy});
}

TEST_F(ShatterEffectTest, WithoutItsReflectionTextureTheSceneDrawsNoMirrorAndTheSeaReadsNoTexture) {
    ProbeSceneMeshes();
    ProbeMesh yacht("yacht", seen, device);
    UseBoat(LevelTriangles({1.0f}));
    g_demoState.meshes[1].materialCount = 1;
    for (const char* name :
         {"Textures//island.jpg", "Textures//islandNormal.jpg", "Textures//shadowmap.tga", "Textures//clouds1.tga"})
        g_demoState.resources->GetTexture(name);
    const int boxes = Win32_MessageBoxCount();
    D3D9_RefuseCalls(device, "CreateTexture", 1);
    effect.Init();
    EXPECT_EQ(effect.reflectionTexture, nullptr);
    EXPECT_EQ(Win32_MessageBoxCount(), boxes + 1);
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error creating screen texture");
    ASSERT_NE(effect.shatterMesh, nullptr) << "the rest of Init goes on";
    DrawCopyWith(yacht);

    device->SetTexture(2, g_demoState.screenTexture);
    StartAt(effect, kStart + 0.5);
    ClearCalls();
    Frame(effect, kStart + 0.6);
    // Two frames, each the sea, the yacht and the sky, no mirror.
    EXPECT_EQ(DrawnMeshes(), (std::vector<std::string>{"sea", "yacht", "sky", "sea", "yacht", "sky"}));
    EXPECT_EQ(seen[0].textures[2], nullptr);
    EXPECT_EQ(seen[4].textures[2], nullptr);
    const int frameClear = FindCall("Clear(");
    ASSERT_NE(frameClear, -1);
    EXPECT_EQ(FindCall("Clear(", frameClear + 1), -1) << "only the frame's own clear, no mirror cleared";
    effect.shatterMesh = nullptr;
}

class ShatterPicture : public ShatterEffectTest {
protected:
    ShatterPicture() : ShatterEffectTest(D3D9Backend::OpenGL) {}
};

TEST_F(ShatterPicture, TheMirrorHoldsTheYachtBelowTheWaterLineMarkedForTheSeaAndNothingElse) {
    UseBoat(Wall(4.0f, 8.0f, -3.0f, 1.0f, 42.0f));  // at the yacht's mooring
    ASSERT_NE(boat, nullptr);
    effect.Init();
    StartAt(effect, kStart + 0.1);
    g_demoState.camera->followPath = false;
    g_demoState.camera->SetLookAt(D3DXVECTOR3(6.0f, 0.0f, 28.0f), D3DXVECTOR3(6.0f, -3.0f, 42.0f));
    Frame(effect, kStart + 0.2);

    // Alpha 0 where the mirrored wall lies, opaque black elsewhere.
    Picture mirror = TestDevice::Read(effect.reflectionTexture);
    ASSERT_FALSE(mirror.Empty());
    auto at = [&](float x, float y) {
        auto [column, row] = OnScreen(D3DXVECTOR3(x, y, 42.0f));
        return mirror.At(column, row);
    };
    EXPECT_EQ(at(6.0f, -4.5f) >> 24, 0u) << "the wall's image below the water line";
    EXPECT_EQ(at(6.0f, -6.5f) >> 24, 0u);
    EXPECT_NE(at(6.0f, -4.5f) & 0x00FFFFFFu, 0u) << "lit, not black";
    EXPECT_EQ(at(6.0f, -1.0f), 0xFF000000u) << "above the water line nothing is mirrored";
    EXPECT_EQ(at(10.0f, -5.0f), 0xFF000000u) << "beside it the clear colour";
}

}  // namespace
