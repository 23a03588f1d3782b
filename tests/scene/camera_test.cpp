#include <gtest/gtest.h>

#include <cmath>

#include "resources/path_files.h"
#include "scene/camera.h"
#include "tests/support/math_checks.h"

namespace {

CameraKey Key(D3DXVECTOR3 eye, D3DXVECTOR3 target) {
    CameraKey key;
    key.eye = eye;
    key.target = target;
    return key;
}

// Three keys far apart in every coordinate, duration 10.
CameraPath ThreeKeyPath() {
    CameraPath path;
    path.duration = 10.0f;
    path.keys = {Key({1, 2, 3}, {0, 0, 1}), Key({10, -4, 7}, {5, 5, 5}), Key({-20, 8, 30}, {-1, 2, -3})};
    return path;
}

// Where the path puts the eye and the target at time t.
struct Place {
    D3DXVECTOR3 eye, target;
};
Place At(const CameraPath& path, float t) {
    Place place;
    EXPECT_TRUE(Evaluate(&path, t, &place.eye, &place.target));
    return place;
}

}  // namespace

TEST(Camera, StartsLookingFromZeroThreeMinusFiveAtTheOriginThroughTheFixedLens) {
    Camera camera;
    EXPECT_FALSE(camera.followPath);
    ExpectNear(camera.direction, D3DXVECTOR3(0, -3, 5) / std::sqrt(34.0f));
    // The eye goes to the view-space origin, the target straight ahead on +z.
    ExpectNear(Transform(D3DXVECTOR3(0, 3, -5), camera.view), D3DXVECTOR3(0, 0, 0));
    ExpectNear(Transform(D3DXVECTOR3(0, 0, 0), camera.view), D3DXVECTOR3(0, 0, std::sqrt(34.0f)));
    // World +x stays to the right, world up stays up (positive view y).
    EXPECT_GT(Transform(D3DXVECTOR3(1, 0, 0), camera.view).x, 0.9f);
    EXPECT_GT(Transform(D3DXVECTOR3(0, 4, -5), camera.view).y, 0.0f);
    // A quarter pi vertically, 4:3, near 0.1, far 1000.
    D3DXMATRIX lens;
    ExpectNear(camera.projection, *D3DXMatrixPerspectiveFovLH(&lens, D3DX_PI / 4, 4.0f / 3.0f, 0.1f, 1000.0f));
    EXPECT_EQ(camera.viewProjection, camera.view * camera.projection);
}

TEST(Camera, SetLookAtLeavesViewProjectionForTheNextUpdate) {
    Camera camera;
    const D3DXMATRIX before = camera.viewProjection;
    camera.SetLookAt(D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(camera.viewProjection, before);
    ExpectNear(camera.direction, D3DXVECTOR3(-1, 0, 0));
    camera.UpdateCamera(1.0);
    EXPECT_EQ(camera.viewProjection, camera.view * camera.projection);
    EXPECT_EQ(camera.eye, D3DXVECTOR3(10, 0, 0));
}

// Through the keys at even spacing; exactly the duration wraps to the first
// key, beyond it the last holds unless the path loops; before 0 the first
// segment goes on.
TEST(CameraPathEvaluation, PassesThroughKeysAtEvenSpacingAndWrapsOrHoldsBeyondTheDuration) {
    CameraPath path = ThreeKeyPath();
    EXPECT_EQ(At(path, 0.0f).eye, path.keys[0].eye);
    ExpectNear(At(path, 5.0f).eye, path.keys[1].eye);
    ExpectNear(At(path, 5.0f).target, path.keys[1].target);
    ExpectNear(At(path, 10.0f).eye, path.keys[0].eye);
    ExpectNear(At(path, 10.5f).eye, path.keys[2].eye);
    ExpectNear(At(path, 10.5f).target, path.keys[2].target);
    ExpectNear(At(path, 1000.0f).eye, path.keys[2].eye);
    for (float t : {-0.5f, -9.99f}) EXPECT_TRUE(std::isfinite(At(path, t).eye.x)) << "t = " << t;
    path.loop = true;
    EXPECT_EQ(At(path, 12.5f).eye, At(path, 2.5f).eye);
    EXPECT_EQ(At(path, 12.5f).target, At(path, 2.5f).target);
}

// Along a straight row halfway is halfway between keys, except on the first
// segment: its start tangent borrows from the last key, so the curve bows
// there (s = 0.5, T0 = 0.5 * (1 - 4) = -1.5, T1 = 0.5 * (2 - 0) = 1:
// 0.125 * (-1.5) + 0.5 * 1 - 0.125 * 1 = 0.1875).
TEST(CameraPathEvaluation, StraightRowIsFollowedExceptWhereAnEndTangentBorrowsFromTheOtherEnd) {
    CameraPath path;
    path.duration = 4.0f;
    for (int k = 0; k < 5; ++k) path.keys.push_back(Key({1.0f * k, 1, 0}, {0, 0, 3.0f * k}));
    ExpectNear(At(path, 1.5f).eye, D3DXVECTOR3(1.5f, 1, 0));
    ExpectNear(At(path, 2.5f).target, D3DXVECTOR3(0, 0, 7.5f));
    ExpectNear(At(path, 0.5f).eye, D3DXVECTOR3(0.1875f, 1, 0));
}

TEST(CameraPathEvaluation, OneKeyHoldsAndUnusablePathsLeaveTheOutputsUntouched) {
    CameraPath one;
    one.duration = 4.0f;
    one.keys = {Key({3, 4, 5}, {6, 7, 8})};
    for (float t : {-1.0f, 1.3f, 9.0f}) EXPECT_EQ(At(one, t).target, D3DXVECTOR3(6, 7, 8)) << "t = " << t;
    D3DXVECTOR3 eye(1, 2, 3);
    D3DXVECTOR3 target(4, 5, 6);
    CameraPath empty;
    empty.duration = 5.0f;
    EXPECT_FALSE(Evaluate(&empty, 1.0f, &eye, &target));
    CameraPath zeroLength = ThreeKeyPath();
    zeroLength.duration = 0.0f;
    EXPECT_FALSE(Evaluate(&zeroLength, 1.0f, &eye, &target));
    EXPECT_FALSE(Evaluate(nullptr, 1.0f, &eye, &target));
    EXPECT_EQ(eye, D3DXVECTOR3(1, 2, 3));
    EXPECT_EQ(target, D3DXVECTOR3(4, 5, 6));
}

TEST(CameraFollowing, UsesLocalTimeFromTheBindingClearsLoopAndRestsOnTheLastKey) {
    CameraPath path = ThreeKeyPath();
    path.loop = true;
    Camera camera;
    camera.FollowPath(&path, 20.0);
    EXPECT_FALSE(path.loop);
    camera.UpdateCamera(25.0);
    ExpectNear(camera.eye, path.keys[1].eye);
    ExpectNear(camera.target, path.keys[1].target);
    EXPECT_EQ(camera.viewProjection, camera.view * camera.projection);
    camera.UpdateCamera(60.0);
    ExpectNear(camera.eye, path.keys[2].eye);
}

TEST(CameraFollowing, KeepsThePreviousPlaceWhenThePathCannotBeEvaluated) {
    CameraPath missing;  // a path whose file failed to load
    Camera camera;
    camera.SetLookAt(D3DXVECTOR3(7, 8, 9), D3DXVECTOR3(1, 1, 1));
    camera.FollowPath(&missing, 0.0);
    camera.UpdateCamera(3.0);
    EXPECT_EQ(camera.eye, D3DXVECTOR3(7, 8, 9));
    EXPECT_EQ(camera.target, D3DXVECTOR3(1, 1, 1));
    camera.FollowPath(nullptr, 0.0);
    camera.UpdateCamera(4.0);
    EXPECT_EQ(camera.eye, D3DXVECTOR3(7, 8, 9));
    camera.followPath = false;  // a free camera stays where it is
    camera.UpdateCamera(5.0);
    EXPECT_EQ(camera.eye, D3DXVECTOR3(7, 8, 9));
}
