// The timeline as built: six scenes in their order, each with its start and
// end time, queued after its Init and not yet started.
#include "effects/timeline_builder.h"

#include <gtest/gtest.h>

#include <iterator>
#include <typeinfo>

#include "effects/begin_effect.h"
#include "effects/hand_draw_effect.h"
#include "effects/hand_to_hatch_effect.h"
#include "effects/hatch_to_normal_effect.h"
#include "effects/shatter_effect.h"
#include "effects/star_effect.h"
#include "shell/demo_state.h"
#include "tests/support/effect_fixture.h"

namespace {

class TimelineBuilder : public EffectFixture {};

TEST_F(TimelineBuilder, SixScenesInOrderEachFromItsStartToItsEnd) {
    struct Scene {
        const std::type_info& type;
        double start;
        double end;
    };
    const Scene timeline[] = {
        {typeid(Mirel::BeginEffect), 0.0, 10.5},        {typeid(Mirel::HandDrawEffect), 10.5, 17.5},
        {typeid(Mirel::HandToHatchEffect), 17.5, 33.5}, {typeid(Mirel::HatchToNormalEffect), 33.5, 73.0},
        {typeid(Mirel::ShatterEffect), 73.0, 90.0},     {typeid(Mirel::StarEffect), 90.0, 110.0},
    };
    LoadSceneMeshes();
    BuildTimeline();
    auto& pending = g_demoState.pendingEffects;
    ASSERT_EQ(pending.size(), std::size(timeline));
    for (const Scene& scene : timeline) {
        Mirel::Effect* effect = pending.top();
        pending.pop();
        EXPECT_TRUE(typeid(*effect) == scene.type) << typeid(*effect).name() << " where " << scene.type.name();
        EXPECT_EQ(effect->startTime, scene.start) << scene.type.name();
        EXPECT_EQ(effect->endTime, scene.end) << scene.type.name();
        EXPECT_FALSE(effect->started);
        effect->Stop();
        delete effect;
    }
}

}  // namespace
