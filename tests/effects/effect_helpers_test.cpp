#include "effects/effect_helpers.h"

#include <gtest/gtest.h>

#include "tests/support/fakes.h"

namespace {

Mirel::Trigger FiredAt(double armedAt, double delay) {
    Mirel::Trigger trigger(0, delay);
    trigger.Arm(armedAt);
    trigger.fired = true;
    return trigger;
}

TEST(FadeValues, FadeInRisesAtRateAndHoldsAt255) {
    Mirel::Trigger t = FiredAt(10.0, 0.5);
    EXPECT_EQ(FadeInValue(t, 10.5, 640), 0);
    EXPECT_EQ(FadeInValue(t, 10.75, 640), 160);
    EXPECT_EQ(FadeInValue(t, 10.5 + 255.0 / 640, 640), 255);
    EXPECT_EQ(FadeInValue(t, 99.0, 640), 255);
}

TEST(FadeValues, FadeOutFallsAtRateAndHoldsAtZero) {
    Mirel::Trigger t = FiredAt(10.0, 0.5);
    EXPECT_EQ(FadeOutValue(t, 10.5, 255), 255);
    EXPECT_EQ(FadeOutValue(t, 11.0, 255), 127);
    EXPECT_EQ(FadeOutValue(t, 11.5, 255), 0);
    EXPECT_EQ(FadeOutValue(t, 1e6, 255), 0);
}

TEST(FadeValues, LevelsNeverLeaveTheAlphaByte) {
    Mirel::Trigger t = FiredAt(10.0, 0.5);
    for (double time : {0.0, 10.49, 10.5, 12.0, 1e9}) {
        for (double rate : {255.0, 640.0, 1e6}) {
            int in = FadeInValue(t, time, rate);
            int out = FadeOutValue(t, time, rate);
            EXPECT_GE(in, 0);
            EXPECT_LE(in, 255);
            EXPECT_GE(out, 0);
            EXPECT_LE(out, 255);
        }
    }
    EXPECT_EQ(FadeColor(0), 0x00FFFFFFu);
    EXPECT_EQ(FadeColor(255), 0xFFFFFFFFu);
}

TEST(DrawAllSubsets, DrawsEachMaterialSubsetOnceInOrder) {
    FakeMesh mesh;
    MeshRecord record;
    record.mesh = &mesh;
    record.materialCount = 3;
    record.materials.resize(3);
    Mirel::XMeshObj object(record);
    DrawAllSubsets(object);
    EXPECT_EQ(mesh.subsetsDrawn, (std::vector<DWORD>{0, 1, 2}));
}

TEST(DrawAllSubsets, MeshThatFailedToLoadDrawsNothing) {
    Mirel::XMeshObj object{MeshRecord{}};
    DrawAllSubsets(object);  // must not touch the missing mesh
    SUCCEED();
}

}  // namespace
