#include "effects/effect_helpers.h"

#include <gtest/gtest.h>

#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "tests/support/effect_fixture.h"

namespace {

Mirel::Trigger FiredAt(double armedAt, double delay) {
    Mirel::Trigger trigger(0, delay);
    trigger.Arm(armedAt);
    trigger.fired = true;
    return trigger;
}

TEST(FadeValues, RiseAndFallAtRateFromTheTriggersMomentWithinTheAlphaByte) {
    Mirel::Trigger t = FiredAt(10.0, 0.5);
    const double times[] = {10.0, 10.5, 11.0, 11.5, 99.0};
    const int in[] = {0, 0, 127, 255, 255}, out[] = {255, 255, 127, 0, 0};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(times[i]);
        EXPECT_EQ(FadeInValue(t, times[i], 255), in[i]);
        EXPECT_EQ(FadeOutValue(t, times[i], 255), out[i]);
    }
    EXPECT_EQ(FadeInValue(t, 10.75, 640), 160);
    EXPECT_EQ(FadeInValue(t, 1e9, 1e6), 255);  // limited before the conversion
    EXPECT_EQ(FadeOutValue(t, 1e9, 1e6), 0);
    EXPECT_EQ(FadeColor(160), 0xA0FFFFFFu);
}

TEST(DrawAllSubsets, LeavesAMeshThatFailedToLoadAlone) {
    MeshRecord failed;
    failed.materialCount = 2;
    DrawAllSubsets(Mirel::XMeshObj(failed));  // no mesh: nothing to call
}

using EffectHelpers = EffectFixture;

// The matrix registers are read back transposed by every scene test; the eye's w is read nowhere else.
TEST_F(EffectHelpers, TheEyeGoesIntoOneRegisterWithWOne) {
    g_demoState.camera->eye = D3DXVECTOR3(1.5f, -2.0f, 30.0f);
    SetEyeConstant(device, 12);
    EXPECT_EQ(VertexRegister(12), (std::vector<float>{1.5f, -2.0f, 30.0f, 1.0f}));
    EXPECT_EQ(VertexRegister(13), std::vector<float>(4, 0.0f));
}

}  // namespace
