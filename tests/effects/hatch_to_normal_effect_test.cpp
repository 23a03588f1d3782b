// The colour scene: its cues (sweep speed, radial strength, word fades) on
// the recording device, the states its passes leave behind, and two pictures
// on the headless OpenGL device: the island mirrored in the sea, the glow's
// kernel and the radial blur.
#include "effects/hatch_to_normal_effect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "render/quad.h"
#include "render/render_target.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"
#include "tests/effects/scene_doubles.h"
#include "tests/support/effect_fixture.h"

namespace {

using Mirel::HatchToNormalEffect;

constexpr double kStart = 33.5;
constexpr double kFrame = 1.0 / 30;

// The scene on the shared fixture, with seven empty scene meshes (tests put
// their own in) and the frame before the scene as the last one.
class HatchToNormalTest : public EffectFixture {
protected:
    explicit HatchToNormalTest(D3D9Backend backend = D3D9Backend::Recording, UINT width = 64, UINT height = 48)
        : EffectFixture(backend, width, height) {}
    void SetUp() override {
        EffectFixture::SetUp();
        HatchToNormalEffect::sweepSpeed = 10.0f;  // its value at process start
        g_demoState.music->spectrumEnabled = true;
        g_demoState.meshes.assign(7, Mirel::XMeshObj(MeshRecord{}));
        g_demoState.time = kStart;
        effect.startTime = kStart;
    }
    void TearDown() override {
        effect.Stop();
        EXPECT_EQ(effect.pixelState, nullptr);
        EffectFixture::TearDown();
    }
    void StartAt(double time) { EffectFixture::StartAt(effect, time); }
    void Frame(double time) { EffectFixture::Frame(effect, time); }
    // Update and Render alone on the screen target: the device as the
    // scene hands it to its post passes.
    void RenderAt(double time) {
        SetTextureTarget(device, 0, g_demoState.screenTexture);
        g_demoState.frameDelta = time - g_demoState.time;
        g_demoState.time = time;
        g_demoState.camera->UpdateCamera(time);
        effect.Update(g_demoState.frameDelta, time);
        effect.Render();
    }

    HatchToNormalEffect effect{&g_demoState};
};

TEST_F(HatchToNormalTest, SweepSpeedsUpAndTheRadialRouteIsTakenInTheFrameTrigger3FiresThenTheRadialSwings) {
    effect.Init();
    IDirect3DPixelShader9* radial = g_demoState.resources->GetPixelShader("fragment_radial_blur.cpp");
    IDirect3DPixelShader9* composite = g_demoState.resources->GetPixelShader("fragment_hatchtonormal_fs.cpp");
    ASSERT_NE(radial, nullptr);
    StartAt(kStart + kFrame);
    EXPECT_FALSE(g_demoState.music->spectrumEnabled);
    EXPECT_FLOAT_EQ(effect.sceneParams.x, static_cast<float>(kStart + kFrame));
    EXPECT_FLOAT_EQ(effect.sceneParams.y, -70.0f + static_cast<float>(kFrame) * 10.0f);
    // Uneven frames, the longest 1/12 s.
    const double steps[] = {1.0 / 12, 1.0 / 45, 1.0 / 30, 1.0 / 20};
    double time = kStart + kFrame;
    float lowest = 0.0f, heldAt = 1.0f;
    bool fired = false;
    for (int i = 0; time < kStart + 39.45; ++i) {
        time += steps[i % 4];
        const float before = effect.sceneParams.y;
        const bool firedBefore = fired;
        Frame(time);
        fired = effect.triggers[3].fired;
        const float step = (effect.sceneParams.y - before) / static_cast<float>(steps[i % 4]);
        lowest = std::min(lowest, effect.radialAmount);
        if (!fired) {
            ASSERT_NEAR(step, 10.0f, 1e-2f) << time;
            ASSERT_EQ(BoundPixelShader(), composite) << time;
            ASSERT_EQ(effect.radialAmount, 0.0f) << time;
        } else if (!firedBefore) {
            EXPECT_GT(time - kStart, 18.0);
            EXPECT_LT(time - kStart, 18.0 + 1.0 / 12);
            EXPECT_NEAR(step, 32.0f, 1e-2f) << "32 already in the frame trigger 3 fires";
            EXPECT_EQ(BoundPixelShader(), radial);
        }
        if (time - kStart > 25.0 && time - kStart < 36.0) {
            if (heldAt > 0.0f) heldAt = effect.radialAmount;
            ASSERT_EQ(effect.radialAmount, heldAt) << "held until trigger 4";
        }
    }
    EXPECT_GE(effect.radialAmount, 0.0f);  // back, and not beyond one frame's rise
    EXPECT_LE(effect.radialAmount, 1.0f / 12 / 15);
    EXPECT_LE(lowest, -0.2f);
    EXPECT_GE(lowest, -0.2f - 1.0f / 12 / 30);
    EXPECT_FLOAT_EQ(HatchToNormalEffect::sweepSpeed, 32.0f);  // never set back
}

TEST_F(HatchToNormalTest, WordsFadeInOverASecondEachAndOutTogetherFromFiveSeconds) {
    effect.Init();
    StartAt(kStart);
    auto levelsAt = [&](double after) {
        Frame(kStart + after);
        return std::vector<int>{effect.wordFade0, effect.wordFade1};
    };
    EXPECT_EQ(levelsAt(0.9), (std::vector<int>{0, 0}));
    EXPECT_EQ(levelsAt(1.5), (std::vector<int>{127, 0}));
    EXPECT_EQ(levelsAt(3.5), (std::vector<int>{255, 127}));
    EXPECT_EQ(levelsAt(4.6), (std::vector<int>{255, 255}));
    // The words are drawn at their levels: "then", "there is", "a colour".
    ASSERT_EQ(sprite.drawn.size(), 3u);
    EXPECT_EQ(sprite.beginFlags, DWORD(D3DXSPRITE_DONOTSAVESTATE | D3DXSPRITE_OBJECTSPACE | D3DXSPRITE_ALPHABLEND));
    EXPECT_EQ(sprite.drawn[0].position, D3DXVECTOR3(-1512.0f, 1512.0f, 0.0f));
    EXPECT_EQ(sprite.drawn[2].position, D3DXVECTOR3(-590.0f, 1624.0f, 0.0f));
    EXPECT_EQ(sprite.drawn[1].color, 0xFFFFFFFFu);
    // A long frame over 5.0 s goes straight to the fade-out level.
    EXPECT_EQ(levelsAt(5.5), (std::vector<int>{127, 127}));
    EXPECT_EQ(levelsAt(6.1), (std::vector<int>{0, 0}));
    EXPECT_EQ(levelsAt(30.0), (std::vector<int>{0, 0}));
    EXPECT_EQ(sprite.drawn[0].color, 0x00FFFFFFu);
}

// What every scene is checked for: each draw with the registers and
// textures it sees, in order; the camera path; what Stop gives up. The
// island mirrored, then as it is, the sea, the boat, and the sky dome last
// and whole with the view-projection alone and its own colour front; the
// screen target and the states the start-up set (and the sprite changed)
// handed back.
TEST_F(HatchToNormalTest, EveryDrawSeesItsRegistersAndTexturesFliesItsPathHandsBackStatesStopReleasesItsOwn) {
    ProbeSceneMeshes();
    g_demoState.meshes[2].materialCount = 4;
    g_demoState.meshes[3].materialCount = 3;
    ID3DXSprite* realSprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(device, &realSprite), D3D_OK);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    effect.Init();
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0 | D3DCLIPPLANE1);
    effect.Start(kStart + kFrame);
    ExpectFlies("Media//HatchToNormal.cp", kStart + kFrame);
    RenderAt(kStart + kFrame);

    const D3DXMATRIX& viewProjection = g_demoState.camera->viewProjection;
    ASSERT_EQ(DrawnMeshes(), (std::vector<std::string>{"island", "sea", "boat", "sky"}));
    ASSERT_EQ(seen.size(), 1u + 1u + 2u + 4u + 3u) << "each drawn whole, the island twice";
    const SeenDraw &mirror = seen[0], &island = seen[1], &sea = seen[2], &boat = seen[4], &sky = seen[8];
    const Mirel::XMeshObj& islandMesh = g_demoState.meshes[0];
    D3DXMATRIX mirrored;
    D3DXMatrixMultiply(&mirrored, &islandMesh.world, &effect.reflectionMatrix);
    EXPECT_EQ(mirror.Matrix(0), Times(mirrored, viewProjection));
    EXPECT_EQ(mirror.Matrix(4), islandMesh.worldInvTranspose);
    EXPECT_EQ(mirror.vertex[8], Eye());
    ExpectShaders(mirror, "vertex_base.cpp", "fragment_base.cpp");
    EXPECT_EQ(mirror.cull, static_cast<DWORD>(D3DCULL_CW));
    for (const SeenDraw* draw : {&mirror, &island})
        ExpectTextures(*draw, 0, {"Textures//island.jpg", "Textures//islandNormal.jpg", "Textures//shadowmap.tga"});
    for (const SeenDraw* draw : {&island, &sea, &boat}) {
        SCOPED_TRACE(draw->mesh);
        const Mirel::XMeshObj& mesh = g_demoState.meshes[draw == &island ? 0 : draw == &sea ? 1 : 2];
        EXPECT_EQ(draw->Matrix(0), Times(mesh.world, viewProjection));
        EXPECT_EQ(draw->Matrix(4), mesh.worldInvTranspose);
        EXPECT_EQ(draw->Matrix(8), mesh.world);
        EXPECT_EQ(draw->vertex[12], Eye());
        EXPECT_EQ(draw->vertex[13], effect.sceneParams);
        EXPECT_EQ(draw->pixel[0], effect.sceneParams);
    }
    ExpectShaders(island, "vertex_hatchtonormal.cpp", "fragment_hatchtonormal.cpp");
    ExpectTextures(island, 3, HatchTextures());
    ExpectShaders(sea, "vertex_water_hatchtonormal.cpp", "fragment_water_hatchtonormal.cpp");
    ExpectTextures(sea, 0, {"Textures//waves2.dds", "Textures//cubemap.dds"});
    EXPECT_EQ(sea.textures[2], effect.reflectionTexture) << "the sea reads the mirror image";
    ExpectTextures(sea, 3, {"Textures//Hatch1.dds", "Textures//hatch0.jpg", "Textures//hatch1.jpg"});
    ExpectShaders(boat, "vertex_base.cpp", "fragment_boat_shatter.cpp");
    ExpectTextures(boat, 0, {"Textures//Hatch4.dds"});
    EXPECT_EQ(sky.Matrix(0), viewProjection) << "the dome's world is not applied";
    EXPECT_EQ(sky.vertex[4], D3DXVECTOR4(effect.sceneParams.y, 0.0f, effect.sceneParams.x, 0.0f))
        << "the sky's own colour front, no clouds";
    ExpectShaders(sky, "vertex_skydome.cpp", "fragment_skydome.cpp");
    ExpectTextures(sky, 0, {"Textures//Sky02.jpg"});

    EXPECT_EQ(RenderState(D3DRS_CLIPPLANEENABLE), 0u);
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));
    EXPECT_TRUE(ScreenIsTarget());
    g_demoState.sprite = realSprite;
    RenderAt(kStart + 4.5);  // the words are up
    EXPECT_EQ(SamplerState(0, D3DSAMP_ADDRESSU), static_cast<DWORD>(D3DTADDRESS_MIRROR));
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(FALSE));
    g_demoState.sprite = &sprite;
    realSprite->Release();

    ExpectStopReleases(effect, {effect.sceneTarget1, effect.blurTarget, effect.reflectionTexture, effect.pixelState});
}

class HatchToNormalPicture : public HatchToNormalTest {
protected:
    HatchToNormalPicture() : HatchToNormalTest(D3D9Backend::OpenGL) {}
};

TEST_F(HatchToNormalPicture, MirroredIslandLiesBelowTheWaterLineAndNothingAboveTheSeaIsMirrored) {
    // An "island" wall standing 4 above the sea and reaching 4 below it.
    std::vector<D3DXVECTOR3> corners = Wall(-2.0f, 2.0f, -3.0f, 1.0f, 0.0f),
                             below = Wall(-2.0f, 2.0f, -7.0f, -3.0f, 0.0f);
    corners.insert(corners.end(), below.begin(), below.end());
    MeshHandle walls = Triangles(device, corners);
    ASSERT_NE(walls, nullptr);
    PutSceneMesh(0, walls.get(), 1);
    effect.Init();
    StartAt(kStart + kFrame);
    g_demoState.camera->followPath = false;
    g_demoState.camera->SetLookAt(D3DXVECTOR3(0.0f, 0.0f, -14.0f), D3DXVECTOR3(0.0f, -3.0f, 0.0f));
    g_demoState.camera->UpdateCamera(0.0);
    Frame(kStart + 2 * kFrame);

    // Alpha 0 where the mirrored island was drawn, opaque black elsewhere.
    Picture mirror = TestDevice::Read(effect.reflectionTexture);
    auto at = [&](float x, float y) {
        auto [column, row] = OnScreen(D3DXVECTOR3(x, y, 0.0f));
        return mirror.At(column, row);
    };
    EXPECT_EQ(at(0.0f, -4.0f) >> 24, 0u) << "the image of the wall 1 above the sea";
    EXPECT_EQ(at(0.0f, -6.5f) >> 24, 0u) << "and of its top";
    EXPECT_NE(at(0.0f, -1.0f) >> 24, 0u) << "the part under the sea, mirrored up, is cut away";
    EXPECT_NE(at(0.0f, 0.5f) >> 24, 0u);
    EXPECT_EQ(at(3.0f, -5.0f), 0xFF000000u) << "beside the wall: the clear colour";
}

// The glow as the composite lays it over a black picture: a bright column
// and a bright row spread by the nine-tap kernel across and down (the
// vertical blur, the horizontal blur reading its split target, and the
// composite's last read), at the glow's strength of 1.4 and centred on the
// line.
TEST_F(HatchToNormalPicture, GlowSpreadsABrightColumnAndRowByTheNineTapKernel) {
    effect.Init();
    StartAt(kStart + kFrame);
    SetTextureTarget(device, 0, g_demoState.screenTexture);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    SetTextureTarget(device, 0, effect.sceneTarget1);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    const D3DRECT column = {16, 0, 17, 48}, row = {32, 36, 64, 37};
    device->Clear(1, &column, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    device->Clear(1, &row, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    IDirect3DTexture9* backBuffer = gpu.RenderTarget(64, 48);
    SetTextureTarget(device, 0, backBuffer);

    // The frame's update sets the linear filter the blur taps rely on.
    effect.Update(0.0, kStart + kFrame);
    effect.PostProcess();
    Picture glow = TestDevice::Read(backBuffer);

    // Per texel from -6 to +6; each pass stores 8 bits.
    const double across[13] = {0, 0, 0.05, 0.1, 0.125, 0.15, 0.15, 0.15, 0.125, 0.1, 0.05, 0, 0};
    const double down[13] = {0, 0, 0.05, 0.125, 0.125, 0.125, 0.15, 0.125, 0.125, 0.125, 0.05, 0, 0};
    auto red = [&](int x, int y) { return static_cast<double>((glow.At(x, y) >> 16) & 0xFF); };
    for (int d = -6; d <= 6; ++d) {
        EXPECT_NEAR(red(16 + d, 10), 255.0 * 1.4 * across[d + 6], 2.0) << "across the column, " << d;
        EXPECT_NEAR(red(52, 36 + d), 255.0 * 1.4 * down[d + 6], 2.0) << "down from the row, " << d;
        EXPECT_EQ(glow.At(16 + d, 10) & 0xFF, (glow.At(16 + d, 10) >> 8) & 0xFF);
    }
}

// The radial pass alone over a picture 256 x 64, dark left of column 192 and
// bright from there: at strength 0 the picture passes unchanged; at the
// strongest each pixel also takes from up to 3 % of its way to the centre,
// so the bright edge is drawn outwards over a few columns and the dark side
// stays dark.
class RadialBlurPicture : public HatchToNormalTest {
protected:
    RadialBlurPicture() : HatchToNormalTest(D3D9Backend::OpenGL, 256, 64) {}
};

TEST_F(RadialBlurPicture, PassesThePictureAtZeroAndDrawsItOutwardsAtItsStrongest) {
    effect.Init();
    StartAt(kStart + kFrame);
    effect.Update(0.0, kStart + kFrame);  // the linear filter its samples rely on
    std::vector<uint32_t> texels(256 * 64);
    uint32_t seed = 7;
    for (size_t i = 0; i < texels.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        uint32_t grey = (i % 256 < 192 ? 0x10u : 0xD0u) + (seed >> 27);  // a grain of 0..31
        texels[i] = 0xFF000000u | grey * 0x010101u;
    }
    IDirect3DTexture9* picture = gpu.Texture(256, 64, texels);
    IDirect3DTexture9* target = gpu.RenderTarget(256, 64);
    Mirel::ResourceManager* resources = g_demoState.resources;
    auto radial = [&](float strength) {
        const float c0[4] = {strength, 0.0f, 0.0f, 0.0f};
        device->SetPixelShaderConstantF(0, c0, 1);
        device->SetTexture(0, picture);
        g_demoState.quad->Draw(target, device, resources->GetVertexShader("vertex_fs.cpp"),
                               resources->GetPixelShader("fragment_radial_blur.cpp"), true);
        return TestDevice::Read(target);
    };
    auto grey = [](const Picture& p, int x, int y) { return int(p.At(x, y) & 0xFF); };

    Picture still = radial(0.0f);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x) ASSERT_NEAR(grey(still, x, y), int(texels[size_t(y) * 256 + x] & 0xFF), 1) << x;

    Picture rushed = radial(-0.2f);
    for (int y = 8; y < 56; y += 8) {
        EXPECT_LT(grey(rushed, 186, y), 0x10 + 32) << "the dark side stays dark";
        EXPECT_LT(grey(rushed, 192, y), 0xD0 - 16) << "the first bright column takes from the dark";
        EXPECT_GT(grey(rushed, 192, y), 0x10 + 32);
        EXPECT_GT(grey(rushed, 200, y), 0xD0 - 2) << "past the reach: bright";
    }
}

}  // namespace
