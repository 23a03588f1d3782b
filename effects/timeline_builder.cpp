#include "effects/timeline_builder.h"

#include "effects/begin_effect.h"
#include "effects/hand_draw_effect.h"
#include "effects/hand_to_hatch_effect.h"
#include "effects/hatch_to_normal_effect.h"
#include "effects/shatter_effect.h"
#include "shell/demo_state.h"
#include "timeline/scheduler.h"

namespace {

struct Scheduled {
    Mirel::Effect* effect;
    double start;
    double end;
};

}  // namespace

void BuildTimeline() {
    Scheduled timeline[] = {
        {new Mirel::BeginEffect(&g_demoState), 0.0, 10.5},
        {new Mirel::HandDrawEffect(&g_demoState), 10.5, 17.5},
        {new Mirel::HandToHatchEffect(&g_demoState), 17.5, 33.5},
        {new Mirel::HatchToNormalEffect(&g_demoState), 33.5, 73.0},
        {new Mirel::ShatterEffect(&g_demoState), 73.0, 90.0},
    };
    for (Scheduled& entry : timeline) {
        entry.effect->startTime = entry.start;
        entry.effect->endTime = entry.end;
    }
    for (Scheduled& entry : timeline) AddEffect(entry.effect);
}
