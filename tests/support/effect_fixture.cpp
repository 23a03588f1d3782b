#include "tests/support/effect_fixture.h"

#include "render/release_interface.h"
#include "resources/path_files.h"
#include "resources/resource_manager.h"
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

D3DXMATRIX SeenDraw::Matrix(UINT reg) const {
    D3DXMATRIX read, named;
    for (UINT row = 0; row < 4; ++row)
        for (UINT column = 0; column < 4; ++column) read.m[row][column] = vertex[reg + row][column];
    D3DXMatrixTranspose(&named, &read);
    return named;
}

HRESULT ProbeMesh::DrawSubset(DWORD attribId) {
    SeenDraw at;
    at.mesh = name;
    at.subset = attribId;
    device->GetVertexShader(&at.vertexShader);
    device->GetPixelShader(&at.pixelShader);
    if (at.vertexShader) at.vertexShader->Release();  // still held by the device
    if (at.pixelShader) at.pixelShader->Release();
    for (DWORD stage = 0; stage < at.textures.size(); ++stage) {
        device->GetTexture(stage, &at.textures[stage]);
        if (at.textures[stage]) at.textures[stage]->Release();
    }
    device->GetVertexShaderConstantF(0, at.vertex[0], UINT(at.vertex.size()));
    device->GetPixelShaderConstantF(0, at.pixel[0], UINT(at.pixel.size()));
    device->GetRenderState(D3DRS_CULLMODE, &at.cull);
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &at.blend);
    device->GetRenderState(D3DRS_SRCBLEND, &at.source);
    device->GetRenderState(D3DRS_DESTBLEND, &at.destination);
    at.callsBefore = static_cast<int>(D3D9_RecordedCalls(device).size());
    log.push_back(at);
    return FakeMesh::DrawSubset(attribId);
}

void EffectFixture::ProbeSceneMeshes() {
    DemoState& s = g_demoState;
    s.meshes.assign(7, Mirel::XMeshObj(MeshRecord{}));
    probes.clear();
    const char* names[7] = {"island", "sea", "boat", "sky", "earth", "card", "cylinder"};
    for (size_t i = 0; i < 7; ++i) {
        probes.push_back(std::make_unique<ProbeMesh>(names[i], seen, device));
        Mirel::XMeshObj& mesh = s.meshes[i];
        mesh.mesh = probes.back().get();
        mesh.materialCount = i == 0 ? 1 : 2;
        const float k = static_cast<float>(i + 1);
        mesh.position = D3DXVECTOR3(k, -0.5f * k, 2.0f * k);
        mesh.rotation = D3DXVECTOR3(0.1f * k, 0.2f * k, 0.05f * k);
        mesh.UpdateTransform();
    }
}

std::vector<std::string> EffectFixture::DrawnMeshes() const {
    std::vector<std::string> runs;
    for (const SeenDraw& at : seen)
        if (runs.empty() || runs.back() != at.mesh) runs.push_back(at.mesh);
    return runs;
}

void EffectFixture::ExpectShaders(const SeenDraw& draw, const char* vertexShader, const char* pixelShader) const {
    EXPECT_EQ(draw.vertexShader, VertexShader(vertexShader)) << draw.mesh << ": " << vertexShader;
    EXPECT_EQ(draw.pixelShader, PixelShader(pixelShader)) << draw.mesh << ": " << pixelShader;
}

void EffectFixture::ExpectTextures(const SeenDraw& draw, DWORD first, const std::vector<const char*>& names) const {
    for (size_t k = 0; k < names.size(); ++k)
        EXPECT_EQ(draw.textures[first + k], Texture(names[k]))
            << draw.mesh << ", stage " << first + k << ": " << names[k];
}

IDirect3DBaseTexture9* EffectFixture::Texture(const char* name) const {
    return g_demoState.resources->GetTexture(name);
}

IDirect3DVertexShader9* EffectFixture::VertexShader(const char* name) const {
    return g_demoState.resources->GetVertexShader(name);
}

IDirect3DPixelShader9* EffectFixture::PixelShader(const char* name) const {
    return g_demoState.resources->GetPixelShader(name);
}

D3DXMATRIX EffectFixture::Times(const D3DXMATRIX& world, const D3DXMATRIX& viewProjection) {
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, &world, &viewProjection);
    return product;
}

D3DXVECTOR4 EffectFixture::Eye() {
    const D3DXVECTOR3& eye = g_demoState.camera->eye;
    return D3DXVECTOR4(eye.x, eye.y, eye.z, 1.0f);
}

void EffectFixture::ExpectFlies(const char* path, double startedAt) const {
    const Camera& camera = *g_demoState.camera;
    CameraPath* expected = g_demoState.resources->GetCameraPath(path);
    EXPECT_EQ(camera.path, expected) << path;
    EXPECT_TRUE(camera.followPath);
    EXPECT_EQ(camera.pathStartTime, startedAt);
    if (expected) {
        EXPECT_FALSE(expected->loop) << "flown once";
    }
}

void EffectFixture::ExpectStopReleases(Mirel::Effect& effect, std::initializer_list<IUnknown*> own) const {
    IDirect3DTexture9* screen = g_demoState.screenTexture;
    screen->AddRef();
    const ULONG screenHeld = screen->Release();
    for (IUnknown* object : own) {
        ASSERT_NE(object, nullptr);
        object->AddRef();
    }
    effect.Stop();
    for (IUnknown* object : own) EXPECT_EQ(object->Release(), 0u) << "the effect still holds it after Stop";
    screen->AddRef();
    EXPECT_EQ(screen->Release(), screenHeld) << "the screen texture is not the effect's";
}
