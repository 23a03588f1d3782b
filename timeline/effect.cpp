#include "timeline/effect.h"

namespace Mirel {

void Effect::Start(double time) {
    for (Trigger& trigger : triggers) {
        trigger.Arm(time);
    }
}

}  // namespace Mirel
