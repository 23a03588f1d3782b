// The colour scene: its cues (sweep speed, radial strength, word fades) on
// the recording device, the states its passes leave behind, and two pictures
// on the headless OpenGL device: the island mirrored in the sea and the glow
// blur's kernel.
#include "effects/hatch_to_normal_effect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/effect_helpers.h"
#include "render/quad.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"
#include "tests/support/effect_fixture.h"

namespace {

using Mirel::HatchToNormalEffect;

constexpr double kStart = 33.5;
constexpr double kFrame = 1.0 / 30;

// Reads the vertex registers c0-c3 at the moment each subset is drawn.
struct ConstantsAtDraw : FakeMesh {
    IDirect3DDevice9* device = nullptr;
    std::vector<D3DXMATRIX> registers0to3;
    HRESULT DrawSubset(DWORD attribId) override {
        D3DXMATRIX m;
        device->GetVertexShaderConstantF(0, m, 4);
        registers0to3.push_back(m);
        return FakeMesh::DrawSubset(attribId);
    }
};

// The scene on the shared fixture, with seven empty scene meshes (tests put
// their own in) and the frame before the scene as the last one.
class HatchToNormalTest : public EffectFixture {
protected:
    explicit HatchToNormalTest(D3D9Backend backend = D3D9Backend::Recording) : EffectFixture(backend) {}
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
        IDirect3DSurface9* screen = nullptr;
        g_demoState.screenTexture->GetSurfaceLevel(0, &screen);
        device->SetRenderTarget(0, screen);
        screen->Release();
        g_demoState.frameDelta = time - g_demoState.time;
        g_demoState.time = time;
        g_demoState.camera->UpdateCamera(time);
        effect.Update(g_demoState.frameDelta, time);
        effect.Render();
    }
    IDirect3DPixelShader9* CurrentPixelShader() {
        IDirect3DPixelShader9* shader = nullptr;
        device->GetPixelShader(&shader);
        if (shader) shader->Release();
        return shader;
    }

    HatchToNormalEffect effect{&g_demoState};
};

TEST_F(HatchToNormalTest, StartBindsThePathSwitchesTheSpectrumOffAndSweepsFromMinus70) {
    effect.Init();
    EXPECT_FLOAT_EQ(effect.sceneParams.y, -70.0f);
    EXPECT_FLOAT_EQ(effect.waterPlane.b, -1.0f);
    EXPECT_FLOAT_EQ(effect.waterPlane.d, -3.0f);
    D3DXVECTOR3 above(1.0f, 2.0f, 5.0f), mirrored;
    D3DXVec3TransformCoord(&mirrored, &above, &effect.reflectionMatrix);
    EXPECT_NEAR(mirrored.y, -8.0f, 1e-5f);  // 5 above the sea becomes 5 below
    StartAt(kStart + kFrame);
    EXPECT_TRUE(g_demoState.camera->followPath);
    EXPECT_EQ(g_demoState.camera->path, g_demoState.resources->GetCameraPath("Media//HatchToNormal.cp"));
    EXPECT_FALSE(g_demoState.music->spectrumEnabled);
    EXPECT_FLOAT_EQ(effect.sceneParams.x, static_cast<float>(kStart + kFrame));
    EXPECT_FLOAT_EQ(effect.sceneParams.y, -70.0f + static_cast<float>(kFrame) * 10.0f);
}

TEST_F(HatchToNormalTest, SweepRuns32AndRadialRouteIsTakenInTheFrameTrigger3Fires) {
    effect.Init();
    IDirect3DPixelShader9* radial = g_demoState.resources->GetPixelShader("fragment_radial_blur.cpp");
    IDirect3DPixelShader9* composite = g_demoState.resources->GetPixelShader("fragment_hatchtonormal_fs.cpp");
    ASSERT_NE(radial, nullptr);
    StartAt(kStart);
    double time = kStart;
    while (true) {
        time += kFrame;
        float before = effect.sceneParams.y;
        bool firedBefore = effect.triggers[3].fired;
        Frame(time);
        float step = effect.sceneParams.y - before;
        if (!firedBefore && effect.triggers[3].fired) {
            EXPECT_NEAR(step, static_cast<float>(kFrame) * 32.0f, 1e-3f);
            EXPECT_EQ(CurrentPixelShader(), radial);
            break;
        }
        ASSERT_NEAR(step, static_cast<float>(kFrame) * 10.0f, 1e-3f) << "at " << time;
        ASSERT_EQ(CurrentPixelShader(), composite);
        ASSERT_LT(time, kStart + 19.0);
    }
    EXPECT_GT(time - kStart, 18.0);
    EXPECT_FLOAT_EQ(HatchToNormalEffect::sweepSpeed, 32.0f);
}

TEST_F(HatchToNormalTest, RadialStrengthSwingsToMinusPointTwoAndBackToZeroWithinOneFrame) {
    effect.Init();
    StartAt(kStart);
    // Uneven frames, the longest 1/12 s.
    const double steps[] = {1.0 / 12, 1.0 / 45, 1.0 / 30, 1.0 / 20};
    double time = kStart;
    float lowest = 0.0f;
    float heldAt = 1.0f;
    for (int i = 0; time < kStart + 39.45; ++i) {
        time += steps[i % 4];
        Frame(time);
        lowest = std::min(lowest, effect.radialAmount);
        if (time - kStart < 18.0) {
            ASSERT_EQ(effect.radialAmount, 0.0f);
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
    EXPECT_EQ(levelsAt(2.5), (std::vector<int>{255, 0}));
    EXPECT_EQ(levelsAt(3.5), (std::vector<int>{255, 127}));
    EXPECT_EQ(levelsAt(4.6), (std::vector<int>{255, 255}));
    // The words are drawn at their levels: "then", "there is", "a colour".
    ASSERT_EQ(sprite.drawn.size(), 3u);
    EXPECT_EQ(sprite.calls.front(), "Begin(21)");
    EXPECT_EQ(sprite.drawn[0].position, D3DXVECTOR3(-1512.0f, 1512.0f, 0.0f));
    EXPECT_EQ(sprite.drawn[2].position, D3DXVECTOR3(-590.0f, 1624.0f, 0.0f));
    EXPECT_EQ(sprite.drawn[1].color, 0xFFFFFFFFu);
    // A long frame over 5.0 s goes straight to the fade-out level.
    EXPECT_EQ(levelsAt(5.5), (std::vector<int>{127, 127}));
    EXPECT_EQ(levelsAt(6.1), (std::vector<int>{0, 0}));
    EXPECT_EQ(levelsAt(30.0), (std::vector<int>{0, 0}));
    EXPECT_EQ(sprite.drawn[0].color, 0x00FFFFFFu);
}

TEST_F(HatchToNormalTest, RenderLeavesClipPlaneOffCullingCounterClockwiseAndTheScreenTargets) {
    effect.Init();
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0 | D3DCLIPPLANE1);
    effect.Start(kStart + kFrame);
    RenderAt(kStart + kFrame);
    DWORD value = 0;
    device->GetRenderState(D3DRS_CLIPPLANEENABLE, &value);
    EXPECT_EQ(value, 0u);
    device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DCULL_CCW));
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* screen = nullptr;
    device->GetRenderTarget(0, &target);
    g_demoState.screenTexture->GetSurfaceLevel(0, &screen);
    EXPECT_EQ(target, screen);
    target->Release();
    screen->Release();
    target = nullptr;
    device->GetRenderTarget(1, &target);
    EXPECT_EQ(target, nullptr);
}

TEST_F(HatchToNormalTest, PixelStateBlockPutsBackWhatTheWordsAndSamplerSetUpChanged) {
    ID3DXSprite* realSprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(device, &realSprite), D3D_OK);
    g_demoState.sprite = realSprite;
    // Start-up states the scene must hand back to the post passes.
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetSamplerState(4, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    effect.Init();
    effect.Start(kStart + 4.5);
    RenderAt(kStart + 4.5);  // the words are up

    DWORD value = 0;
    device->GetSamplerState(0, D3DSAMP_ADDRESSU, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTADDRESS_MIRROR));
    device->GetSamplerState(0, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_POINT));
    device->GetSamplerState(4, D3DSAMP_MINFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_POINT));
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
    EXPECT_EQ(value, static_cast<DWORD>(FALSE));
    device->GetRenderState(D3DRS_ALPHATESTENABLE, &value);
    EXPECT_EQ(value, static_cast<DWORD>(FALSE));

    // Without the block the sprite's states would still be in force.
    effect.pixelState->Release();
    effect.pixelState = nullptr;
    RenderAt(kStart + 4.6);
    device->GetSamplerState(0, D3DSAMP_ADDRESSU, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTADDRESS_CLAMP));
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
    EXPECT_EQ(value, static_cast<DWORD>(TRUE));
    realSprite->Release();
}

TEST_F(HatchToNormalTest, SkyDomeIsDrawnWholeWithTheViewProjectionAloneAndOnlyTheIslandIsMirrored) {
    ConstantsAtDraw sky, island, sea, boat;
    sky.device = island.device = sea.device = boat.device = device;
    ConstantsAtDraw* meshes[4] = {&island, &sea, &boat, &sky};
    const uint32_t subsets[4] = {1, 1, 4, 3};
    for (size_t i = 0; i < 4; ++i) {
        g_demoState.meshes[i].mesh = meshes[i];
        g_demoState.meshes[i].materialCount = subsets[i];
    }
    effect.Init();
    StartAt(kStart + 2.0);

    EXPECT_EQ(sky.subsetsDrawn, (std::vector<DWORD>{0, 1, 2}));
    D3DXMATRIX expected;
    D3DXMatrixTranspose(&expected, &g_demoState.camera->viewProjection);
    for (const D3DXMATRIX& m : sky.registers0to3) EXPECT_EQ(m, expected);
    EXPECT_EQ(boat.subsetsDrawn, (std::vector<DWORD>{0, 1, 2, 3}));
    EXPECT_EQ(sea.subsetsDrawn.size(), 1u);
    // The island twice: mirrored, then as it is.
    ASSERT_EQ(island.subsetsDrawn.size(), 2u);
    D3DXMATRIX mirrored;
    D3DXMatrixMultiply(&mirrored, &effect.reflectionMatrix, &g_demoState.camera->viewProjection);
    D3DXMatrixTranspose(&expected, &mirrored);
    EXPECT_EQ(island.registers0to3[0], expected);
    D3DXMatrixTranspose(&expected, &g_demoState.camera->viewProjection);
    EXPECT_EQ(island.registers0to3[1], expected);
}

// A mesh in the scenes' vertex layout: one square per entry of `walls`, in
// the plane z = 0 from x = -2 to 2 and y = bottom to top, facing -z (wound
// clockwise as the camera at -z sees it).
ID3DXMesh* Walls(IDirect3DDevice9* device, std::initializer_list<std::pair<float, float>> walls) {
    struct Vertex {
        float position[3], normal[3], uv[2], tangent[3], binormal[3];
    };
    ID3DXMesh* mesh = nullptr;
    const DWORD count = static_cast<DWORD>(walls.size());
    if (FAILED(D3DXCreateMesh(2 * count, 4 * count, D3DXMESH_MANAGED | D3DXMESH_32BIT, kMeshVertexDeclaration,
                              device, &mesh)))
        return nullptr;
    Vertex* vertices = nullptr;
    DWORD* indices = nullptr;
    DWORD* attributes = nullptr;
    mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices));
    mesh->LockIndexBuffer(0, reinterpret_cast<void**>(&indices));
    mesh->LockAttributeBuffer(0, &attributes);
    DWORD k = 0;
    for (const auto& [bottom, top] : walls) {
        const float corners[4][2] = {{-2, top}, {2, top}, {2, bottom}, {-2, bottom}};
        for (DWORD i = 0; i < 4; ++i)
            vertices[4 * k + i] = {{corners[i][0], corners[i][1], 0}, {0, 0, -1}, {0.5f, 0.5f}, {1, 0, 0}, {0, 1, 0}};
        const DWORD quad[6] = {0, 1, 2, 0, 2, 3};
        for (DWORD i = 0; i < 6; ++i) indices[6 * k + i] = 4 * k + quad[i];
        attributes[2 * k] = attributes[2 * k + 1] = 0;
        ++k;
    }
    mesh->UnlockAttributeBuffer();
    mesh->UnlockIndexBuffer();
    mesh->UnlockVertexBuffer();
    return mesh;
}

class HatchToNormalPicture : public HatchToNormalTest {
protected:
    HatchToNormalPicture() : HatchToNormalTest(D3D9Backend::OpenGL) {}
    // Pixel of a world point on the 64 x 48 target.
    static std::pair<int, int> OnScreen(const D3DXVECTOR3& point) {
        D3DXVECTOR3 clip;
        D3DXVec3TransformCoord(&clip, &point, &g_demoState.camera->viewProjection);
        return {static_cast<int>((clip.x + 1.0f) * 32.0f), static_cast<int>((1.0f - clip.y) * 24.0f)};
    }
};

TEST_F(HatchToNormalPicture, MirroredIslandLiesBelowTheWaterLineAndNothingAboveTheSeaIsMirrored) {
    // An "island" wall standing 4 above the sea and reaching 4 below it.
    ID3DXMesh* walls = Walls(device, {{-3.0f, 1.0f}, {-7.0f, -3.0f}});
    ASSERT_NE(walls, nullptr);
    g_demoState.meshes[0].mesh = walls;
    g_demoState.meshes[0].materialCount = 1;
    effect.Init();
    StartAt(kStart + kFrame);
    g_demoState.camera->followPath = false;
    g_demoState.camera->SetLookAt(D3DXVECTOR3(0.0f, 0.0f, -14.0f), D3DXVECTOR3(0.0f, -3.0f, 0.0f));
    g_demoState.camera->UpdateCamera(0.0);
    Frame(kStart + 2 * kFrame);

    // Alpha 0 where the mirrored island was drawn, opaque black elsewhere.
    Picture mirror = TestDevice::Read(effect.reflectionTexture);
    auto drawn = [&](float y) {
        auto [x, row] = OnScreen(D3DXVECTOR3(0.0f, y, 0.0f));
        return (mirror.At(x, row) >> 24) == 0;
    };
    EXPECT_TRUE(drawn(-4.0f));   // the image of the wall 1 above the sea
    EXPECT_TRUE(drawn(-6.5f));   // and of its top
    EXPECT_FALSE(drawn(-1.0f));  // the part under the sea, mirrored up, is cut away
    EXPECT_FALSE(drawn(0.5f));
    auto [x, row] = OnScreen(D3DXVECTOR3(3.0f, -5.0f, 0.0f));
    EXPECT_EQ(mirror.At(x, row), 0xFF000000u);  // beside the wall: the clear colour
    walls->Release();
}

TEST_F(HatchToNormalPicture, GlowBlurSpreadsOneBrightTexelByTheNineTapKernel) {
    effect.Init();
    StartAt(kStart + kFrame);
    IDirect3DSurface9* glow = nullptr;
    effect.sceneTarget1->GetSurfaceLevel(0, &glow);
    device->SetRenderTarget(0, glow);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    const D3DRECT texel = {30, 20, 31, 21};
    device->Clear(1, &texel, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    glow->Release();
    IDirect3DSurface9* backBuffer = nullptr;
    gpu.RenderTarget(64, 48)->GetSurfaceLevel(0, &backBuffer);
    device->SetRenderTarget(0, backBuffer);
    backBuffer->Release();

    effect.PostProcess();
    Picture blurred = TestDevice::Read(effect.sceneTarget1);

    // Per texel from the centre out: 0.12, 0.10, 0.10, 0.07, 0.07, 0.035,
    // 0.035, 0.015, 0.015; the vertical pass is stored in 8 bits first.
    const double kernel[9] = {0.12, 0.10, 0.10, 0.07, 0.07, 0.035, 0.035, 0.015, 0.015};
    for (int dy = -9; dy <= 9; ++dy)
        for (int dx = -9; dx <= 9; ++dx) {
            double down = std::abs(dy) <= 8 ? std::round(255.0 * kernel[std::abs(dy)]) : 0.0;
            double expected = std::abs(dx) <= 8 ? down * kernel[std::abs(dx)] : 0.0;
            uint32_t pixel = blurred.At(30 + dx, 20 + dy);
            EXPECT_NEAR(static_cast<double>((pixel >> 16) & 0xFF), expected, 1.0) << dx << ", " << dy;
            EXPECT_EQ((pixel >> 16) & 0xFF, pixel & 0xFF);
        }
}

}  // namespace
