// The scheduler: effects wait in `pendingEffects` (earliest start on top),
// run in `activeEffects` in the order they were started, and are stopped and
// deleted once the demo time has strictly passed their end. It works on the
// process-wide demo state.
#pragma once

namespace Mirel {
class Effect;
}

// Calls the effect's Init, then queues it.
void AddEffect(Mirel::Effect* effect);
// Quit flag, camera, spectrum, effect starts, mesh matrices, effect retirement.
void UpdateDemo();
// Update and Render of every active effect, in start order.
void RenderEffects();
// At shutdown: stops and deletes every effect still queued or running (a run
// ended early), so that the render textures each made in Init are released.
void RetireRemainingEffects();
