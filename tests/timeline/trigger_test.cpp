#include <gtest/gtest.h>

#include "tests/timeline/recording_effect.h"

class Triggers : public DemoStateTest {
protected:
    // An effect started at `start` with triggers of the given delays, ids 0, 1, 2, ...
    RecordingEffect& Started(double start, std::initializer_list<double> delays) {
        effect = std::make_unique<RecordingEffect>("e", start, start + 100.0, &log);
        int32_t id = 0;
        for (double delay : delays) effect->triggers.emplace_back(id++, delay);
        effect->Start(start);
        return *effect;
    }

    void PollAt(double time) {
        g_demoState.time = time;
        Mirel::PollTriggers(*effect);
    }

    std::vector<bool> Fired() const {
        std::vector<bool> fired;
        for (const Mirel::Trigger& trigger : effect->triggers) fired.push_back(trigger.fired);
        return fired;
    }

    std::unique_ptr<RecordingEffect> effect;
};

// The elapsed time is the distance from the arm time, either way.
TEST_F(Triggers, FireOnceTheDistanceFromTheStartStrictlyExceedsTheirDelayAndStayFired) {
    Started(10.0, {0.5});
    PollAt(10.5);
    EXPECT_FALSE(effect->triggers[0].fired);
    PollAt(10.5001);
    EXPECT_TRUE(effect->triggers[0].fired);
    PollAt(10.1);
    EXPECT_TRUE(effect->triggers[0].fired) << "never cleared";
    Started(10.0, {0.5});
    PollAt(9.0);
    EXPECT_TRUE(effect->triggers[0].fired);
}

TEST_F(Triggers, FireInArrayOrderSeveralInOneLongFrame) {
    Started(0.0, {2.0, 1.0});
    PollAt(1.5);
    EXPECT_EQ(Fired(), (std::vector<bool>{false, false})) << "the second waits for the first";
    PollAt(2.5);
    EXPECT_EQ(Fired(), (std::vector<bool>{true, true}));
    Started(0.0, {0.5, 1.0, 1.5, 5.0});
    PollAt(2.0);
    EXPECT_EQ(Fired(), (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(effect->lastTrigger, 2u);
}

TEST_F(Triggers, ScanResumesAtTheMostRecentlyFiredWithoutRevisitingEarlierOnes) {
    Started(0.0, {0.5, 1.0, 1.5});
    PollAt(0.75);
    EXPECT_EQ(effect->lastTrigger, 0u);
    PollAt(1.25);
    EXPECT_EQ(effect->lastTrigger, 1u);
    PollAt(1.3);
    EXPECT_EQ(effect->lastTrigger, 1u);
    Started(0.0, {0.5, 1.0});
    effect->lastTrigger = 1;
    PollAt(2.0);
    EXPECT_EQ(Fired(), (std::vector<bool>{false, true}));
    Started(0.0, {});
    PollAt(50.0);
    EXPECT_EQ(effect->lastTrigger, 0u) << "an effect without triggers";
}

TEST_F(Triggers, StartArmsEveryTriggerButKeepsFiredFlagsAndScanPosition) {
    Started(0.0, {0.5, 1.0});
    PollAt(0.75);
    effect->Start(20.0);
    EXPECT_EQ(effect->triggers[0].armedAt, 20.0);
    EXPECT_EQ(effect->triggers[1].armedAt, 20.0);
    EXPECT_TRUE(effect->triggers[0].fired);
    EXPECT_EQ(effect->lastTrigger, 0u);
}
