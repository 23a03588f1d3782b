#include "tests/support/effect_fixture.h"

#include "render/release_interface.h"
#include "scene/camera.h"
#include "shell/demo_state.h"

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
