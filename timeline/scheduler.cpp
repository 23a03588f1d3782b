// Every comparison with the demo time is strict: an effect starts in the
// first frame whose time is above its start and retires in the first frame
// whose time is above its end.
#include "timeline/scheduler.h"

#include "scene/camera.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"
#include "timeline/effect.h"

void AddEffect(Mirel::Effect* effect) {
    effect->Init();
    g_demoState.pendingEffects.push(effect);
}

void UpdateDemo() {
    DemoState& state = g_demoState;

    if (!(state.time < state.endTime)) {
        state.quit = true;  // the frame still runs to its end
    }
    if (state.camera != nullptr) {
        state.camera->UpdateCamera(state.time);
    }
    if (state.music != nullptr) {
        state.music->Update(static_cast<float>(state.frameDelta));
    }

    while (!state.pendingEffects.empty()) {
        Mirel::Effect* effect = state.pendingEffects.top();
        if (!(effect->startTime < state.time) || effect->started) {
            break;
        }
        state.pendingEffects.pop();
        effect->Start(state.time);
        effect->started = true;
        state.activeEffects.push_back(effect);
    }

    for (Mirel::XMeshObj& mesh : state.meshes) {
        mesh.UpdateTransform();
    }

    for (size_t i = 0; i < state.activeEffects.size();) {
        Mirel::Effect* effect = state.activeEffects[i];
        if (effect->endTime < state.time) {
            effect->Stop();
            delete effect;
            state.activeEffects.erase(state.activeEffects.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

void RenderEffects() {
    DemoState& state = g_demoState;
    // Indexed: an effect's Update or Render never changes the list, but an
    // index stays valid even if one did append.
    for (size_t i = 0; i < state.activeEffects.size(); ++i) {
        Mirel::Effect* effect = state.activeEffects[i];
        effect->Update(state.frameDelta, state.time);
        effect->Render();
    }
}

void RetireRemainingEffects() {
    DemoState& state = g_demoState;
    for (Mirel::Effect* effect : state.activeEffects) {
        effect->Stop();
        delete effect;
    }
    state.activeEffects.clear();
    while (!state.pendingEffects.empty()) {
        Mirel::Effect* effect = state.pendingEffects.top();
        state.pendingEffects.pop();
        effect->Stop();
        delete effect;
    }
}
