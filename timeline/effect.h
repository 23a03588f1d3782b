// Effects on the demo's timeline, their timed cues, and the scheduler that
// starts, runs and retires them by demo time.
#pragma once

#include <cstdint>
#include <vector>

struct DemoState;

namespace Mirel {

// A cue `delay` seconds after the effect started. Held by value in the
// effect's trigger list; fired once the delay has strictly passed.
class Trigger final {
public:
    Trigger() = default;
    Trigger(int32_t id_, double delay_) : id(id_), delay(delay_) {}

    virtual void Arm(double time);
    virtual void Check(double time);

    int32_t id = 0;
    double delay = 0.0;
    double armedAt = 0.0;
    bool fired = false;
};

class Effect {
public:
    explicit Effect(DemoState* state_) : state(state_) {}
    virtual ~Effect() = default;
    virtual void Init() = 0;
    virtual void Start(double time);  // arms every trigger with `time`
    virtual void Update(double dt, double time) = 0;
    virtual void Render() = 0;
    virtual void Stop() = 0;
    virtual void PostProcess() = 0;

    double startTime = 0.0;
    double endTime = 1.0;
    bool started = false;
    DemoState* state;
    std::vector<Trigger> triggers;
    uint32_t lastTrigger = 0;
};

// Fires, in list order, every trigger whose delay has passed; stops at the
// first one that is not due yet.
void PollTriggers(Effect& effect);

// Orders the pending queue so that the earliest start is on top.
struct EffectStartsLater {
    bool operator()(const Effect* a, const Effect* b) const { return a->startTime > b->startTime; }
};

}  // namespace Mirel

// The scheduler works on the process-wide demo state.
void AddEffect(Mirel::Effect* effect);
void UpdateDemo();
void RenderEffects();
