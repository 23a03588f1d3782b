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
#include "tests/support/effect_fixture.h"
#include "tests/support/fakes.h"

namespace {

using Mirel::StarEffect;

constexpr double kStart = 90.0;
constexpr double kFirst = kStart + 1.0 / 64;  // the first frame, and the trigger's arming time
constexpr double kBreak = kFirst + 5.4;       // the trigger's moment

// Records, at each subset drawn, the shaders, blend factors, culling, the
// vertex registers c0-c3 and how many calls the device had logged.
struct PassRecorder : FakeMesh {
    struct Pass {
        IDirect3DPixelShader9* pixelShader;
        IDirect3DVertexShader9* vertexShader;
        DWORD blend, source, destination, cull;
        D3DXMATRIX registers0to3;
        int at;
    };
    IDirect3DDevice9* device = nullptr;
    std::vector<Pass> passes;
    HRESULT DrawSubset(DWORD attribId) override {
        Pass pass{};
        device->GetPixelShader(&pass.pixelShader);
        device->GetVertexShader(&pass.vertexShader);
        device->GetRenderState(D3DRS_ALPHABLENDENABLE, &pass.blend);
        device->GetRenderState(D3DRS_SRCBLEND, &pass.source);
        device->GetRenderState(D3DRS_DESTBLEND, &pass.destination);
        device->GetRenderState(D3DRS_CULLMODE, &pass.cull);
        device->GetVertexShaderConstantF(0, pass.registers0to3, 4);
        if (pass.pixelShader) pass.pixelShader->Release();
        if (pass.vertexShader) pass.vertexShader->Release();
        pass.at = static_cast<int>(D3D9_RecordedCalls(device).size());
        passes.push_back(pass);
        return FakeMesh::DrawSubset(attribId);
    }
};

std::vector<float> Floats(const D3DXVECTOR4& v) { return {v.x, v.y, v.z, v.w}; }

class StarEffectTest : public EffectFixture {
protected:
    explicit StarEffectTest(D3D9Backend backend = D3D9Backend::Recording, UINT width = 64, UINT height = 48)
        : EffectFixture(backend, width, height) {}
    void SetUp() override {
        EffectFixture::SetUp();
        if (HasFatalFailure()) return;
        StarEffect::creditsStarted = false;  // their values at process start
        StarEffect::fadeInActive = true;
        LoadSceneMeshes();
        effect.startTime = kStart;
        effect.endTime = 110.0;
        g_demoState.time = kStart;  // the frame before the scene
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
    D3DXVECTOR4 PixelRegister(UINT reg) {
        D3DXVECTOR4 v;
        device->GetPixelShaderConstantF(reg, v, 1);
        return v;
    }
    D3DXVECTOR4 VertexRegister(UINT reg) {
        D3DXVECTOR4 v;
        device->GetVertexShaderConstantF(reg, v, 1);
        return v;
    }
    IDirect3DPixelShader9* PixelShader(const char* name) { return g_demoState.resources->GetPixelShader(name); }
    IDirect3DPixelShader9* CurrentPixelShader() {
        IDirect3DPixelShader9* shader = nullptr;
        device->GetPixelShader(&shader);
        if (shader) shader->Release();
        return shader;
    }
    DWORD Cull() {
        DWORD value = 0;
        device->GetRenderState(D3DRS_CULLMODE, &value);
        return value;
    }

    StarEffect effect{&g_demoState};
};

TEST_F(StarEffectTest, InitBindsTheCardsPathAndCopiesTheCylinderStartPlacesTheCamera) {
    effect.Init();
    EXPECT_EQ(g_demoState.meshes[5].meshPath, g_demoState.resources->GetMeshPath("Media//meshtest.cp"));
    EXPECT_EQ(Floats(effect.earthVector), (std::vector<float>{-8.45f, 5.294f, -0.76f, 0.1f}));
    ASSERT_EQ(effect.triggers.size(), 1u);
    EXPECT_EQ(effect.triggers[0].delay, 5.4);
    ASSERT_NE(effect.cylinderMesh, nullptr);
    EXPECT_EQ(effect.cylinderMesh->GetNumBytesPerVertex(), 88u);
    EXPECT_EQ(effect.cylinderMesh->GetNumFaces(), g_demoState.meshes[6].mesh->GetNumFaces());

    g_demoState.camera->FollowPath(g_demoState.resources->GetCameraPath("Media//HatchToNormal.cp"), 0.0);
    StartAt(effect, kFirst);
    EXPECT_FALSE(g_demoState.camera->followPath);
    EXPECT_EQ(g_demoState.camera->eye, D3DXVECTOR3(-13.387f, 8.734f, 0.395f));
    EXPECT_EQ(g_demoState.camera->target, D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(effect.shatterPoint, D3DXVECTOR3(-2.913f, 2.138f, 0.266f));
    // The globe turns 0.1 a second of frame time.
    EXPECT_FLOAT_EQ(effect.earthVector.w, 0.1f + 0.1f / 64);
    UpdateAndRender(kFirst + 1.0 / 64);
    EXPECT_EQ(Floats(PixelRegister(0)), Floats(effect.earthVector));  // left by the earth passes
}

TEST_F(StarEffectTest, FadeInIsTwiceTheSecondsSinceTheStartAndTheFramePastOneStillUsesIt) {
    effect.Init();
    IDirect3DPixelShader9* fadeIn = PixelShader("fragment_fade_in.cpp");
    IDirect3DPixelShader9* plain = PixelShader("fragment_fs.cpp");
    StartAt(effect, kFirst);
    EXPECT_EQ(CurrentPixelShader(), fadeIn);
    EXPECT_EQ(Floats(PixelRegister(0)), (std::vector<float>{0.0f, 0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(PixelRegister(1).x, 2.0f / 64);

    Frame(effect, kStart + 0.5);  // exactly 1: not past it
    EXPECT_EQ(PixelRegister(1).x, 1.0f);
    EXPECT_TRUE(StarEffect::fadeInActive);
    Frame(effect, kStart + 0.5 + 1.0 / 64);
    EXPECT_EQ(CurrentPixelShader(), fadeIn);
    EXPECT_EQ(PixelRegister(1).x, 1.0f + 2.0f / 64);  // unclamped
    EXPECT_FALSE(StarEffect::fadeInActive);
    Frame(effect, kStart + 0.5 + 2.0 / 64);
    EXPECT_EQ(CurrentPixelShader(), plain);
}

TEST_F(StarEffectTest, FadeOutOnlyWithinTheLastThreeSecondsRisingToOneAtTheEnd) {
    effect.Init();
    IDirect3DPixelShader9* fadeOut = PixelShader("fragment_fade_out.cpp");
    StartAt(effect, kFirst);
    Frame(effect, kStart + 1.0);  // past the fade-in
    Frame(effect, 107.0);
    EXPECT_EQ(CurrentPixelShader(), PixelShader("fragment_fs.cpp"));
    Frame(effect, 107.0 + 1.0 / 64);
    EXPECT_EQ(CurrentPixelShader(), fadeOut);
    EXPECT_GT(PixelRegister(1).x, 0.0f);
    EXPECT_FLOAT_EQ(PixelRegister(1).x, 1.0f / 192);
    EXPECT_EQ(Floats(PixelRegister(0)), (std::vector<float>{0.0f, 0.0f, 0.0f, 0.0f}));
    Frame(effect, 110.0);
    EXPECT_EQ(PixelRegister(1).x, 1.0f);
}

TEST_F(StarEffectTest, TheTriggerStartsTheBreakAndStampsTheCardsPathOnceBeforeItsFirstDraw) {
    PassRecorder card;
    card.device = device;
    effect.Init();
    g_demoState.meshes[5].mesh = &card;
    g_demoState.meshes[5].materialCount = 1;
    StartAt(effect, kFirst);
    double time = kFirst;
    while (time + 1.0 / 8 - kFirst <= 5.4) {
        time += 1.0 / 8;
        Frame(effect, time);
        ASSERT_EQ(effect.dissolve, 0.0f) << time;
        ASSERT_TRUE(card.passes.empty()) << time;
        ASSERT_FALSE(StarEffect::creditsStarted);
    }
    EXPECT_EQ(Floats(VertexRegister(9)), (std::vector<float>{-2.913f, 2.138f, 0.266f, 0.0f}));

    time += 1.0 / 8;  // the frame that fires
    Frame(effect, time);
    EXPECT_TRUE(StarEffect::creditsStarted);
    EXPECT_EQ(g_demoState.meshes[5].meshPathStart, static_cast<float>(time));
    ASSERT_EQ(card.passes.size(), 1u);
    EXPECT_GT(effect.dissolve, 0.0f);
    EXPECT_LT(effect.dissolve, 0.1f);
    // Drawn at path time 0: the first key's matrix times the view-projection.
    D3DXMATRIX onPath, expected;
    Evaluate(*g_demoState.meshes[5].meshPath, &onPath, 0.0f);
    D3DXMatrixMultiply(&expected, &onPath, &g_demoState.camera->viewProjection);
    D3DXMatrixTranspose(&expected, &expected);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(card.passes[0].registers0to3[i], expected[i], 1e-4f);

    Frame(effect, kBreak + 1.0);
    EXPECT_NEAR(effect.dissolve, 0.5f, 1e-5f);
    EXPECT_EQ(VertexRegister(9).w, effect.dissolve);
    EXPECT_EQ(g_demoState.meshes[5].meshPathStart, static_cast<float>(time));  // once
    Frame(effect, kBreak + 2.5);
    EXPECT_EQ(effect.dissolve, 1.0f);
    Frame(effect, 109.0);
    EXPECT_EQ(effect.dissolve, 1.0f);
    EXPECT_EQ(VertexRegister(8).x, 19.0f);
    EXPECT_EQ(VertexRegister(8).y, static_cast<float>(109.0 - (kBreak + 2.5)));

    // The flag belongs to the process: a new scene object does not stamp again.
    StarEffect again(&g_demoState);
    again.startTime = kStart;
    again.endTime = 110.0;
    again.Init();
    again.Start(109.0);
    g_demoState.time = 115.0;
    again.Update(0.0, 115.0);
    EXPECT_TRUE(again.triggers[0].fired);
    EXPECT_EQ(g_demoState.meshes[5].meshPathStart, static_cast<float>(time));
    again.Stop();
}

TEST_F(StarEffectTest, PassesRunStarsEarthShadedEarthHatchedCylinderCardWithTheirBlendingAndCulling) {
    PassRecorder earth, card;
    earth.device = card.device = device;
    effect.Init();
    g_demoState.meshes[4].mesh = &earth;
    g_demoState.meshes[4].materialCount = 1;
    g_demoState.meshes[5].mesh = &card;
    g_demoState.meshes[5].materialCount = 1;
    StartAt(effect, kFirst);
    UpdateAndRender(kStart + 2.0);
    EXPECT_EQ(Cull(), static_cast<DWORD>(D3DCULL_CCW));  // no card yet
    ASSERT_EQ(earth.passes.size(), 4u);                 // two frames, two passes each

    ClearCalls();
    UpdateAndRender(kBreak + 0.25);
    EXPECT_EQ(Cull(), static_cast<DWORD>(D3DCULL_NONE));  // the card leaves culling off
    ASSERT_EQ(earth.passes.size(), 6u);
    const PassRecorder::Pass& shaded = earth.passes[4];
    const PassRecorder::Pass& hatched = earth.passes[5];
    Mirel::ResourceManager* resources = g_demoState.resources;
    EXPECT_EQ(shaded.pixelShader, PixelShader("fragment_earth.cpp"));
    EXPECT_EQ(shaded.vertexShader, resources->GetVertexShader("vertex_earth.cpp"));
    EXPECT_EQ(shaded.source, static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(shaded.destination, static_cast<DWORD>(D3DBLEND_ZERO));
    EXPECT_EQ(hatched.pixelShader, PixelShader("fragment_earth_hatch.cpp"));
    EXPECT_EQ(hatched.vertexShader, resources->GetVertexShader("vertex_earth_hatch.cpp"));
    EXPECT_EQ(hatched.source, static_cast<DWORD>(D3DBLEND_SRCCOLOR));
    EXPECT_EQ(hatched.destination, static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(hatched.blend, static_cast<DWORD>(TRUE));
    D3DXMATRIX viewProjection;
    D3DXMatrixTranspose(&viewProjection, &g_demoState.camera->viewProjection);
    EXPECT_EQ(shaded.registers0to3, viewProjection);  // the globe's world is the identity

    ASSERT_EQ(card.passes.size(), 1u);
    EXPECT_EQ(card.passes[0].pixelShader, PixelShader("fragment_boat_shatter.cpp"));
    EXPECT_EQ(card.passes[0].vertexShader, resources->GetVertexShader("vertex_simple.cpp"));
    EXPECT_EQ(card.passes[0].blend, static_cast<DWORD>(FALSE));
    EXPECT_EQ(card.passes[0].cull, static_cast<DWORD>(D3DCULL_NONE));

    // The stars, the globe twice, blending off, the cylinder, the card.
    int stars = FindCall("DrawPrimitive(D3DPT_TRIANGLESTRIP");
    int blendOff = FindCall("SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE)");
    int cylinder = FindCall("DrawIndexedPrimitive", blendOff);
    EXPECT_GE(stars, 0);
    EXPECT_LT(stars, shaded.at);
    EXPECT_LT(shaded.at, hatched.at);
    EXPECT_LE(hatched.at, blendOff);
    EXPECT_LT(blendOff, cylinder);
    EXPECT_LT(cylinder, card.passes[0].at);
}

TEST_F(StarEffectTest, TheCylindersCopyIsNeverLockedAfterInit) {
    effect.Init();
    StartAt(effect, kFirst);  // the quad's buffers are made in the first frame
    ClearCalls();
    for (double time : {kStart + 3.0, kBreak + 0.1, kBreak + 1.0, kBreak + 3.0, 109.5}) Frame(effect, time);
    int draws = 0;
    for (const std::string& call : Calls()) {
        EXPECT_EQ(call.find(".Lock("), std::string::npos) << call;
        draws += call.rfind("DrawIndexedPrimitive", 0) == 0 ? 1 : 0;
    }
    EXPECT_GE(draws, 5 * 3);  // globe twice and the cylinder in every frame
}

class StarEffectPicture : public StarEffectTest {
protected:
    StarEffectPicture() : StarEffectTest(D3D9Backend::OpenGL, 64, 48) {}
    void SetUp() override {
        StarEffectTest::SetUp();
        if (HasFatalFailure()) GTEST_SKIP() << gpu.Error();
    }
    static int Brightness(uint32_t pixel) {
        return static_cast<int>(((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF));
    }
};

TEST_F(StarEffectPicture, BlackAtTheStartTheLitGlobeAmongDarkStarsThenBlackAgainAtTheEnd) {
    effect.Init();
    StartAt(effect, kFirst);
    Picture first = gpu.Present();
    ASSERT_FALSE(first.Empty());
    int brightest = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) brightest = std::max(brightest, Brightness(first.At(x, y)));
    EXPECT_LT(brightest, 3 * 12);  // 3 % of the picture through the black

    Frame(effect, kStart + 2.0);
    Picture scene = gpu.Present();
    // The globe's lit side left of the cylinder, its night side to the right,
    // and the sky in the corners.
    const uint32_t lit = scene.At(24, 26), night = scene.At(41, 24);
    EXPECT_GT(Brightness(lit), 3 * 60);
    EXPECT_GT(lit & 0xFF, (lit >> 16) & 0xFF);  // blue sea and sky light
    EXPECT_LT(Brightness(night), Brightness(lit) / 2);
    for (auto [x, y] : {std::pair{1, 1}, std::pair{62, 1}, std::pair{1, 46}, std::pair{62, 46}}) EXPECT_LT(Brightness(scene.At(x, y)), 3 * 40);

    Frame(effect, 109.9);
    Picture last = gpu.Present();
    brightest = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) brightest = std::max(brightest, Brightness(last.At(x, y)));
    EXPECT_LT(brightest, 3 * 16);
}

}  // namespace
