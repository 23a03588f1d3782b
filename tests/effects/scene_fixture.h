// A demo state for the scene tests that draw the island and the sea: a test
// device on either backend, the resource manager over build/data.pak (the
// tests run in the build folder), the quad, the camera, a silent music player,
// a recording sprite, the window's size, the screen texture with a depth
// surface, and the seven scene meshes: recording doubles on the recording
// backend, the meshes of the pack on OpenGL.
//
//   class MySceneTest : public SceneFixture {
//   protected:
//       MySceneTest() : SceneFixture(D3D9Backend::Recording) {}
//       Mirel::HandDrawEffect effect{&g_demoState};
//   };
//   TEST_F(MySceneTest, ...) { effect.Init(); StartAt(effect, 10.6); Frame(effect, 10.7); ... }
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/fmod/fmod.hpp"
#include "render/graphics.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "scene/mesh_object.h"
#include "shell/demo_state.h"
#include "shell/system.h"
#include "sound/music_player.h"
#include "tests/effects/fakes.h"
#include "tests/support/test_device.h"
#include "timeline/effect.h"

class SceneFixture : public ::testing::Test {
protected:
    SceneFixture(D3D9Backend backend_, UINT width_ = 64, UINT height_ = 48)
        : backend(backend_), width(width_), height(height_), gpu(backend_, width_, height_) {}

    void SetUp() override {
        if (backend == D3D9Backend::OpenGL && !gpu) GTEST_SKIP() << gpu.Error();
        ASSERT_TRUE(gpu) << gpu.Error();
        device = gpu.Get();
        DemoState& s = g_demoState;
        s.device = device;
        s.resources = new Mirel::ResourceManager(device);
        g_resourceManager = s.resources;
        s.quad = new Quad(1.0f / float(width), 1.0f / float(height));
        s.music = new MusicPlayer();
        s.camera = new Camera();
        s.sprite = &sprite;
        window.width = int32_t(width);
        window.height = int32_t(height);
        s.system = &window;
        s.time = 0.0;
        s.frameDelta = 0.0;
        s.screenTexture = gpu.RenderTarget(width, height);
        device->CreateDepthStencilSurface(width, height, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE, &s.screenDepth,
                                          nullptr);
        for (size_t i = 0; i < kMeshFiles.size(); ++i) {
            if (backend == D3D9Backend::Recording) {
                MeshRecord record;
                record.mesh = &fakeMeshes[i];
                record.materialCount = i == 0 ? 1 : 2;
                s.meshes.emplace_back(record);
            } else {
                s.meshes.emplace_back(GetMesh(kMeshFiles[i]));
            }
            s.meshes.back().UpdateTransform();
        }
    }

    void TearDown() override {
        DemoState& s = g_demoState;
        s.meshes.clear();
        if (s.screenDepth) s.screenDepth->Release();
        s.screenDepth = nullptr;
        s.screenTexture = nullptr;  // released with the test device
        delete s.camera;
        delete s.quad;
        delete s.resources;
        if (s.music) {
            s.music->system->release();
            delete s.music;
        }
        s.camera = nullptr;
        s.quad = nullptr;
        s.resources = nullptr;
        g_resourceManager = nullptr;
        s.music = nullptr;
        s.sprite = nullptr;
        s.system = nullptr;
        s.device = nullptr;
    }

    // One frame of an effect that is the only one running, as the frame loop
    // drives it: the clock, the camera, Start in the effect's first frame,
    // Update and Render into the screen texture (cleared white), then
    // PostProcess onto the back buffer.
    void StartAt(Mirel::Effect& effect, double time) {
        Advance(time);
        effect.Start(time);
        effect.started = true;
        Draw(effect);
    }
    void Frame(Mirel::Effect& effect, double time) {
        Advance(time);
        Draw(effect);
    }

    // Recorded device calls, all of them or those starting with `prefix`.
    std::vector<std::string> Calls(const std::string& prefix = "") const {
        std::vector<std::string> out;
        for (const std::string& line : D3D9_RecordedCalls(device))
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        return out;
    }
    void ClearCalls() { D3D9_ClearRecordedCalls(device); }
    // The recording's name of a device object ("PixelShader#12", "Texture#3");
    // adds one call to the log.
    std::string Label(IDirect3DPixelShader9* shader) { return LabelOf([&] { device->SetPixelShader(shader); }); }
    std::string Label(IDirect3DBaseTexture9* texture) { return LabelOf([&] { device->SetTexture(15, texture); }); }

    const D3D9Backend backend;
    const UINT width;
    const UINT height;
    TestDevice gpu;
    IDirect3DDevice9* device = nullptr;
    FakeSprite sprite;
    std::array<FakeMesh, 7> fakeMeshes;
    Mirel::System window;

private:
    static constexpr std::array<const char*, 7> kMeshFiles = {
        "Media//fy_faen_assSmall.X", "Media//ocean.X",        "Media//yachtAll2.x", "Media//skydome.X",
        "Media//sphere.x",           "Media//creditsPlane.x", "Media//cylinder.X",
    };

    void Advance(double time) {
        DemoState& s = g_demoState;
        s.frameDelta = time - s.time;
        s.time = time;
        s.camera->UpdateCamera(time);
        for (Mirel::XMeshObj& mesh : s.meshes) mesh.UpdateTransform();
    }
    void Draw(Mirel::Effect& effect) {
        DemoState& s = g_demoState;
        IDirect3DSurface9* back = nullptr;
        IDirect3DSurface9* surface = nullptr;
        device->BeginScene();
        device->GetRenderTarget(0, &back);
        s.screenTexture->GetSurfaceLevel(0, &surface);
        device->SetRenderTarget(0, surface);
        surface->Release();
        device->SetDepthStencilSurface(s.screenDepth);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);
        sprite.Clear();
        for (FakeMesh& mesh : fakeMeshes) mesh.subsetsDrawn.clear();
        effect.Update(s.frameDelta, s.time);
        effect.Render();
        device->SetRenderTarget(0, back);
        back->Release();
        effect.PostProcess();
        device->EndScene();
    }
    // Binds the object once and reads its name back from the log.
    template <class Bind>
    std::string LabelOf(Bind bind) {
        bind();
        const std::string line = D3D9_RecordedCalls(device).back();
        size_t comma = line.rfind(", ");
        size_t from = comma == std::string::npos ? line.find('(') + 1 : comma + 2;
        return line.substr(from, line.size() - from - 1);
    }
};
