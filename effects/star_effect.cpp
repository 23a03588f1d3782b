#include "effects/star_effect.h"

#include <cmath>

#include "effects/effect_helpers.h"
#include "effects/shatter_mesh.h"
#include "render/quad.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "scene/mesh_path_animation.h"
#include "scene/scene_meshes.h"
#include "shell/demo_state.h"

namespace Mirel {

namespace {

enum Cue : int32_t {
    kBreakAndCredits,
};

constexpr double kBreakDelay = 5.4;
constexpr double kDissolveRate = 0.5;   // a second: 2 s from whole to gone
constexpr double kEarthTurnRate = 0.1;  // earthVector.w a second
constexpr double kFadeInRate = 2.0;     // 0.5 s from black
constexpr double kFadeOutLength = 3.0;  // seconds before the end
const D3DXVECTOR4 kEarthVector(-8.45f, 5.294f, -0.76f, 0.1f);
const D3DXVECTOR3 kShatterPoint(-2.913f, 2.138f, 0.266f);
const D3DXVECTOR3 kEye(-13.387f, 8.734f, 0.395f);
const D3DXVECTOR3 kLookAt(0.0f, 0.0f, 0.0f);

// Vertex registers of the earth passes.
constexpr UINT kWorldViewProjectionReg = 0;  // c0-c3
constexpr UINT kWorldInvTransposeReg = 4;    // c4-c7
constexpr UINT kEyeReg = 8;
constexpr UINT kEarthVectorReg = 9;
// Vertex registers of the cylinder and the credits card.
constexpr UINT kViewProjectionReg = 0;  // c0-c3: view-projection, or path x view-projection
constexpr UINT kClockReg = 8;           // (seconds since the start, frame time, -, -)
constexpr UINT kShatterReg = 9;         // (shatterPoint, dissolve)
// Pixel registers.
constexpr UINT kPixelEarthVectorReg = 0;
constexpr UINT kFadeColourReg = 0;  // fades: the colour faded from or to
constexpr UINT kFadeAmountReg = 1;  // fades: x = amount

constexpr DWORD kWrappedStages = 3;  // samplers 0-2, set up every frame
constexpr DWORD kColourStage = 0;
constexpr DWORD kNormalStage = 1;
constexpr DWORD kDaySpecularStage = 2;
constexpr DWORD kCloudStage = 3;
constexpr DWORD kPictureStage = 0;

constexpr const char* kMeshPath = "Media//meshtest.cp";
constexpr const char* kEarthColour = "Textures//earthmap1k.jpg";
constexpr const char* kEarthNormal = "Textures//earth_nrm.dds";
constexpr const char* kEarthDaySpecular = "Textures//earth_day_color_spec.dds";
constexpr const char* kEarthClouds = "Textures//earth_clouds_alpha.dds";
constexpr const char* kCredits = "Textures//credits_copy.jpg";
constexpr const char* kStarField = "Textures//StarField.jpg";
constexpr const char* kHatches[6] = {"Textures//Hatch0.dds", "Textures//Hatch1.dds", "Textures//Hatch2.dds",
                                     "Textures//Hatch3.dds", "Textures//Hatch4.dds", "Textures//Hatch5.dds"};
constexpr const char* kCylinderHatch = "Textures//Hatch5.dds";

constexpr const char* kScreenVS = "vertex_fs.cpp";
constexpr const char* kScreenPS = "fragment_fs.cpp";
constexpr const char* kFadeInPS = "fragment_fade_in.cpp";
constexpr const char* kFadeOutPS = "fragment_fade_out.cpp";
constexpr const char* kEarthVS = "vertex_earth.cpp";
constexpr const char* kEarthPS = "fragment_earth.cpp";
constexpr const char* kEarthHatchVS = "vertex_earth_hatch.cpp";
constexpr const char* kEarthHatchPS = "fragment_earth_hatch.cpp";
constexpr const char* kCylinderVS = "vertex_cylinder_shatter.cpp";
constexpr const char* kPieceAndCardPS = "fragment_boat_shatter.cpp";
constexpr const char* kCardVS = "vertex_simple.cpp";

}  // namespace

void StarEffect::Init() {
    ResourceManager* resources = state->resources;

    state->meshes[kCreditsPlane].meshPath = resources->GetMeshPath(kMeshPath);
    for (const char* name : {kEarthColour, kEarthNormal, kEarthDaySpecular, kEarthClouds})
        PreloadTexture(resources, name);
    earthVector = kEarthVector;
    triggers.emplace_back(kBreakAndCredits, kBreakDelay);
    dissolve = 0.0f;

    // After the boat's copy: the pieces' random values follow the boat's.
    cylinderMesh = BuildShatterMesh(state->meshes[kCylinder].mesh);

    PreloadVertexShader(resources, kCylinderVS);
    PreloadPixelShader(resources, kFadeOutPS);
    PreloadPixelShader(resources, kFadeInPS);
    PreloadTexture(resources, kCredits);
    PreloadTexture(resources, kStarField);
    PreloadPixelShader(resources, kEarthPS);
    PreloadVertexShader(resources, kEarthVS);
    PreloadVertexShader(resources, kCardVS);
    resources->GetPixelShader(kEarthHatchPS);
    resources->GetVertexShader(kEarthHatchVS);
}

void StarEffect::Start(double time) {
    Effect::Start(time);
    // The camera stands still from here to the end of the demo.
    state->camera->followPath = false;
    shatterPoint = kShatterPoint;
    state->camera->SetLookAt(kEye, kLookAt);
}

void StarEffect::Update(double dt, double time) {
    PollTriggers(*this);

    IDirect3DDevice9* device = state->device;
    for (DWORD stage = 0; stage < kWrappedStages; ++stage) {
        device->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        device->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        device->SetSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(stage, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    }

    earthVector.w = static_cast<float>(earthVector.w + kEarthTurnRate * dt);
    earthVectorCopy = earthVector;

    if (CreditsFly()) {
        const Trigger& cue = triggers[kBreakAndCredits];
        dissolve = static_cast<float>(kDissolveRate * (time - (cue.armedAt + cue.delay)));
        if (1.0f < dissolve) dissolve = 1.0f;
        if (!creditsStarted) {
            creditsStarted = true;
            state->meshes[kCreditsPlane].meshPathStart = static_cast<float>(time);
        }
    }
}

void StarEffect::Render() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;
    const Camera& camera = *state->camera;

    // The stars behind everything.
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetTexture(kPictureStage, resources->GetTexture(kStarField));
    state->quad->Draw(nullptr, device, resources->GetVertexShader(kScreenVS), resources->GetPixelShader(kScreenPS),
                      false);

    // The earth, shaded: its colour weighted by its own alpha over nothing.
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);

    const XMeshObj& earth = state->meshes[kEarth];
    D3DXMATRIX worldViewProjection;
    D3DXMatrixMultiply(&worldViewProjection, &earth.world, &camera.viewProjection);
    SetMatrixConstant(device, kWorldViewProjectionReg, worldViewProjection);
    SetMatrixConstant(device, kWorldInvTransposeReg, earth.worldInvTranspose);
    SetEyeConstant(device, kEyeReg);
    device->SetVertexShaderConstantF(kEarthVectorReg, earthVector, 1);
    device->SetPixelShaderConstantF(kPixelEarthVectorReg, earthVectorCopy, 1);

    device->SetTexture(kColourStage, resources->GetTexture(kEarthColour));
    device->SetTexture(kNormalStage, resources->GetTexture(kEarthNormal));
    device->SetTexture(kDaySpecularStage, resources->GetTexture(kEarthDaySpecular));
    device->SetTexture(kCloudStage, resources->GetTexture(kEarthClouds));
    device->SetPixelShader(resources->GetPixelShader(kEarthPS));
    device->SetVertexShader(resources->GetVertexShader(kEarthVS));
    DrawAllSubsets(earth);

    // The earth, hatched: source x source colour + what is there x source alpha.
    for (DWORD k = 0; k < 6; ++k) device->SetTexture(k, resources->GetTexture(kHatches[k]));
    device->SetPixelShader(resources->GetPixelShader(kEarthHatchPS));
    device->SetVertexShader(resources->GetVertexShader(kEarthHatchVS));
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCCOLOR);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCALPHA);
    DrawAllSubsets(earth);

    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);

    // The cylinder, whole or bursting: its own world is not applied.
    SetMatrixConstant(device, kViewProjectionReg, camera.viewProjection);
    const float clock[4] = {static_cast<float>(state->time - startTime), static_cast<float>(state->frameDelta), 0.0f,
                            0.0f};
    device->SetVertexShaderConstantF(kClockReg, clock, 1);
    const float shatter[4] = {shatterPoint.x, shatterPoint.y, shatterPoint.z, dissolve};
    device->SetVertexShaderConstantF(kShatterReg, shatter, 1);
    device->SetTexture(kPictureStage, resources->GetTexture(kCylinderHatch));
    device->SetVertexShader(resources->GetVertexShader(kCylinderVS));
    device->SetPixelShader(resources->GetPixelShader(kPieceAndCardPS));
    if (cylinderMesh) {
        for (DWORD k = 0; k < state->meshes[kCylinder].materialCount; ++k) cylinderMesh->DrawSubset(k);
    }
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);

    // The credits card on its path, seen from both sides.
    if (CreditsFly()) {
        XMeshObj& card = state->meshes[kCreditsPlane];
        D3DXMATRIX onPath, cardViewProjection;
        D3DXMatrixIdentity(&onPath);
        if (card.meshPath) Evaluate(*card.meshPath, &onPath, static_cast<float>(state->time) - card.meshPathStart);
        D3DXMatrixMultiply(&cardViewProjection, &onPath, &camera.viewProjection);
        SetMatrixConstant(device, kViewProjectionReg, cardViewProjection);
        device->SetTexture(kPictureStage, resources->GetTexture(kCredits));
        device->SetVertexShader(resources->GetVertexShader(kCardVS));
        device->SetPixelShader(resources->GetPixelShader(kPieceAndCardPS));
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        DrawAllSubsets(card);
    }
}

// The one object the scene made itself is the cylinder's copy.
void StarEffect::Stop() { ReleaseInterface(cylinderMesh); }

void StarEffect::PostProcess() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;
    IDirect3DVertexShader9* screenVS = resources->GetVertexShader(kScreenVS);
    const float black[4] = {0.0f, 0.0f, 0.0f, 0.0f};

    device->SetTexture(kPictureStage, state->screenTexture);
    if (fadeInActive) {
        // The frame that passes 1 still draws its own amount.
        const float amount = static_cast<float>(kFadeInRate * (state->time - startTime));
        if (1.0f < amount) fadeInActive = false;
        const float fadeIn[4] = {amount, 0.0f, 0.0f, 0.0f};
        device->SetPixelShaderConstantF(kFadeColourReg, black, 1);
        device->SetPixelShaderConstantF(kFadeAmountReg, fadeIn, 1);
        state->quad->Draw(nullptr, device, screenVS, resources->GetPixelShader(kFadeInPS), false);
    } else {
        state->quad->Draw(nullptr, device, screenVS, resources->GetPixelShader(kScreenPS), false);
    }

    if (endTime - state->time < kFadeOutLength) {
        const float amount = static_cast<float>((kFadeOutLength - std::fabs(state->time - endTime)) / kFadeOutLength);
        const float fadeOut[4] = {amount, 0.0f, 0.0f, 0.0f};
        device->SetPixelShaderConstantF(kFadeColourReg, black, 1);
        device->SetPixelShaderConstantF(kFadeAmountReg, fadeOut, 1);
        device->SetTexture(kPictureStage, state->screenTexture);
        state->quad->Draw(nullptr, device, screenVS, resources->GetPixelShader(kFadeOutPS), false);
    }
}

}  // namespace Mirel
