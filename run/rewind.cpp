#include "run/rewind.h"

#include <memory>
#include <vector>

#include "effects/hatch_to_normal_effect.h"
#include "effects/shatter_mesh.h"
#include "effects/star_effect.h"
#include "effects/timeline_builder.h"
#include "platform/d3d9/d3d9_platform.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "shell/frame.h"
#include "sound/music_player.h"
#include "timeline/scheduler.h"

namespace {

struct StartOfTimeline {
    Camera camera;
    std::vector<Mirel::XMeshObj> meshes;
    MusicPlayer music;  // its spectrum and reading settings (the sound system is the same one)
    float sinceSpectrum = 0.0f;
    float sweepSpeed = 0.0f;
    bool creditsStarted = false;
    bool fadeInActive = false;
    std::shared_ptr<D3D9SavedState> device;
};

std::unique_ptr<StartOfTimeline> g_kept;

}  // namespace

void KeepStartOfTimeline() {
    DemoState& s = g_demoState;
    auto kept = std::unique_ptr<StartOfTimeline>(new StartOfTimeline{
        *s.camera, s.meshes, MusicPlayer(*s.music), sinceSpectrum, Mirel::HatchToNormalEffect::sweepSpeed,
        Mirel::StarEffect::creditsStarted, Mirel::StarEffect::fadeInActive, D3D9_SaveState(s.device)});
    g_kept = std::move(kept);
}

bool RewindTimeline() {
    if (!g_kept) return false;
    DemoState& s = g_demoState;
    const StartOfTimeline& kept = *g_kept;
    RetireRemainingEffects();
    *s.camera = kept.camera;
    s.meshes = kept.meshes;
    *s.music = kept.music;
    sinceSpectrum = kept.sinceSpectrum;
    Mirel::HatchToNormalEffect::sweepSpeed = kept.sweepSpeed;
    Mirel::StarEffect::creditsStarted = kept.creditsStarted;
    Mirel::StarEffect::fadeInActive = kept.fadeInActive;
    if (kept.device) D3D9_RestoreState(s.device, *kept.device);
    // Nothing draws from the sequence before the timeline is built.
    ResetRand15();
    s.time = 0.0;
    BuildTimeline();
    RehearseEffects();
    s.time = 0.0;
    s.frameDelta = 0.0;
    s.quit = false;
    return true;
}
