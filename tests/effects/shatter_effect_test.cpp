// The breaking yacht: the per-vertex walk against the front, the fade's
// timing and amounts, the order of the passes and the states they leave,
// the scene without its reflection texture, and on the headless OpenGL
// device the mirror image the sea reads.
#include "effects/shatter_effect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "effects/shatter_mesh.h"
#include "render/release_interface.h"
#include "platform/win32/win32_platform.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "tests/support/effect_fixture.h"

namespace {

using Mirel::ShatterEffect;

constexpr double kStart = 73.0;

struct MeshVertex {
    float position[3], normal[3], uv[2], tangent[3], binormal[3];
};

// A mesh in the scene meshes' layout: one small triangle (its own three
// vertices, facing -z) at each of `heights`, all three corners at that height.
ID3DXMesh* TrianglesAt(IDirect3DDevice9* device, const std::vector<float>& heights) {
    ID3DXMesh* mesh = nullptr;
    const DWORD faces = static_cast<DWORD>(heights.size());
    if (FAILED(D3DXCreateMesh(faces, 3 * faces, D3DXMESH_MANAGED | D3DXMESH_32BIT, kMeshVertexDeclaration, device,
                              &mesh)))
        return nullptr;
    MeshVertex* v = nullptr;
    DWORD* indices = nullptr;
    mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&v));
    mesh->LockIndexBuffer(0, reinterpret_cast<void**>(&indices));
    for (DWORD f = 0; f < faces; ++f) {
        const float x = static_cast<float>(f);
        const float corners[3][2] = {{x, 0.0f}, {x + 0.5f, 0.0f}, {x, 0.5f}};
        for (DWORD k = 0; k < 3; ++k) {
            v[3 * f + k] = {{corners[k][0], heights[f], corners[k][1]}, {0, 0, -1}, {0, 0}, {1, 0, 0}, {0, 1, 0}};
            indices[3 * f + k] = 3 * f + k;
        }
    }
    mesh->UnlockIndexBuffer();
    mesh->UnlockVertexBuffer();
    return mesh;
}

std::vector<ShatterVertex> Vertices(ID3DXMesh* mesh) {
    void* data = nullptr;
    std::vector<ShatterVertex> out(mesh->GetNumVertices());
    if (SUCCEEDED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data))) {
        std::copy_n(static_cast<ShatterVertex*>(data), out.size(), out.begin());
        mesh->UnlockVertexBuffer();
    }
    return out;
}

// Notes the order in which meshes are drawn (one entry for each run of
// subsets of one mesh), and the texture on stage 2 at the start of each run.
struct DrawOrder {
    std::vector<std::string> names;
    std::vector<IDirect3DBaseTexture9*> stage2;
};
struct NamedMesh : FakeMesh {
    NamedMesh(const char* name_, DrawOrder& order_, IDirect3DDevice9* device_)
        : name(name_), order(order_), device(device_) {}
    HRESULT DrawSubset(DWORD attribId) override {
        if (order.names.empty() || order.names.back() != name) {
            IDirect3DBaseTexture9* texture = nullptr;
            device->GetTexture(2, &texture);
            if (texture) texture->Release();
            order.names.push_back(name);
            order.stage2.push_back(texture);
        }
        return FakeMesh::DrawSubset(attribId);
    }
    std::string name;
    DrawOrder& order;
    IDirect3DDevice9* device;
};

class ShatterEffectTest : public EffectFixture {
protected:
    void SetUp() override {
        EffectFixture::SetUp();
        g_demoState.meshes.assign(7, Mirel::XMeshObj(MeshRecord{}));
        g_demoState.time = kStart;
        effect.startTime = kStart;
        effect.endTime = 90.0;
    }
    void TearDown() override {
        effect.Stop();
        if (boat) boat->Release();
        EffectFixture::TearDown();
    }
    void UseBoat(const std::vector<float>& heights) {
        boat = TrianglesAt(device, heights);
        g_demoState.meshes[2].mesh = boat;
        g_demoState.meshes[2].materialCount = 1;
    }
    IDirect3DPixelShader9* PixelShader() {
        IDirect3DPixelShader9* shader = nullptr;
        device->GetPixelShader(&shader);
        if (shader) shader->Release();
        return shader;
    }

    ID3DXMesh* boat = nullptr;
    ShatterEffect effect{&g_demoState};
};

TEST_F(ShatterEffectTest, InitSetsTheFrontTheMirrorAndOneFadeCueAndStartFliesTheShatterPath) {
    UseBoat({1.0f});
    device->SetSamplerState(1, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    effect.Init();
    DWORD value = 0;
    device->GetSamplerState(1, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_LINEAR));
    EXPECT_EQ(effect.shatterFront, 14.0f);
    ASSERT_EQ(effect.triggers.size(), 1u);
    EXPECT_EQ(effect.triggers[0].id, 0);
    EXPECT_EQ(effect.triggers[0].delay, 14.0);
    D3DXVECTOR3 above(2.0f, 5.0f, -1.0f), mirrored;
    D3DXVec3TransformCoord(&mirrored, &above, &effect.reflectionMatrix);
    EXPECT_NEAR(mirrored.x, 2.0f, 1e-5f);
    EXPECT_NEAR(mirrored.y, -11.0f, 1e-5f);  // -y - 6
    EXPECT_NEAR(mirrored.z, -1.0f, 1e-5f);
    ASSERT_NE(effect.shatterMesh, nullptr);
    EXPECT_EQ(effect.shatterMesh->GetNumBytesPerVertex(), 88u);
    ASSERT_NE(effect.reflectionTexture, nullptr);

    StartAt(effect, kStart + 0.1);
    Camera& camera = *g_demoState.camera;
    EXPECT_TRUE(camera.followPath);
    EXPECT_EQ(camera.path, g_demoState.resources->GetCameraPath("Media//Shatter.cp"));
    ASSERT_NE(camera.path, nullptr);
    EXPECT_FALSE(camera.path->loop);
    EXPECT_EQ(camera.pathStartTime, kStart + 0.1);
    EXPECT_FLOAT_EQ(effect.timeVector.x, static_cast<float>(kStart + 0.1));
    EXPECT_FLOAT_EQ(effect.localTime, 0.1f);

    effect.Stop();
    EXPECT_EQ(effect.reflectionTexture, nullptr);
    EXPECT_EQ(effect.shatterMesh, nullptr);
}

TEST_F(ShatterEffectTest, OnlyVerticesStrictlyAboveTheFrontAdvanceByTwoAndAThousandTimesTheFrameTime) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Exactly at the front after a first frame of 0.5 s, above it, below the
    // water line, and not a number.
    UseBoat({13.5f, 13.75f, -3.5f, nan});
    effect.Init();
    StartAt(effect, kStart + 0.5);
    ASSERT_EQ(effect.shatterFront, 13.5f);
    std::vector<ShatterVertex> v = Vertices(effect.shatterMesh);
    ASSERT_EQ(v.size(), 12u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(v[k].centroid.w, 0.0f) << "at the front";
        EXPECT_EQ(v[k].random.w, 0.0f);
        EXPECT_FLOAT_EQ(v[3 + k].centroid.w, 1.0f) << "above the front";
        EXPECT_FLOAT_EQ(v[3 + k].random.w, 500.0f);
    }

    Frame(effect, kStart + 0.5);  // a frame of no time
    std::vector<ShatterVertex> still = Vertices(effect.shatterMesh);
    for (size_t i = 0; i < v.size(); ++i) {
        EXPECT_EQ(still[i].centroid.w, v[i].centroid.w);
        EXPECT_EQ(still[i].random.w, v[i].random.w);
    }

    for (double time = kStart + 0.6; time < 90.05; time += 0.1) Frame(effect, time);
    EXPECT_LT(effect.shatterFront, -3.0f);
    v = Vertices(effect.shatterMesh);
    for (int k = 0; k < 3; ++k) {
        EXPECT_GT(v[k].centroid.w, 0.0f) << "passed later";
        EXPECT_EQ(v[6 + k].centroid.w, 0.0f) << "below the water line";
        EXPECT_EQ(v[6 + k].random.w, 0.0f);
        EXPECT_EQ(v[9 + k].centroid.w, 0.0f) << "not a number";
        EXPECT_EQ(v[9 + k].random.w, 0.0f);
    }
    // Progress runs at 2 and spin at 1000 a second, frame by frame, from the
    // frame whose front first lay below the vertex (the first, of 0.5 s).
    EXPECT_NEAR(v[3].centroid.w, 2.0f * (0.5f + 13.5f - effect.shatterFront), 1e-2f);
    EXPECT_NEAR(v[3].random.w, 1000.0f * (0.5f + 13.5f - effect.shatterFront), 5.0f);
}

TEST_F(ShatterEffectTest, PlainCopyUntilTheCueThenHalfAQuarterSecondInAndExactlyOneAboveTheCutOff) {
    UseBoat({1.0f});
    effect.Init();
    Mirel::ResourceManager& resources = *g_demoState.resources;
    IDirect3DPixelShader9* copy = resources.GetPixelShader("fragment_fs.cpp");
    IDirect3DPixelShader9* fade = resources.GetPixelShader("fragment_fade_out.cpp");
    ASSERT_TRUE(copy && fade);
    const double armedAt = kStart + 1.0 / 30;
    StartAt(effect, armedAt);
    EXPECT_EQ(PixelShader(), copy);
    Frame(effect, armedAt + 14.0);  // not strictly past the delay
    EXPECT_EQ(PixelShader(), copy);

    auto amountAt = [&](double after) {
        Frame(effect, armedAt + 14.0 + after);
        EXPECT_EQ(PixelShader(), fade);
        float colour[4] = {1, 1, 1, 1}, amount[4] = {};
        device->GetPixelShaderConstantF(0, colour, 1);
        device->GetPixelShaderConstantF(1, amount, 1);
        EXPECT_EQ(colour[0] + colour[1] + colour[2] + colour[3], 0.0f) << "to black";
        return amount[0];
    };
    EXPECT_NEAR(amountAt(0.1), 0.2f, 1e-5f);
    EXPECT_FLOAT_EQ(amountAt(0.25), 0.5f);
    EXPECT_EQ(effect.FadeAmount(armedAt + 14.0 + 0.4995), 0.999f);  // not above the cut-off
    EXPECT_EQ(amountAt(0.49975), 1.0f);                             // 0.9995: exactly one
    EXPECT_EQ(amountAt(2.0), 1.0f);
}

TEST_F(ShatterEffectTest, MirrorThenSeaThenYachtThenTheWholeDomeAndStatesPutBack) {
    DrawOrder order;
    NamedMesh sea("sea", order, device), yacht("yacht", order, device), sky("sky", order, device);
    UseBoat({1.0f});
    g_demoState.meshes[1].mesh = &sea;
    g_demoState.meshes[1].materialCount = 1;
    g_demoState.meshes[2].materialCount = 4;
    g_demoState.meshes[3].mesh = &sky;
    g_demoState.meshes[3].materialCount = 3;
    effect.Init();
    effect.shatterMesh->Release();
    effect.shatterMesh = &yacht;  // the clone's draws, noted

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0 | D3DCLIPPLANE1);
    StartAt(effect, kStart + 0.5);

    EXPECT_EQ(order.names, (std::vector<std::string>{"yacht", "sea", "yacht", "sky"}));
    EXPECT_EQ(yacht.subsetsDrawn, (std::vector<DWORD>{0, 1, 2, 3, 0, 1, 2, 3}));
    EXPECT_EQ(sky.subsetsDrawn, (std::vector<DWORD>{0, 1, 2}));
    EXPECT_EQ(order.stage2[1], effect.reflectionTexture) << "the sea reads the mirror image";

    DWORD value = 0;
    device->GetRenderState(D3DRS_CLIPPLANEENABLE, &value);
    EXPECT_EQ(value, 0u);
    device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DCULL_CCW));
    // Render draws the mirror into its own texture and hands back the screen.
    IDirect3DSurface9* screen = nullptr;
    IDirect3DSurface9* target = nullptr;
    g_demoState.screenTexture->GetSurfaceLevel(0, &screen);
    device->SetRenderTarget(0, screen);
    effect.Render();
    device->GetRenderTarget(0, &target);
    EXPECT_EQ(target, screen);
    ReleaseInterface(target);
    ReleaseInterface(screen);
    effect.shatterMesh = nullptr;
}

TEST_F(ShatterEffectTest, WithoutItsReflectionTextureTheSceneDrawsNoMirrorAndTheSeaReadsNoTexture) {
    DrawOrder order;
    NamedMesh sea("sea", order, device), yacht("yacht", order, device);
    UseBoat({1.0f});
    g_demoState.meshes[1].mesh = &sea;
    g_demoState.meshes[1].materialCount = 1;
    Mirel::ResourceManager& resources = *g_demoState.resources;
    for (const char* name : {"Textures//island.jpg", "Textures//islandNormal.jpg", "Textures//shadowmap.tga",
                             "Textures//clouds1.tga"})
        resources.GetTexture(name);
    const int boxes = Win32_MessageBoxCount();
    D3D9_RefuseCalls(device, "CreateTexture", 1);
    effect.Init();
    EXPECT_EQ(effect.reflectionTexture, nullptr);
    EXPECT_EQ(Win32_MessageBoxCount(), boxes + 1);
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error creating screen texture");
    EXPECT_STREQ(Win32_LastMessageBoxCaption(), "Error!");
    ASSERT_NE(effect.shatterMesh, nullptr) << "the rest of Init goes on";
    effect.shatterMesh->Release();
    effect.shatterMesh = &yacht;

    device->SetTexture(2, g_demoState.screenTexture);
    StartAt(effect, kStart + 0.5);
    ClearCalls();
    Frame(effect, kStart + 0.6);
    // Two frames, each the sea and the yacht, no mirror.
    EXPECT_EQ(order.names, (std::vector<std::string>{"sea", "yacht", "sea", "yacht"}));
    EXPECT_EQ(order.stage2[0], nullptr);
    EXPECT_EQ(order.stage2[2], nullptr);
    const int frameClear = FindCall("Clear(");
    ASSERT_NE(frameClear, -1);
    EXPECT_EQ(FindCall("Clear(", frameClear + 1), -1) << "only the frame's own clear, no mirror cleared";
    effect.shatterMesh = nullptr;
}

// A wall at the yacht's mooring from x = 4 to 8 and y = -3 to 1 in the
// plane z = 42, as two triangles of their own.
ID3DXMesh* Wall(IDirect3DDevice9* device) {
    ID3DXMesh* mesh = nullptr;
    if (FAILED(D3DXCreateMesh(2, 6, D3DXMESH_MANAGED | D3DXMESH_32BIT, kMeshVertexDeclaration, device, &mesh)))
        return nullptr;
    MeshVertex* v = nullptr;
    DWORD* indices = nullptr;
    mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&v));
    mesh->LockIndexBuffer(0, reinterpret_cast<void**>(&indices));
    const float corners[6][2] = {{4, 1}, {8, 1}, {8, -3}, {4, 1}, {8, -3}, {4, -3}};
    for (DWORD i = 0; i < 6; ++i) {
        v[i] = {{corners[i][0], corners[i][1], 42.0f}, {0, 0, -1}, {0, 0}, {1, 0, 0}, {0, 1, 0}};
        indices[i] = i;
    }
    mesh->UnlockIndexBuffer();
    mesh->UnlockVertexBuffer();
    return mesh;
}

class ShatterPicture : public EffectFixture {
protected:
    ShatterPicture() : EffectFixture(D3D9Backend::OpenGL, 64, 48) {}
    void TearDown() override {
        effect.Stop();
        if (wall) wall->Release();
        EffectFixture::TearDown();
    }
    // Pixel of a world point on the 64 x 48 target.
    static std::pair<int, int> OnScreen(const D3DXVECTOR3& point) {
        D3DXVECTOR3 clip;
        D3DXVec3TransformCoord(&clip, &point, &g_demoState.camera->viewProjection);
        return {static_cast<int>((clip.x + 1.0f) * 32.0f), static_cast<int>((1.0f - clip.y) * 24.0f)};
    }
    ID3DXMesh* wall = nullptr;
    ShatterEffect effect{&g_demoState};
};

TEST_F(ShatterPicture, TheMirrorHoldsTheYachtBelowTheWaterLineMarkedForTheSeaAndNothingElse) {
    g_demoState.meshes.assign(7, Mirel::XMeshObj(MeshRecord{}));
    wall = Wall(device);
    ASSERT_NE(wall, nullptr);
    g_demoState.meshes[2].mesh = wall;
    g_demoState.meshes[2].materialCount = 1;
    g_demoState.time = kStart;
    effect.startTime = kStart;
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
