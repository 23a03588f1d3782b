#include "effects/hand_draw_effect.h"

#include "effects/effect_helpers.h"
#include "render/quad.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "scene/scene_meshes.h"
#include "shell/demo_state.h"

namespace Mirel {

namespace {

constexpr const char* kBaseVertexShader = "vertex_base.cpp";
constexpr const char* kSketchPixelShader = "fragment_handdraw.cpp";
constexpr const char* kIslandColour = "Textures//island.jpg";
constexpr const char* kIslandNormals = "Textures//islandNormal.jpg";
constexpr const char* kScreenVertexShader = "vertex_fs.cpp";
constexpr const char* kSobelPixelShader = "fragment_sobel.cpp";
constexpr const char* kWordFirst = "Textures//first.png";
constexpr const char* kWordThereIs = "Textures//thereis.png";
constexpr const char* kWordASketch = "Textures//asketch.png";
constexpr const char* kCameraPath = "Media//HandDraw.cp";

constexpr double kWordFadeRate = 640.0;

// Vertex registers of the island pass.
constexpr UINT kWorldViewProjectionReg = 0;  // c0-c3
constexpr UINT kWorldReg = 4;                // c4-c7
constexpr UINT kEyeReg = 8;
// Samplers of the island pass and of the edge pass.
constexpr DWORD kColourSampler = 0;
constexpr DWORD kNormalSampler = 1;
constexpr DWORD kPictureSampler = 0;

// Registered in this order, so a cue's id is its place in the list.
enum Cue : int32_t {
    kFirstFadesIn,
    kRestFadeIn,
    kWordsFadeOut,
    kWordsGone,
};

}  // namespace

void HandDrawEffect::Init() {
    ResourceManager* resources = state->resources;
    PreloadVertexShader(resources, kBaseVertexShader);
    PreloadPixelShader(resources, kSketchPixelShader);
    PreloadTexture(resources, kWordFirst);
    PreloadTexture(resources, kWordThereIs);
    PreloadTexture(resources, kWordASketch);
    PreloadTexture(resources, kIslandColour);
    PreloadTexture(resources, kIslandNormals);
    PreloadVertexShader(resources, kScreenVertexShader);
    PreloadPixelShader(resources, kSobelPixelShader);
    PreloadCameraPath(resources, kCameraPath);

    wordFade0 = 0;
    wordFade1 = 0;

    triggers.emplace_back(kFirstFadesIn, 0.7);
    triggers.emplace_back(kRestFadeIn, 2.94);
    triggers.emplace_back(kWordsFadeOut, 4.869);
    triggers.emplace_back(kWordsGone, 5.6);
}

// The flight plays once and rests on its last key; the hatching scene keeps it.
void HandDrawEffect::Start(double time) {
    Effect::Start(time);
    state->camera->FollowPath(state->resources->GetCameraPath(kCameraPath), time);
}

void HandDrawEffect::Update(double, double time) {
    PollTriggers(*this);
    const Trigger& firstIn = triggers[kFirstFadesIn];
    const Trigger& restIn = triggers[kRestFadeIn];
    const Trigger& fadeOut = triggers[kWordsFadeOut];
    const bool gone = triggers[kWordsGone].fired;

    if (firstIn.fired && !fadeOut.fired) wordFade0 = FadeInValue(firstIn, time, kWordFadeRate);
    if (restIn.fired && !fadeOut.fired) wordFade1 = FadeInValue(restIn, time, kWordFadeRate);
    if (fadeOut.fired && !gone) wordFade0 = wordFade1 = FadeOutValue(fadeOut, time, kWordFadeRate);
    if (gone) wordFade0 = wordFade1 = 0;
}

// Into the screen texture, cleared to white by the frame. No state is set:
// samplers 0 and 1 filter as the hatching scene's Init left them, sampler 0
// clamps from the second frame on (this scene's post pass).
void HandDrawEffect::Render() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;
    const XMeshObj& island = state->meshes[kIsland];

    D3DXMATRIX worldViewProjection;
    D3DXMatrixMultiply(&worldViewProjection, &island.world, &state->camera->viewProjection);
    SetMatrixConstant(device, kWorldViewProjectionReg, worldViewProjection);
    SetMatrixConstant(device, kWorldReg, island.world);
    SetEyeConstant(device, kEyeReg);
    device->SetTexture(kColourSampler, resources->GetTexture(kIslandColour));
    device->SetTexture(kNormalSampler, resources->GetTexture(kIslandNormals));
    device->SetVertexShader(resources->GetVertexShader(kBaseVertexShader));
    device->SetPixelShader(resources->GetPixelShader(kSketchPixelShader));
    DrawAllSubsets(island);
}

// The edge pass turns the sketch sheet in the screen texture into the
// picture on the back buffer; the words go over it.
void HandDrawEffect::PostProcess() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;

    device->SetSamplerState(kPictureSampler, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(kPictureSampler, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetTexture(kPictureSampler, state->screenTexture);
    state->quad->Draw(nullptr, device, resources->GetVertexShader(kScreenVertexShader),
                      resources->GetPixelShader(kSobelPixelShader), false);
    device->SetVertexShader(nullptr);
    device->SetPixelShader(nullptr);

    DrawTitleWords(D3DXSPRITE_OBJECTSPACE | D3DXSPRITE_ALPHABLEND, {{kWordFirst, -1512.0f, 512.0f, wordFade0},
                                                                    {kWordThereIs, -1512.0f, 1024.0f, wordFade1},
                                                                    {kWordASketch, -990.0f, 1024.0f, wordFade1}});
}

}  // namespace Mirel
