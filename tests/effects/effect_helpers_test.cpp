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

TEST(DrawAllSubsets, DrawsEachMaterialSubsetOnceInOrderAndNothingOfAMissingMesh) {
    FakeMesh mesh;
    MeshRecord record;
    record.mesh = &mesh;
    record.materialCount = 3;
    record.materials.resize(3);
    DrawAllSubsets(Mirel::XMeshObj(record));
    EXPECT_EQ(mesh.subsetsDrawn, (std::vector<DWORD>{0, 1, 2}));
    MeshRecord failed;
    failed.materialCount = 2;
    DrawAllSubsets(Mirel::XMeshObj(failed));  // a mesh that failed to load is not touched
}

using EffectHelpers = EffectFixture;

TEST_F(EffectHelpers, MatrixGoesTransposedIntoFourRegistersAndTheEyeWithWOne) {
    D3DXMATRIX m;
    for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = float(i + 1);
    SetMatrixConstant(device, 8, m);
    float registers[16] = {};
    device->GetVertexShaderConstantF(8, registers, 4);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(registers[i], m.m[i % 4][i / 4]) << i;
    float before[4] = {};
    device->GetVertexShaderConstantF(12, before, 1);
    EXPECT_EQ(before[0], 0.0f) << "only four registers written";

    g_demoState.camera->eye = D3DXVECTOR3(1.5f, -2.0f, 30.0f);
    SetEyeConstant(device, 12);
    float eye[4] = {};
    device->GetVertexShaderConstantF(12, eye, 1);
    EXPECT_EQ(std::vector<float>(eye, eye + 4), (std::vector<float>{1.5f, -2.0f, 30.0f, 1.0f}));
}

TEST_F(EffectHelpers, TitleWordsAreDrawnInOneSpriteBatchAtTheirPlacesAndLevels) {
    DrawTitleWords(D3DXSPRITE_OBJECTSPACE, {{"Textures//tavo.png", 10.0f, 20.0f, 160}, {"Textures//ost.png", -5.0f, 7.0f, 255}});
    EXPECT_EQ(sprite.calls, (std::vector<std::string>{"Begin(4)", "SetTransform", "Draw", "Draw", "End"}));
    ASSERT_EQ(sprite.drawn.size(), 2u);
    EXPECT_EQ(sprite.drawn[0].texture, g_demoState.resources->GetTexture("Textures//tavo.png"));
    EXPECT_NE(sprite.drawn[0].texture, nullptr);
    EXPECT_EQ(sprite.drawn[0].position, D3DXVECTOR3(10.0f, 20.0f, 0.0f));
    EXPECT_EQ(sprite.drawn[1].position, D3DXVECTOR3(-5.0f, 7.0f, 0.0f));
    EXPECT_EQ(sprite.drawn[0].color, 0xA0FFFFFFu);
    EXPECT_EQ(sprite.drawn[1].color, 0xFFFFFFFFu);
    D3DXMATRIX scaling;
    D3DXMatrixScaling(&scaling, 0.0005f, -0.0005f, 0.0f);
    EXPECT_EQ(sprite.drawn[1].transform, scaling);
}

}  // namespace
