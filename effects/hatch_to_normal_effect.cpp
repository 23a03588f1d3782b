#include "effects/hatch_to_normal_effect.h"

#include "effects/effect_helpers.h"
#include "effects/planar_reflection.h"
#include "render/quad.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "scene/scene_meshes.h"
#include "shell/demo_state.h"
#include "shell/system.h"
#include "sound/music_player.h"

namespace Mirel {

namespace {

enum Cue : int32_t {
    kThenFadesIn,
    kThereIsAColourFadesIn,
    kWordsFadeOut,
    kRadialSwingsIn,
    kRadialSwingsOut,
};

constexpr float kSweepStart = -70.0f;
constexpr float kFastSweep = 32.0f;
constexpr float kRadialFloor = -0.2f;
constexpr double kRadialFallTime = 30.0;  // seconds for a strength of 1
constexpr double kRadialRiseTime = 15.0;
constexpr double kWordFadeRate = 255.0;  // one second a fade
constexpr float kWaterLevel = -3.0f;

// Vertex registers of the scene passes (island, sea, yacht).
constexpr UINT kWorldViewProjectionReg = 0;  // c0-c3
constexpr UINT kWorldInvTransposeReg = 4;    // c4-c7
constexpr UINT kWorldReg = 8;                // c8-c11
constexpr UINT kEyeReg = 12;
constexpr UINT kSceneParamsReg = 13;  // (time, sweep, -, -)
// The sky dome's own: (colour front, cloud layer, time, -); no clouds here.
constexpr UINT kSkyReg = 4;
// Vertex registers of the mirror pass: world x reflection x view-projection
// in c0-c3, then the unmirrored inverse transpose and the eye.
constexpr UINT kMirrorWorldInvTransposeReg = 4;  // c4-c7
constexpr UINT kMirrorEyeReg = 8;
// Pixel registers.
constexpr UINT kPixelSceneParamsReg = 0;  // scene passes: (time, sweep, -, -)
constexpr UINT kTexelStepReg = 0;         // blurs: x = one texel
constexpr UINT kRadialAmountReg = 0;      // radial blur: x = strength

// Island samplers: colour, normal map, shadow map, then the six hatch tones.
constexpr DWORD kIslandColourStage = 0;
constexpr DWORD kIslandNormalStage = 1;
constexpr DWORD kShadowStage = 2;
constexpr DWORD kFirstHatchStage = 3;
constexpr DWORD kSamplerStages = 9;  // 0-8, set up every frame
// Sea samplers.
constexpr DWORD kWavesStage = 0;
constexpr DWORD kSkyCubeStage = 1;
constexpr DWORD kReflectionStage = 2;
constexpr DWORD kSeaHatchStage = 3;  // 3-5
// Post passes.
constexpr DWORD kPictureStage = 0;
constexpr DWORD kGlowStage = 1;

constexpr const char* kIslandColour = "Textures//island.jpg";
constexpr const char* kIslandNormal = "Textures//islandNormal.jpg";
constexpr const char* kShadowMap = "Textures//shadowmap.tga";
constexpr const char* kHatches[6] = {"Textures//Hatch0.dds", "Textures//Hatch1.dds", "Textures//Hatch2.dds",
                                     "Textures//Hatch3.dds", "Textures//Hatch4.dds", "Textures//Hatch5.dds"};
constexpr const char* kWaves = "Textures//waves2.dds";
constexpr const char* kSkyCube = "Textures//cubemap.dds";
constexpr const char* kSeaHatches[3] = {"Textures//Hatch1.dds", "Textures//hatch0.jpg", "Textures//hatch1.jpg"};
constexpr const char* kBoatHatch = "Textures//Hatch4.dds";
constexpr const char* kSky = "Textures//Sky02.jpg";
constexpr const char* kThen = "Textures//then.png";
constexpr const char* kThereIs = "Textures//thereis.png";
constexpr const char* kAColour = "Textures//acolour.png";
constexpr const char* kCameraPath = "Media//HatchToNormal.cp";

constexpr const char* kMirrorVS = "vertex_base.cpp";
constexpr const char* kMirrorPS = "fragment_base.cpp";
constexpr const char* kIslandVS = "vertex_hatchtonormal.cpp";
constexpr const char* kIslandPS = "fragment_hatchtonormal.cpp";
constexpr const char* kSeaVS = "vertex_water_hatchtonormal.cpp";
constexpr const char* kSeaPS = "fragment_water_hatchtonormal.cpp";
constexpr const char* kBoatVS = "vertex_base.cpp";
constexpr const char* kBoatPS = "fragment_boat_shatter.cpp";
constexpr const char* kSkyVS = "vertex_skydome.cpp";
constexpr const char* kSkyPS = "fragment_skydome.cpp";
constexpr const char* kScreenVS = "vertex_fs.cpp";
constexpr const char* kBlurVerticalPS = "fragment_blur_v9.cpp";
constexpr const char* kBlurHorizontalPS = "fragment_blur_h9.cpp";
constexpr const char* kCompositePS = "fragment_hatchtonormal_fs.cpp";
constexpr const char* kRadialBlurPS = "fragment_radial_blur.cpp";

}  // namespace

void HatchToNormalEffect::Init() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;

    // The start-up pixel state, put back at the end of every Render.
    device->CreateStateBlock(D3DSBT_PIXELSTATE, &pixelState);

    PreloadVertexShader(resources, kIslandVS);
    PreloadPixelShader(resources, kIslandPS);
    PreloadVertexShader(resources, kSeaVS);
    PreloadPixelShader(resources, kSeaPS);
    PreloadPixelShader(resources, kBoatPS);
    PreloadVertexShader(resources, kSkyVS);
    for (const char* name : {kSkyPS, kBlurVerticalPS, kBlurHorizontalPS, kRadialBlurPS, kCompositePS})
        PreloadPixelShader(resources, name);
    for (const char* name : {kIslandColour, kIslandNormal, kWaves, kShadowMap, kSky, kThen, kThereIs, kAColour})
        PreloadTexture(resources, name);
    PreloadCameraPath(resources, kCameraPath);
    resources->LoadCubeTexture(kSkyCube);

    sceneTarget1 = CreateScreenTarget(device, state->system);
    blurTarget = CreateScreenTarget(device, state->system);
    sceneParams.y = kSweepStart;
    reflectionTexture = CreateScreenTarget(device, state->system);

    SeaMirror(kWaterLevel, waterPlane, reflectionMatrix);

    radialAmount = 0.0f;

    triggers.emplace_back(kThenFadesIn, 1.0);
    triggers.emplace_back(kThereIsAColourFadesIn, 3.0);
    triggers.emplace_back(kWordsFadeOut, 5.0);
    triggers.emplace_back(kRadialSwingsIn, 18.0);
    triggers.emplace_back(kRadialSwingsOut, 36.0);

    wordFade0 = 0;
    wordFade1 = 0;
}

void HatchToNormalEffect::Start(double time) {
    Effect::Start(time);
    state->camera->FollowPath(state->resources->GetCameraPath(kCameraPath), time);
    // The spectrum keeps its last values from here on.
    state->music->spectrumEnabled = false;
}

void HatchToNormalEffect::Update(double dt, double time) {
    PollTriggers(*this);

    if (Fired(kRadialSwingsIn) && !Fired(kRadialSwingsOut)) {
        if (radialAmount > kRadialFloor) radialAmount = static_cast<float>(radialAmount - dt / kRadialFallTime);
        sweepSpeed = kFastSweep;
    }
    if (Fired(kRadialSwingsOut) && radialAmount < 0.0f)
        radialAmount = static_cast<float>(radialAmount + dt / kRadialRiseTime);

    sceneParams.x = static_cast<float>(time);
    sceneParams.y += static_cast<float>(dt) * sweepSpeed;

    IDirect3DDevice9* device = state->device;
    for (DWORD stage = 0; stage < kSamplerStages; ++stage) {
        device->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        device->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        device->SetSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(stage, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    }

    if (Fired(kThenFadesIn)) wordFade0 = FadeInValue(triggers[kThenFadesIn], time, kWordFadeRate);
    if (Fired(kThereIsAColourFadesIn)) wordFade1 = FadeInValue(triggers[kThereIsAColourFadesIn], time, kWordFadeRate);
    if (Fired(kWordsFadeOut)) wordFade0 = wordFade1 = FadeOutValue(triggers[kWordsFadeOut], time, kWordFadeRate);
}

// The island alone, mirrored in the sea and cut at the water line, into
// `reflectionTexture`; the sea pass samples it where it lies on the screen.
void HatchToNormalEffect::RenderReflection() {
    RenderPlanarReflection(state->device, reflectionTexture, waterPlane, state->camera->viewProjection, [this] {
        IDirect3DDevice9* device = state->device;
        ResourceManager* resources = state->resources;
        const Camera& camera = *state->camera;
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);  // the mirror turns the winding round

        const XMeshObj& island = state->meshes[kIsland];
        D3DXMATRIX mirrored, worldViewProjection;
        D3DXMatrixMultiply(&mirrored, &island.world, &reflectionMatrix);
        D3DXMatrixMultiply(&worldViewProjection, &mirrored, &camera.viewProjection);
        SetMatrixConstant(device, kWorldViewProjectionReg, worldViewProjection);
        SetMatrixConstant(device, kMirrorWorldInvTransposeReg, island.worldInvTranspose);
        SetEyeConstant(device, kMirrorEyeReg);
        device->SetVertexShader(resources->GetVertexShader(kMirrorVS));
        device->SetPixelShader(resources->GetPixelShader(kMirrorPS));
        device->SetTexture(kIslandColourStage, resources->GetTexture(kIslandColour));
        device->SetTexture(kIslandNormalStage, resources->GetTexture(kIslandNormal));
        device->SetTexture(kShadowStage, resources->GetTexture(kShadowMap));
        DrawAllSubsets(island);
    });
}

void HatchToNormalEffect::Render() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;
    const Camera& camera = *state->camera;

    RenderReflection();

    // Both colour targets start transparent black: the glow reads the
    // second one, the composite the alpha of neither.
    if (SetTextureTarget(device, 1, sceneTarget1))
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000000, 1.0f, 0);

    for (size_t i : {kIsland, kSea, kBoat}) {
        const XMeshObj& mesh = state->meshes[i];
        D3DXMATRIX worldViewProjection;
        D3DXMatrixMultiply(&worldViewProjection, &mesh.world, &camera.viewProjection);
        SetMatrixConstant(device, kWorldViewProjectionReg, worldViewProjection);
        SetMatrixConstant(device, kWorldInvTransposeReg, mesh.worldInvTranspose);
        SetMatrixConstant(device, kWorldReg, mesh.world);
        SetEyeConstant(device, kEyeReg);
        device->SetVertexShaderConstantF(kSceneParamsReg, sceneParams, 1);
        device->SetPixelShaderConstantF(kPixelSceneParamsReg, sceneParams, 1);

        if (i == kIsland) {
            device->SetVertexShader(resources->GetVertexShader(kIslandVS));
            device->SetPixelShader(resources->GetPixelShader(kIslandPS));
            device->SetTexture(kIslandColourStage, resources->GetTexture(kIslandColour));
            device->SetTexture(kIslandNormalStage, resources->GetTexture(kIslandNormal));
            device->SetTexture(kShadowStage, resources->GetTexture(kShadowMap));
            for (DWORD k = 0; k < 6; ++k) device->SetTexture(kFirstHatchStage + k, resources->GetTexture(kHatches[k]));
        } else if (i == kSea) {
            device->SetVertexShader(resources->GetVertexShader(kSeaVS));
            device->SetPixelShader(resources->GetPixelShader(kSeaPS));
            device->SetTexture(kWavesStage, resources->GetTexture(kWaves));
            device->SetTexture(kSkyCubeStage, resources->GetTexture(kSkyCube));
            device->SetTexture(kReflectionStage, reflectionTexture);
            for (DWORD k = 0; k < 3; ++k) device->SetTexture(kSeaHatchStage + k, resources->GetTexture(kSeaHatches[k]));
        } else {
            device->SetVertexShader(resources->GetVertexShader(kBoatVS));
            device->SetPixelShader(resources->GetPixelShader(kBoatPS));
            device->SetTexture(0, resources->GetTexture(kBoatHatch));
        }
        DrawAllSubsets(mesh);
    }

    // The dome with an identity world, turning to colour by the sweep.
    SetMatrixConstant(device, kWorldViewProjectionReg, camera.viewProjection);
    const float sky[4] = {sceneParams.y, 0.0f, sceneParams.x, 0.0f};
    device->SetVertexShaderConstantF(kSkyReg, sky, 1);
    device->SetVertexShader(resources->GetVertexShader(kSkyVS));
    device->SetPixelShader(resources->GetPixelShader(kSkyPS));
    device->SetTexture(0, resources->GetTexture(kSky));
    DrawAllSubsets(state->meshes[kSkyDome]);

    device->SetRenderTarget(1, nullptr);

    DrawTitleWords(D3DXSPRITE_DONOTSAVESTATE | D3DXSPRITE_OBJECTSPACE | D3DXSPRITE_ALPHABLEND,
                   {{kThen, -1512.0f, 1512.0f, wordFade0},
                    {kThereIs, -912.0f, 1624.0f, wordFade1},
                    {kAColour, -590.0f, 1624.0f, wordFade1}});

    if (pixelState) pixelState->Apply();
}

void HatchToNormalEffect::Stop() {
    ReleaseInterface(sceneTarget1);
    ReleaseInterface(blurTarget);
    ReleaseInterface(reflectionTexture);
    ReleaseInterface(pixelState);
}

// Glow: the second output blurred down and across; then the composite, and
// from trigger 3 on the radial blur of the composite.
void HatchToNormalEffect::PostProcess() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;
    Quad* quad = state->quad;
    IDirect3DVertexShader9* screenVS = resources->GetVertexShader(kScreenVS);

    const float rowStep[4] = {1.0f / static_cast<float>(state->system->height), 0.0f, 0.0f, 0.0f};
    device->SetPixelShaderConstantF(kTexelStepReg, rowStep, 1);
    device->SetTexture(kPictureStage, sceneTarget1);
    quad->Draw(blurTarget, device, screenVS, resources->GetPixelShader(kBlurVerticalPS), false);

    const float columnStep[4] = {1.0f / static_cast<float>(state->system->width), 0.0f, 0.0f, 0.0f};
    device->SetPixelShaderConstantF(kTexelStepReg, columnStep, 1);
    device->SetTexture(kPictureStage, blurTarget);
    quad->Draw(sceneTarget1, device, screenVS, resources->GetPixelShader(kBlurHorizontalPS), false);

    device->SetTexture(kPictureStage, state->screenTexture);
    device->SetTexture(kGlowStage, sceneTarget1);
    if (Fired(kRadialSwingsIn)) {
        quad->Draw(blurTarget, device, screenVS, resources->GetPixelShader(kCompositePS), false);
        device->SetTexture(kPictureStage, blurTarget);
        const float amount[4] = {radialAmount, 0.0f, 0.0f, 0.0f};
        device->SetPixelShaderConstantF(kRadialAmountReg, amount, 1);
        quad->Draw(nullptr, device, screenVS, resources->GetPixelShader(kRadialBlurPS), false);
    } else {
        quad->Draw(nullptr, device, screenVS, resources->GetPixelShader(kCompositePS), false);
    }
}

}  // namespace Mirel
