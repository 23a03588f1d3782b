#include "timeline/trigger.h"

#include <cmath>

#include "shell/demo_state.h"
#include "timeline/effect.h"

namespace Mirel {

void Trigger::Arm(double time) { armedAt = time; }

// The scan resumes at the most recently fired trigger (which stays fired) and
// stops at the first trigger whose delay has not strictly passed, so triggers
// fire in list order only.
void PollTriggers(Effect& effect) {
    const double t = effect.state->time;
    for (uint32_t i = effect.lastTrigger; i < effect.triggers.size(); ++i) {
        Trigger& trigger = effect.triggers[i];
        const double elapsed = std::fabs(t - trigger.armedAt);
        if (!(trigger.delay < elapsed)) {
            break;
        }
        trigger.fired = true;
        effect.lastTrigger = i;
    }
}

}  // namespace Mirel
