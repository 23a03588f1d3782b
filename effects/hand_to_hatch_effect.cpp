#include "effects/hand_to_hatch_effect.h"

#include "effects/effect_helpers.h"
#include "render/quad.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "scene/scene_meshes.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"

namespace Mirel {

namespace {

constexpr const char* kHatch[6] = {
    "Textures//Hatch0.dds", "Textures//Hatch1.dds", "Textures//Hatch2.dds",
    "Textures//Hatch3.dds", "Textures//Hatch4.dds", "Textures//Hatch5.dds",
};
constexpr const char* kWaves = "Textures//waves2.dds";
constexpr const char* kSeaStrokes = "Textures//hatch0.jpg";
constexpr const char* kSeaCrossHatch = "Textures//hatch1.jpg";
constexpr const char* kHatchVertexShader = "vertex_hatch.cpp";
constexpr const char* kHatchPixelShader = "fragment_hatch.cpp";
constexpr const char* kIslandVertexShader = "vertex_handtohatch.cpp";
constexpr const char* kIslandPixelShader = "fragment_handtohatch.cpp";
constexpr const char* kMixPixelShader = "fragment_handtohatch_fs.cpp";
constexpr const char* kSeaVertexShader = "vertex_handtohatch_water.cpp";
constexpr const char* kSeaPixelShader = "fragment_handtohatch_water.cpp";
constexpr const char* kNoSeaPixelShader = "fragment_empty.cpp";
constexpr const char* kScreenVertexShader = "vertex_fs.cpp";
constexpr const char* kSobelPixelShader = "fragment_sobel.cpp";

constexpr float kStartSketchLevel = 15.0f;
constexpr int kSketchBand = 40;
constexpr double kBlendSeconds = 8.5;
constexpr double kWaterGrowthPerSecond = 19.0;

// Vertex registers of the scene passes.
constexpr UINT kWorldViewProjectionReg = 0;  // c0-c3
constexpr UINT kWorldInvTransposeReg = 4;    // c4-c7
constexpr UINT kWorldReg = 8;                // c8-c11
constexpr UINT kEyeReg = 12;
constexpr UINT kSceneParamsVertexReg = 13;
// Pixel register c0: the scene parameters for the island, (waterOrigin,
// waterGrowth) for the sea, (blend, waterOrigin) for the last pass.
constexpr UINT kPixelParamsReg = 0;
// Samplers: the hatch tones on 0-5 for the island; the sea's textures on 0-3;
// the last pass reads the hatching on 0 and the edge pass's sketch on 1.
constexpr DWORD kInitSamplerStages = 9;  // Init sets stages 0-8
constexpr DWORD kPictureSampler = 0;
constexpr DWORD kSketchSampler = 1;

enum Cue : int32_t { kSeaAppears };

}  // namespace

void HandToHatchEffect::Init() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;

    sceneParams.x = kStartSketchLevel;
    for (DWORD s = 0; s < kInitSamplerStages; ++s) {
        device->SetSamplerState(s, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        device->SetSamplerState(s, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        device->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(s, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    }
    for (const char* name : kHatch) PreloadTexture(resources, name);
    PreloadTexture(resources, kSeaStrokes);
    PreloadTexture(resources, kSeaCrossHatch);
    PreloadVertexShader(resources, kHatchVertexShader);
    PreloadPixelShader(resources, kHatchPixelShader);
    PreloadVertexShader(resources, kIslandVertexShader);
    PreloadPixelShader(resources, kIslandPixelShader);
    PreloadPixelShader(resources, kMixPixelShader);
    PreloadVertexShader(resources, kSeaVertexShader);
    PreloadPixelShader(resources, kSeaPixelShader);
    PreloadPixelShader(resources, kNoSeaPixelShader);

    sceneTarget1 = CreateScreenTarget(device, state->system);
    edgeTexture = CreateScreenTarget(device, state->system);

    triggers.emplace_back(kSeaAppears, 5.3);

    waterOrigin = D3DXVECTOR3(2.0f, -3.0f, 24.0f);
    waterGrowth = 1.0f;
    blend = 0.0f;
}

void HandToHatchEffect::Update(double dt, double time) {
    PollTriggers(*this);
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;

    // No lower limit: the level keeps falling to the end of the scene.
    sceneParams.x = static_cast<float>(sceneParams.x - (2.0 * dt + 10.0 * state->music->spectrum[kSketchBand]));
    sceneParams.y = static_cast<float>(time);
    for (DWORD s = 0; s < 6; ++s) device->SetTexture(s, resources->GetTexture(kHatch[s]));
    blend = static_cast<float>((time - startTime) / kBlendSeconds);
    if (blend > 1.0f) blend = 1.0f;
    if (triggers[kSeaAppears].fired) waterGrowth = static_cast<float>(waterGrowth + dt * kWaterGrowthPerSecond);
}

// Render target 0 is the screen texture. The island pass sets no sampler
// state: sampler 0 clamps (left by the last post pass, hence the wrapping in
// the island's shader), 1-5 wrap (Init, the sea pass). The sea pass leaves
// the sea's textures on samplers 0-3 until the next Update.
void HandToHatchEffect::Render() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;
    const D3DXMATRIX& viewProjection = state->camera->viewProjection;

    SetTextureTarget(device, 1, sceneTarget1);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);
    const bool seaOn = triggers[kSeaAppears].fired;

    for (size_t i : {kIsland, kSea}) {
        const XMeshObj& mesh = state->meshes[i];
        D3DXMATRIX worldViewProjection;
        D3DXMatrixMultiply(&worldViewProjection, &mesh.world, &viewProjection);
        SetMatrixConstant(device, kWorldViewProjectionReg, worldViewProjection);
        SetMatrixConstant(device, kWorldInvTransposeReg, mesh.worldInvTranspose);
        SetMatrixConstant(device, kWorldReg, mesh.world);
        SetEyeConstant(device, kEyeReg);
        device->SetVertexShaderConstantF(kSceneParamsVertexReg, sceneParams, 1);
        device->SetPixelShaderConstantF(kPixelParamsReg, sceneParams, 1);
        if (i == kIsland) {
            device->SetVertexShader(resources->GetVertexShader(kIslandVertexShader));
            device->SetPixelShader(resources->GetPixelShader(kIslandPixelShader));
        } else {
            const D3DXVECTOR4 water(waterOrigin.x, waterOrigin.y, waterOrigin.z, waterGrowth);
            device->SetPixelShaderConstantF(kPixelParamsReg, water, 1);
            device->SetVertexShader(resources->GetVertexShader(kSeaVertexShader));
            device->SetPixelShader(resources->GetPixelShader(seaOn ? kSeaPixelShader : kNoSeaPixelShader));
            for (DWORD s = 0; s < 3; ++s) {
                device->SetSamplerState(s, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
                device->SetSamplerState(s, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
            }
            device->SetTexture(0, resources->GetTexture(kWaves));
            device->SetTexture(1, resources->GetTexture(kHatch[1]));
            device->SetTexture(2, resources->GetTexture(kSeaStrokes));
            device->SetTexture(3, resources->GetTexture(kSeaCrossHatch));
        }
        DrawAllSubsets(mesh);
    }
    device->SetRenderTarget(1, nullptr);
}

void HandToHatchEffect::Stop() {
    ReleaseInterface(edgeTexture);
    ReleaseInterface(sceneTarget1);
}

// The edge pass draws the sketch sheet of `sceneTarget1` as the sketch into
// `edgeTexture`; the last pass mixes it with the hatching on the back buffer.
// Sampler 1 wraps there (left by the sea pass); it reads texel centres only.
void HandToHatchEffect::PostProcess() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;
    IDirect3DVertexShader9* screenVertexShader = resources->GetVertexShader(kScreenVertexShader);

    device->SetSamplerState(kPictureSampler, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(kPictureSampler, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetTexture(kPictureSampler, sceneTarget1);
    state->quad->Draw(edgeTexture, device, screenVertexShader, resources->GetPixelShader(kSobelPixelShader), true);

    const D3DXVECTOR4 mix(blend, waterOrigin.x, waterOrigin.y, waterOrigin.z);
    device->SetPixelShaderConstantF(kPixelParamsReg, mix, 1);
    device->SetTexture(kPictureSampler, state->screenTexture);
    device->SetTexture(kSketchSampler, edgeTexture);
    state->quad->Draw(nullptr, device, screenVertexShader, resources->GetPixelShader(kMixPixelShader), false);
}

}  // namespace Mirel
