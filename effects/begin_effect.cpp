#include "effects/begin_effect.h"

#include <algorithm>
#include <cmath>

#include "effects/effect_helpers.h"
#include "render/quad.h"
#include "resources/resource_manager.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"

namespace Mirel {

namespace {

constexpr const char* kLogo = "Textures//kelss.png";
constexpr const char* kPresents = "Textures//presents.png";
constexpr const char* kWord1 = "Textures//tavo.png";
constexpr const char* kWord2 = "Textures//ost.png";
constexpr const char* kWord3 = "Textures//quillet.png";
constexpr const char* kBackground = "Textures//kratka.jpg";

constexpr float kCardRestScale = 0.002f;
constexpr double kWordFadeRate = 640.0;
constexpr int kSpectrumBand = 180;

enum Cue : int32_t {
    kLogoZoomInEnds,
    kPresentsZoomInEnds,
    kLogoGrows,
    kPresentsGrows,
    kCardsGone,
    kWord1FadesIn,
    kWords23FadeIn,
    kFadesFrozen,
};

}  // namespace

void BeginEffect::Init() {
    ResourceManager* resources = state->resources;
    for (const char* name : {kLogo, kPresents, kWord1, kWord2, kWord3, kBackground}) PreloadTexture(resources, name);

    triggers.emplace_back(kLogoZoomInEnds, 0.3);
    triggers.emplace_back(kPresentsZoomInEnds, 0.6);
    triggers.emplace_back(kLogoGrows, 2.0);
    triggers.emplace_back(kPresentsGrows, 2.5);
    triggers.emplace_back(kCardsGone, 2.8);
    triggers.emplace_back(kWord1FadesIn, 3.5);
    triggers.emplace_back(kWords23FadeIn, 4.25);
    triggers.emplace_back(kFadesFrozen, 7.8);

    logoScale = 2e-5f;
    presentsScale = 2e-5f;
    word1X = -960.0f;
    word2X = -456.0f;
    word3X = -320.0f;
    word1Alpha = 0;
    word23Alpha = 0;

    // The trigger scan fires in list order, so the list must run by delay.
    std::stable_sort(triggers.begin(), triggers.end(),
                     [](const Trigger& a, const Trigger& b) { return a.delay < b.delay; });
}

const Trigger& BeginEffect::Cue(int32_t id) const {
    return *std::find_if(triggers.begin(), triggers.end(), [id](const Trigger& t) { return t.id == id; });
}

void BeginEffect::Update(double dt, double time) {
    PollTriggers(*this);

    // Every trigger was armed with the effect's start time.
    double elapsed = std::fabs(time - triggers.front().armedAt);
    const Trigger& logoIn = Cue(kLogoZoomInEnds);
    const Trigger& presentsIn = Cue(kPresentsZoomInEnds);
    const bool cardsGone = Cue(kCardsGone).fired;
    const bool fadesFrozen = Cue(kFadesFrozen).fired;

    if (!logoIn.fired) logoScale = static_cast<float>(elapsed * kCardRestScale / logoIn.delay);
    if (!presentsIn.fired) presentsScale = static_cast<float>(elapsed * kCardRestScale / presentsIn.delay);
    if (Cue(kLogoGrows).fired && !cardsGone) logoScale = static_cast<float>(logoScale + dt);
    if (Cue(kPresentsGrows).fired && !cardsGone) presentsScale = static_cast<float>(presentsScale + dt / 10);
    if (cardsGone) {
        word1X = static_cast<float>(word1X + 8 * dt);
        word2X = static_cast<float>(word2X - 5 * dt);
        word3X = static_cast<float>(word3X + 4 * dt);
    }
    const Trigger& word1In = Cue(kWord1FadesIn);
    const Trigger& words23In = Cue(kWords23FadeIn);
    if (word1In.fired && !fadesFrozen) word1Alpha = static_cast<uint32_t>(FadeInValue(word1In, time, kWordFadeRate));
    if (words23In.fired && !fadesFrozen)
        word23Alpha = static_cast<uint32_t>(FadeInValue(words23In, time, kWordFadeRate));
}

void BeginEffect::Render() {
    IDirect3DDevice9* device = state->device;
    ResourceManager* resources = state->resources;
    ID3DXSprite* sprite = state->sprite;

    device->SetTexture(0, resources->GetTexture(kBackground));
    state->quad->Draw(nullptr, device, resources->GetVertexShader("vertex_fs.cpp"),
                      resources->GetPixelShader("fragment_fs.cpp"), false);

    sprite->Begin(D3DXSPRITE_OBJECTSPACE | D3DXSPRITE_ALPHABLEND);
    D3DXMATRIX scaling;
    if (!Cue(kCardsGone).fired) {
        D3DXVECTOR3 logoAt(-486.0f, -512.0f, 0.0f);
        sprite->SetTransform(D3DXMatrixScaling(&scaling, logoScale, -logoScale, 0.0f));
        sprite->Draw(resources->GetTexture(kLogo), nullptr, nullptr, &logoAt, 0xFFFFFFFF);

        D3DXVECTOR3 presentsAt(-256.0f, 64.0f, 0.0f);
        sprite->SetTransform(D3DXMatrixScaling(&scaling, presentsScale, -presentsScale, 0.0f));
        sprite->Draw(resources->GetTexture(kPresents), nullptr, nullptr, &presentsAt, 0xFFFFFFFF);
    } else if (Cue(kWord1FadesIn).fired) {
        float s = 0.02f * state->music->spectrum[kSpectrumBand] + 0.001f;
        sprite->SetTransform(D3DXMatrixScaling(&scaling, s, -s, 0.0f));
        D3DXVECTOR3 word1At(word1X, -512.0f, 0.0f);
        D3DXVECTOR3 word2At(word2X, -128.0f, 0.0f);
        D3DXVECTOR3 word3At(word3X, 512.0f, 0.0f);
        sprite->Draw(resources->GetTexture(kWord1), nullptr, nullptr, &word1At,
                     D3DCOLOR_ARGB(word1Alpha, 255, 255, 255));
        sprite->Draw(resources->GetTexture(kWord2), nullptr, nullptr, &word2At,
                     D3DCOLOR_ARGB(word23Alpha, 255, 255, 255));
        sprite->Draw(resources->GetTexture(kWord3), nullptr, nullptr, &word3At,
                     D3DCOLOR_ARGB(word23Alpha, 255, 255, 255));
    }
    sprite->Flush();
    sprite->End();
}

void BeginEffect::PostProcess() { DrawScreenTexture(); }

}  // namespace Mirel
