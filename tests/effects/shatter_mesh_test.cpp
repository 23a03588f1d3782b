// The shattering copy of a mesh: per-triangle centroids, one random value
// per corner in the order of the one generator, and an untouched copy of a
// mesh without faces.
#include "effects/shatter_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/effects/scene_doubles.h"
#include "tests/support/test_device.h"

namespace {

// A mesh with `faces` triangles over `vertices` vertices numbered into every
// element, so that a copy shows where each one came from.
MeshHandle Numbered(IDirect3DDevice9* device, DWORD faces, DWORD vertices) {
    std::vector<SceneVertex> v;
    for (DWORD i = 0; i < vertices; ++i) {
        const float f = static_cast<float>(i);
        v.push_back({{f, 2.0f * f + 0.1f, -f}, {0, 0, 1}, {0.5f * f, 1.0f}, {1, 0, 0}, {0, f, 1}});
    }
    std::vector<DWORD> indices(3 * faces);
    for (DWORD i = 0; i < 3 * faces; ++i) indices[i] = i;
    return SceneMesh(device, v, indices);
}

// The first `count` values of the generator as random components.
std::vector<float> Sequence(int count) {
    ResetRand15();
    std::vector<float> values;
    for (int i = 0; i < count; ++i) values.push_back(static_cast<float>(rand15() * 360.0 / 2147483648.0));
    return values;
}

// The random components of a built copy, corner by corner (x of a, y of b, z of c, ...).
std::vector<float> Draws(ID3DXMesh* copy) {
    std::vector<float> draws;
    std::vector<ShatterVertex> v = ShatterVertices(copy);
    for (size_t i = 0; i + 2 < v.size(); i += 3)
        for (float r : {v[i].random.x, v[i + 1].random.y, v[i + 2].random.z}) draws.push_back(r);
    return draws;
}

class ShatterMeshTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gpu) << gpu.Error();
        ResetRand15();
    }
    TestDevice gpu{D3D9Backend::Recording, 8, 8};
};

TEST_F(ShatterMeshTest, CornersShareTheirTriangleCentroidAndEachHoldsItsOwnRandomComponent) {
    MeshHandle source = Numbered(gpu.Get(), 2, 6);
    ASSERT_NE(source, nullptr);
    MeshHandle copy(BuildShatterMesh(source.get()));
    ASSERT_NE(copy, nullptr);
    const std::vector<float> expected = Sequence(6);

    std::vector<ShatterVertex> v = ShatterVertices(copy.get());
    ASSERT_EQ(v.size(), 6u);
    for (size_t t = 0; t < 2; ++t) {
        const float middle = static_cast<float>(3 * t + 1);  // the corners are vertices 3t, 3t+1, 3t+2
        for (size_t k = 0; k < 3; ++k) {
            const ShatterVertex& corner = v[3 * t + k];
            EXPECT_NEAR(corner.centroid.x, middle, 1e-6f);
            EXPECT_NEAR(corner.centroid.y, 2.0f * middle + 0.1f, 1e-6f);
            EXPECT_NEAR(corner.centroid.z, -middle, 1e-6f);
            EXPECT_EQ(corner.centroid.w, 0.0f);
            // The source's own elements come through unchanged.
            const float f = static_cast<float>(3 * t + k);
            EXPECT_EQ(corner.position, D3DXVECTOR3(f, 2.0f * f + 0.1f, -f));
            EXPECT_EQ(corner.binormal, D3DXVECTOR3(0.0f, f, 1.0f));
        }
        // Corner a's draw in x, b's in y, c's in z; nothing else.
        EXPECT_EQ(Floats(v[3 * t].random), (std::vector<float>{expected[3 * t], 0, 0, 0}));
        EXPECT_EQ(Floats(v[3 * t + 1].random), (std::vector<float>{0, expected[3 * t + 1], 0, 0}));
        EXPECT_EQ(Floats(v[3 * t + 2].random), (std::vector<float>{0, 0, expected[3 * t + 2], 0}));
    }
    for (float r : expected) {
        EXPECT_GE(r, 0.0f);
        EXPECT_LT(r, 0.0055f);
    }
}

TEST_F(ShatterMeshTest, TwoMeshesDrawTheirValuesInTheOrderTheyAreBuilt) {
    MeshHandle boat = Numbered(gpu.Get(), 3, 9), cylinder = Numbered(gpu.Get(), 2, 6);
    ASSERT_TRUE(boat && cylinder);
    MeshHandle boatFirst(BuildShatterMesh(boat.get())), cylinderSecond(BuildShatterMesh(cylinder.get()));
    ResetRand15();
    MeshHandle cylinderFirst(BuildShatterMesh(cylinder.get())), boatSecond(BuildShatterMesh(boat.get()));

    const std::vector<float> sequence = Sequence(15);
    EXPECT_EQ(Draws(boatFirst.get()), std::vector<float>(sequence.begin(), sequence.begin() + 9));
    EXPECT_EQ(Draws(cylinderSecond.get()), std::vector<float>(sequence.begin() + 9, sequence.end()));
    EXPECT_NE(Draws(boatFirst.get()), Draws(boatSecond.get()));
    EXPECT_NE(Draws(cylinderFirst.get()), Draws(cylinderSecond.get()));
}

TEST_F(ShatterMeshTest, MeshWithoutFacesGivesACopyAndDrawsNothing) {
    MeshHandle source = Numbered(gpu.Get(), 0, 4);
    ASSERT_NE(source, nullptr);
    MeshHandle copy(BuildShatterMesh(source.get()));
    ASSERT_NE(copy, nullptr);
    std::vector<ShatterVertex> v = ShatterVertices(copy.get());
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[3].position, D3DXVECTOR3(3.0f, 2.0f * 3.0f + 0.1f, -3.0f));
    EXPECT_EQ(Floats(v[3].random), std::vector<float>(4, 0.0f));
    const int next = rand15();
    ResetRand15();
    EXPECT_EQ(next, rand15()) << "no value drawn";
    EXPECT_EQ(BuildShatterMesh(nullptr), nullptr);
}

TEST(Rand15, StaysWithinFifteenBitsAndRepeatsFromTheStart) {
    const std::vector<float> first = Sequence(8);
    int highest = 0;
    for (int i = 0; i < 100000; ++i) highest = std::max(highest, rand15());
    EXPECT_GT(highest, 32000);
    EXPECT_LE(highest, 32767);
    EXPECT_EQ(Sequence(8), first);
}

}  // namespace
