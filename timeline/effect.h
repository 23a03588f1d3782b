// A scene on the demo's timeline: loads its resources in Init, is started,
// updated and rendered by the scheduler between its start and end time, and
// composites the frame in PostProcess while it is the first active effect.
#pragma once

#include <cstdint>
#include <vector>

#include "timeline/trigger.h"

struct DemoState;

namespace Mirel {

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

// Orders the pending queue so that the earliest start is on top.
struct EffectStartsLater {
    bool operator()(const Effect* a, const Effect* b) const { return a->startTime > b->startTime; }
};

}  // namespace Mirel
