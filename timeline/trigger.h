// A timed cue inside an effect: `delay` seconds after the effect started.
// Registered in the effect's Init, armed by Effect::Start and scanned by
// PollTriggers at the start of every Update; `fired` is never cleared.
#pragma once

#include <cstdint>

namespace Mirel {

class Effect;

class Trigger final {
public:
    Trigger() = default;
    Trigger(int32_t id_, double delay_) : id(id_), delay(delay_) {}

    virtual void Arm(double time);

    int32_t id = 0;
    double delay = 0.0;
    double armedAt = 0.0;
    bool fired = false;
};

// Fires, in list order, every trigger whose delay has strictly passed; stops
// at the first one that is not due yet.
void PollTriggers(Effect& effect);

}  // namespace Mirel
