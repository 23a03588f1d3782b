#include <gtest/gtest.h>

#include <cmath>

#include "resources/path_files.h"
#include "scene/mesh_path_animation.h"
#include "tests/support/math_checks.h"

namespace {

MeshKey Key(D3DXVECTOR3 translation, D3DXVECTOR3 scale, D3DXQUATERNION rotation = {0, 0, 0, -1}) {
    MeshKey key;
    key.translation = translation;
    key.scale = scale;
    key.rotation = rotation;
    return key;
}

// n = 3, duration 4, loop off; rotations are the identity (as loaded: w negated).
MeshPath ThreeKeyPath() {
    MeshPath path;
    path.duration = 4.0f;
    path.keys = {Key({0, 0, 0}, {1, 1, 1}), Key({2, 0, 0}, {2, 2, 2}), Key({4, 4, 0}, {3, 3, 3})};
    return path;
}

D3DXMATRIX At(const MeshPath& path, float t) {
    D3DXMATRIX out;
    EXPECT_EQ(Evaluate(path, &out, t), &out);
    return out;
}

// Scale s (uniform) and translation p with no rotation.
D3DXMATRIX ScaleThenMove(float s, D3DXVECTOR3 p) {
    D3DXMATRIX scale;
    D3DXMATRIX move;
    D3DXMatrixScaling(&scale, s, s, s);
    D3DXMatrixTranslation(&move, p.x, p.y, p.z);
    return scale * move;
}

D3DXQUATERNION AboutY(float angle) { return {0, std::sin(angle / 2), 0, std::cos(angle / 2)}; }

}  // namespace

// Halfway inside each segment, the first key at exactly the duration, the
// last beyond it (or wrapped when looping), before 0 extrapolated back from
// key 0 towards key 1 however far back.
TEST(MeshPathEvaluation, TimeMapsOntoTheKeysOfThePath) {
    MeshPath path = ThreeKeyPath();
    ExpectNear(At(path, 1.0f), ScaleThenMove(1.5f, {1, 0, 0}));
    ExpectNear(At(path, 3.0f), ScaleThenMove(2.5f, {3, 2, 0}));
    ExpectNear(At(path, 4.0f), ScaleThenMove(1.0f, {0, 0, 0}));
    ExpectNear(At(path, 5.0f), ScaleThenMove(3.0f, {4, 4, 0}));
    EXPECT_EQ(At(path, 5.0f), At(path, 500.0f));
    ExpectNear(At(path, -1.0f), ScaleThenMove(0.5f, {-1, 0, 0}));
    ExpectNear(At(path, -3.0f), ScaleThenMove(-0.5f, {-3, 0, 0}));
    ExpectNear(At(path, std::nanf("")), ScaleThenMove(1.0f, {0, 0, 0}));  // not a number: within the keys
    path.loop = true;
    EXPECT_EQ(At(path, 5.0f), At(path, 1.0f));
}

TEST(MeshPathEvaluation, RotationIsTheSphericalBlendInMidSegment) {
    MeshPath path;
    path.duration = 2.0f;
    path.keys = {Key({0, 0, 0}, {1, 1, 1}, AboutY(0.0f)), Key({0, 0, 0}, {1, 1, 1}, AboutY(D3DX_PI / 2))};
    D3DXMATRIX expected;
    D3DXMatrixRotationY(&expected, D3DX_PI / 4);
    ExpectNear(At(path, 1.0f), expected);
    // A linear blend of the quaternions would not keep the matrix orthonormal at
    // a quarter of the way; the spherical one turns by exactly a quarter.
    D3DXMatrixRotationY(&expected, D3DX_PI / 8);
    ExpectNear(At(path, 0.5f), expected);
}

TEST(MeshPathEvaluation, ScalesThenRotatesThenTranslates) {
    MeshPath path;
    path.duration = 1.0f;
    path.keys = {Key({10, 20, 30}, {2, 1, 1}, AboutY(D3DX_PI / 2))};
    // (1, 0, 0) scaled to (2, 0, 0), turned about y to (0, 0, -2), then moved.
    ExpectNear(Transform({1, 0, 0}, At(path, 0.0f)), {10, 20, 28});
}

TEST(MeshPathEvaluation, KeysAreUsedInListOrderWhateverTheirIndices) {
    MeshPath path = ThreeKeyPath();
    path.keys[0].index = 2;
    path.keys[2].index = 0;
    path.keys[1].time = 0.0f;
    ExpectNear(At(path, 1.0f), ScaleThenMove(1.5f, {1, 0, 0}));
}

TEST(MeshPathEvaluation, OneKeyHoldsAndPathsThatCannotBeEvaluatedGiveTheIdentity) {
    MeshPath one;
    one.duration = 3.0f;
    one.keys = {Key({1, 2, 3}, {4, 4, 4})};
    for (float t : {0.0f, 1.5f, 7.0f}) ExpectNear(At(one, t), ScaleThenMove(4.0f, {1, 2, 3}));
    MeshPath empty;
    empty.duration = 4.0f;
    EXPECT_EQ(At(empty, 1.0f), kIdentity);
    for (float duration : {0.0f, -1.0f}) {
        MeshPath path = ThreeKeyPath();
        path.duration = duration;
        EXPECT_EQ(At(path, 1.0f), kIdentity) << duration;
    }
}
