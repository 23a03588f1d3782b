#include "effects/shatter_effect.h"

#include "effects/effect_helpers.h"
#include "effects/planar_reflection.h"
#include "effects/shatter_mesh.h"
#include "render/quad.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "scene/scene_meshes.h"
#include "shell/demo_state.h"
#include "shell/system.h"

namespace Mirel {

namespace {

enum Cue : int32_t { kFadeToBlack };

constexpr float kFrontStart = 14.0f;   // above the masthead
constexpr double kProgressRate = 2.0;  // a second, above the front
constexpr double kSpinRate = 1000.0;   // a second, above the front
constexpr double kFadeDelay = 14.0;
constexpr double kFadeRate = 2.0;      // half a second to black
constexpr float kFadeCutOff = 0.999f;  // amounts above it are sent as 1
constexpr float kWaterLevel = -3.0f;
constexpr float kSkyAllColour = 1.0e4f;  // a colour front past the zenith

// Vertex registers.
constexpr UINT kWorldViewProjectionReg = 0;  // c0-c3 (mirrored in the reflection pass)
constexpr UINT kNormalMatrixReg = 4;         // c4-c7
constexpr UINT kShatterParamsReg = 8;        // yacht: (localTime, shatterFront, -, -)
constexpr UINT kSeaWorldReg = 8;             // sea: c8-c11
constexpr UINT kEyeReg = 12;                 // sea
constexpr UINT kTimeReg = 13;                // sea: timeVector
constexpr UINT kSkyReg = 4;                  // sky: (colour front, cloud layer, time, -)
// Pixel registers.
constexpr UINT kPixelTimeReg = 0;   // sea: timeVector
constexpr UINT kFadeColourReg = 0;  // fade: the colour faded to
constexpr UINT kFadeAmountReg = 1;  // fade: x = amount

// Samplers.
constexpr DWORD kBoatStage = 0;
constexpr DWORD kWavesStage = 0;
constexpr DWORD kSkyCubeStage = 1;
constexpr DWORD kReflectionStage = 2;
constexpr DWORD kSkyStage = 0;
constexpr DWORD kCloudStage = 1;
constexpr DWORD kPictureStage = 0;
constexpr DWORD kSamplerStages = 3;  // 0-2, set up in Init

constexpr const char* kIslandColour = "Textures//island.jpg";
constexpr const char* kIslandNormal = "Textures//islandNormal.jpg";
constexpr const char* kShadowMap = "Textures//shadowmap.tga";
constexpr const char* kClouds = "Textures//clouds1.tga";
constexpr const char* kSkyCube = "Textures//cubemap.dds";
constexpr const char* kBoatHatch = "Textures//Hatch4.dds";
constexpr const char* kWaves = "Textures//waves2.dds";
constexpr const char* kSky = "Textures//Sky02.jpg";
constexpr const char* kCameraPath = "Media//Shatter.cp";

constexpr const char* kBaseVS = "vertex_base.cpp";
constexpr const char* kBasePS = "fragment_base.cpp";
constexpr const char* kSeaVS = "vertex_water.cpp";
constexpr const char* kSeaPS = "fragment_water.cpp";
constexpr const char* kBoatVS = "vertex_boat_shatter.cpp";
constexpr const char* kBoatPS = "fragment_boat_shatter.cpp";
constexpr const char* kSkyVS = "vertex_skydome.cpp";
constexpr const char* kSkyPS = "fragment_skydome.cpp";
constexpr const char* kScreenVS = "vertex_fs.cpp";
constexpr const char* kCopyPS = "fragment_fs.cpp";
constexpr const char* kFadePS = "fragment_fade_out.cpp";

// The yacht's subsets from the clone (as many as the yacht has materials).
void DrawShatteredBoat(ID3DXMesh* mesh, const XMeshObj& boat) {
    if (!mesh) return;
    for (DWORD k = 0; k < boat.materialCount; ++k) mesh->DrawSubset(k);
}

}  // namespace

void ShatterEffect::Init() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;

    for (DWORD stage = 0; stage < kSamplerStages; ++stage) {
        device->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        device->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        device->SetSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(stage, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    }

    for (const char* name : {kIslandColour, kIslandNormal, kShadowMap, kClouds}) PreloadTexture(resources, name);
    resources->LoadCubeTexture(kSkyCube);
    PreloadVertexShader(resources, kBaseVS);
    PreloadPixelShader(resources, kBasePS);
    PreloadVertexShader(resources, kSeaVS);
    PreloadPixelShader(resources, kSeaPS);
    PreloadVertexShader(resources, kBoatVS);
    PreloadPixelShader(resources, kBoatPS);

    reflectionTexture = CreateScreenTarget(device, state->system);

    SeaMirror(kWaterLevel, waterPlane, reflectionMatrix);

    shatterMesh = BuildShatterMesh(state->meshes[kBoat].mesh);
    shatterFront = kFrontStart;
    PreloadCameraPath(resources, kCameraPath);
    triggers.emplace_back(kFadeToBlack, kFadeDelay);
}

void ShatterEffect::Start(double time) {
    Effect::Start(time);
    Camera* camera = state->camera;
    camera->followPath = false;
    camera->FollowPath(state->resources->GetCameraPath(kCameraPath), time);
}

void ShatterEffect::Update(double dt, double time) {
    timeVector.x = static_cast<float>(state->time);
    PollTriggers(*this);
    localTime = static_cast<float>(time - startTime);
    shatterFront = static_cast<float>(shatterFront - dt);
    AdvanceShards(dt);
}

// One tight pass over the locked buffer: two adds for every vertex above
// the front (a NaN height is never above it). The vertex count is asked
// of the mesh each frame.
void ShatterEffect::AdvanceShards(double dt) {
    if (!shatterMesh) return;
    ShatterVertex* vertices = nullptr;
    if (FAILED(shatterMesh->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices)))) return;
    const DWORD count = shatterMesh->GetNumVertices();
    const double front = shatterFront;
    const double progress = kProgressRate * dt;
    const double spin = kSpinRate * dt;
    for (DWORD i = 0; i < count; ++i) {
        ShatterVertex& v = vertices[i];
        if (front < v.position.y) {
            v.centroid.w = static_cast<float>(v.centroid.w + progress);
            v.random.w = static_cast<float>(v.random.w + spin);
        }
    }
    shatterMesh->UnlockVertexBuffer();
}

// The yacht, mirrored and cut at the water line, into `reflectionTexture`;
// nothing at all without the texture.
bool ShatterEffect::RenderReflection() {
    if (!reflectionTexture) return false;
    return RenderPlanarReflection(state->device, reflectionTexture, waterPlane, state->camera->viewProjection, [this] {
        IDirect3DDevice9* device = state->device;
        ResourceManager* resources = state->resources;
        const XMeshObj& boat = state->meshes[kBoat];
        D3DXMATRIX mirrored, worldViewProjection;
        D3DXMatrixMultiply(&mirrored, &boat.world, &reflectionMatrix);
        D3DXMatrixMultiply(&worldViewProjection, &mirrored, &state->camera->viewProjection);
        SetMatrixConstant(device, kWorldViewProjectionReg, worldViewProjection);
        SetMatrixConstant(device, kNormalMatrixReg, boat.worldInvTranspose);
        const float shatterParams[4] = {localTime, shatterFront, 0.0f, 0.0f};
        device->SetVertexShaderConstantF(kShatterParamsReg, shatterParams, 1);
        device->SetVertexShader(resources->GetVertexShader(kBoatVS));
        device->SetPixelShader(resources->GetPixelShader(kBoatPS));
        device->SetTexture(kBoatStage, resources->GetTexture(kBoatHatch));
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);  // the sails are seen from both sides
        DrawShatteredBoat(shatterMesh, boat);
    });
}

void ShatterEffect::Render() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;
    const Camera& camera = *state->camera;

    const bool mirrored = RenderReflection();

    for (size_t i : {kSea, kBoat}) {
        const XMeshObj& mesh = state->meshes[i];
        D3DXMATRIX worldViewProjection;
        D3DXMatrixMultiply(&worldViewProjection, &mesh.world, &camera.viewProjection);
        SetMatrixConstant(device, kWorldViewProjectionReg, worldViewProjection);
        SetMatrixConstant(device, kNormalMatrixReg, mesh.worldInvTranspose);
        if (i == kBoat) {
            const float shatterParams[4] = {localTime, shatterFront, 0.0f, 0.0f};
            device->SetVertexShaderConstantF(kShatterParamsReg, shatterParams, 1);
            device->SetVertexShader(resources->GetVertexShader(kBoatVS));
            device->SetPixelShader(resources->GetPixelShader(kBoatPS));
            device->SetTexture(kBoatStage, resources->GetTexture(kBoatHatch));
            device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
            DrawShatteredBoat(shatterMesh, mesh);
        } else {
            SetMatrixConstant(device, kSeaWorldReg, mesh.world);
            SetEyeConstant(device, kEyeReg);
            device->SetVertexShaderConstantF(kTimeReg, timeVector, 1);
            device->SetPixelShaderConstantF(kPixelTimeReg, timeVector, 1);
            device->SetVertexShader(resources->GetVertexShader(kSeaVS));
            device->SetPixelShader(resources->GetPixelShader(kSeaPS));
            device->SetTexture(kWavesStage, resources->GetTexture(kWaves));
            device->SetTexture(kSkyCubeStage, resources->GetTexture(kSkyCube));
            device->SetTexture(kReflectionStage, mirrored ? reflectionTexture : nullptr);
            DrawAllSubsets(mesh);
        }
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    }

    // The dome with an identity world, seen from inside.
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    SetMatrixConstant(device, kWorldViewProjectionReg, camera.viewProjection);
    const float sky[4] = {kSkyAllColour, 1.0f, timeVector.x, 0.0f};
    device->SetVertexShaderConstantF(kSkyReg, sky, 1);
    device->SetVertexShader(resources->GetVertexShader(kSkyVS));
    device->SetPixelShader(resources->GetPixelShader(kSkyPS));
    device->SetTexture(kSkyStage, resources->GetTexture(kSky));
    device->SetTexture(kCloudStage, resources->GetTexture(kClouds));
    DrawAllSubsets(state->meshes[kSkyDome]);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
}

// What the effect made in Init goes with it.
void ShatterEffect::Stop() {
    ReleaseInterface(reflectionTexture);
    ReleaseInterface(shatterMesh);
}

float ShatterEffect::FadeAmount(double time) const {
    const Trigger& fade = triggers[kFadeToBlack];
    const float amount = static_cast<float>(kFadeRate * (time - (fade.armedAt + fade.delay)));
    return amount > kFadeCutOff ? 1.0f : amount;
}

void ShatterEffect::PostProcess() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;

    device->SetTexture(kPictureStage, state->screenTexture);
    if (triggers[kFadeToBlack].fired) {
        const float black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        const float amount[4] = {FadeAmount(state->time), 0.0f, 0.0f, 0.0f};
        device->SetPixelShaderConstantF(kFadeColourReg, black, 1);
        device->SetPixelShaderConstantF(kFadeAmountReg, amount, 1);
        state->quad->Draw(nullptr, device, resources->GetVertexShader(kScreenVS), resources->GetPixelShader(kFadePS),
                          false);
    } else {
        state->quad->Draw(nullptr, device, resources->GetVertexShader(kScreenVS), resources->GetPixelShader(kCopyPS),
                          false);
    }
}

}  // namespace Mirel
