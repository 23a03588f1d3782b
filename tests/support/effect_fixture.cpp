#include "tests/support/effect_fixture.h"

#include "platform/fmod/fmod.hpp"
#include "render/quad.h"
#include "render/release_interface.h"
#include "render/screen_target.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"

EffectFixture::EffectFixture(D3D9Backend backend, UINT width, UINT height) : gpu(backend, width, height) {
    window.width = static_cast<int32_t>(width);
    window.height = static_cast<int32_t>(height);
}

void EffectFixture::SetUp() {
    ASSERT_TRUE(gpu) << gpu.Error();
    device = gpu.Get();
    DemoState& s = g_demoState;
    s.device = device;
    s.system = &window;
    s.screenTexture = CreateScreenTarget(device, &window);
    device->CreateDepthStencilSurface(UINT(window.width), UINT(window.height), D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0,
                                      TRUE, &s.screenDepth, nullptr);
    s.resources = new Mirel::ResourceManager(device);
    g_resourceManager = s.resources;
    s.camera = new Camera();
    s.music = new MusicPlayer();
    s.quad = new Quad(1.0f / float(window.width), 1.0f / float(window.height));
    s.sprite = &sprite;
    s.time = 0.0;
    s.frameDelta = 0.0;
}

void EffectFixture::TearDown() {
    DemoState& s = g_demoState;
    s.meshes.clear();
    delete s.quad;
    delete s.camera;
    delete s.resources;
    if (s.music) s.music->system->release();
    delete s.music;
    ReleaseInterface(s.screenTexture);
    ReleaseInterface(s.screenDepth);
    s.quad = nullptr;
    s.camera = nullptr;
    s.resources = nullptr;
    g_resourceManager = nullptr;
    s.music = nullptr;
    s.sprite = nullptr;
    s.system = nullptr;
    s.device = nullptr;
}

void EffectFixture::LoadSceneMeshes() {
    for (const char* file : {"Media//fy_faen_assSmall.X", "Media//ocean.X", "Media//yachtAll2.x", "Media//skydome.X",
                             "Media//sphere.x", "Media//creditsPlane.x", "Media//cylinder.X"})
        g_demoState.meshes.emplace_back(GetMesh(file));
}

void EffectFixture::StartAt(Mirel::Effect& effect, double time) {
    effect.Start(time);
    Frame(effect, time);
}

void EffectFixture::Frame(Mirel::Effect& effect, double time) {
    DemoState& s = g_demoState;
    s.frameDelta = time - s.time;
    s.time = time;
    s.camera->UpdateCamera(time);
    for (Mirel::XMeshObj& mesh : s.meshes) mesh.UpdateTransform();

    IDirect3DSurface9* backBuffer = nullptr;
    IDirect3DSurface9* backDepth = nullptr;
    IDirect3DSurface9* screen = nullptr;
    device->BeginScene();
    device->GetRenderTarget(0, &backBuffer);
    device->GetDepthStencilSurface(&backDepth);
    if (SUCCEEDED(s.screenTexture->GetSurfaceLevel(0, &screen))) {
        device->SetRenderTarget(0, screen);
        screen->Release();
    }
    device->SetDepthStencilSurface(s.screenDepth);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);

    sprite.Clear();
    effect.Update(s.frameDelta, time);
    effect.Render();

    device->SetRenderTarget(0, backBuffer);
    device->SetDepthStencilSurface(backDepth);
    ReleaseInterface(backBuffer);
    ReleaseInterface(backDepth);
    effect.PostProcess();
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

const std::vector<std::string>& EffectFixture::Calls() const { return D3D9_RecordedCalls(device); }

void EffectFixture::ClearCalls() { D3D9_ClearRecordedCalls(device); }

int EffectFixture::FindCall(const std::string& prefix, int from) const {
    return FindRecordedCall(device, prefix, from);
}

IDirect3DPixelShader9* EffectFixture::BoundPixelShader() const {
    IDirect3DPixelShader9* shader = nullptr;
    device->GetPixelShader(&shader);
    if (shader) shader->Release();  // still held by the device and the resource manager
    return shader;
}

DWORD EffectFixture::RenderState(D3DRENDERSTATETYPE state) const {
    DWORD value = 0;
    device->GetRenderState(state, &value);
    return value;
}

DWORD EffectFixture::SamplerState(DWORD stage, D3DSAMPLERSTATETYPE type) const {
    DWORD value = 0;
    device->GetSamplerState(stage, type, &value);
    return value;
}

std::vector<float> EffectFixture::PixelRegister(UINT reg) const {
    std::vector<float> value(4, 0.0f);
    device->GetPixelShaderConstantF(reg, value.data(), 1);
    return value;
}

std::vector<float> EffectFixture::VertexRegister(UINT reg) const {
    std::vector<float> value(4, 0.0f);
    device->GetVertexShaderConstantF(reg, value.data(), 1);
    return value;
}

bool EffectFixture::ScreenIsTarget() const {
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* screen = nullptr;
    device->GetRenderTarget(0, &target);
    g_demoState.screenTexture->GetSurfaceLevel(0, &screen);
    const bool same = target && target == screen;
    ReleaseInterface(target);
    ReleaseInterface(screen);
    return same;
}

std::pair<int, int> EffectFixture::OnScreen(const D3DXVECTOR3& point) const {
    D3DXVECTOR3 clip;
    D3DXVec3TransformCoord(&clip, &point, &g_demoState.camera->viewProjection);
    return {static_cast<int>((clip.x + 1.0f) * 0.5f * float(window.width)),
            static_cast<int>((1.0f - clip.y) * 0.5f * float(window.height))};
}
