// The camera paths and the credits' mesh path, read and played the way the
// demo does: the flights cover their scenes, stay clear of the sea, the
// island and the yacht, move smoothly and keep their subject in view.
#include <gtest/gtest.h>

#include <cmath>

#include "resources/path_files.h"
#include "scene/mesh_path_animation.h"
#include "scene/camera.h"
#include "tests/content/content_files.h"
#include "tools/contentgen/island.h"
#include "tools/contentgen/world.h"

using namespace content_test;
using namespace gen::world;

namespace {

CameraPath LoadCameraPath(const std::string& name) {
    std::vector<uint8_t> bytes = PackEntry(name);
    CameraPath path;
    EXPECT_TRUE(ParseCameraPath(bytes.data(), uint32_t(bytes.size()), path)) << name;
    return path;
}

// Clip-space position of a point for the demo's camera at eye/target.
D3DXVECTOR3 Project(const D3DXVECTOR3& eye, const D3DXVECTOR3& target, const D3DXVECTOR3& point, float* depth) {
    D3DXMATRIX view, projection, viewProjection;
    D3DXVECTOR3 up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &target, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, 4.0f / 3.0f, 0.1f, 1000.0f);
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
    D3DXVECTOR4 clip;
    D3DXVec3Transform(&clip, &point, &viewProjection);
    *depth = clip.w;
    return D3DXVECTOR3(clip.x / clip.w, clip.y / clip.w, clip.z / clip.w);
}

bool InView(const D3DXVECTOR3& eye, const D3DXVECTOR3& target, const D3DXVECTOR3& point) {
    float depth = 0;
    D3DXVECTOR3 p = Project(eye, target, point, &depth);
    return depth > 0.1f && std::fabs(p.x) < 0.95f && std::fabs(p.y) < 0.95f;
}

const D3DXVECTOR3 kBoat(kBoatX, 2.0f, kBoatZ);
const D3DXVECTOR3 kIslandMiddle(-4, 8, 0);

struct Flight {
    const char* file;
    float span;              // seconds of the path the effects play
    D3DXVECTOR3 subject[2];  // in view all along: one or the other
};
const Flight kFlights[] = {{"HandDraw.cp", 23.0f, {kIslandMiddle, kIslandMiddle}},
                           {"HatchToNormal.cp", 39.5f, {kIslandMiddle, kBoat}},
                           {"Shatter.cp", 17.0f, {kBoat, kBoat}}};

}  // namespace

TEST(CameraPaths, CoverTheirScenesAndFlySmoothlyClearOfEverythingWithTheirSubjectInView) {
    // At 60 frames a second the eye never jumps and never turns sharply, the
    // first and last segments included; it stays above the sea and the
    // island, clear of the yacht, and the far side of the sky dome inside the
    // far plane (1000).
    const float dt = 1.0f / 60;
    for (const Flight& f : kFlights) {
        SCOPED_TRACE(f.file);
        CameraPath path = LoadCameraPath(f.file);
        ASSERT_TRUE(path.Usable());
        EXPECT_GE(path.duration, f.span);
        EXPECT_LE(path.duration, f.span + 2);
        for (size_t k = 0; k < path.keys.size(); ++k) EXPECT_EQ(path.keys[k].index, k);
        D3DXVECTOR3 previous, velocity(0, 0, 0), target;
        Evaluate(&path, 0, &previous, &target);
        for (float t = 0; t <= f.span + 0.2f; t += dt) {
            D3DXVECTOR3 eye;
            ASSERT_TRUE(Evaluate(&path, t, &eye, &target));
            ASSERT_GT(eye.y, kSeaLevel + 0.8f) << t;
            ASSERT_GT(eye.y, gen::IslandHeight(eye.x, eye.z) + 3.0f) << t;
            ASSERT_TRUE(std::hypot(eye.x - kBoatX, eye.z - kBoatZ) > 9.0f || eye.y > kMastTop + 3) << t;
            ASSERT_LT(D3DXVec3Length(&eye) + kSkyRadius, 1000.0f - 10) << t;
            ASSERT_TRUE(t > f.span || InView(eye, target, f.subject[0]) || InView(eye, target, f.subject[1])) << t;
            D3DXVECTOR3 v = (eye - previous) / dt;
            ASSERT_LT(D3DXVec3Length(&v), 30.0f) << t;
            if (t > 2 * dt) {
                D3DXVECTOR3 a = (v - velocity) / dt;
                ASSERT_LT(D3DXVec3Length(&a), 25.0f) << t;
            }
            previous = eye;
            velocity = v;
        }
    }
}

TEST(CreditsPath, BringsTheCardToRestFacingTheFixedCamera) {
    std::vector<uint8_t> bytes = PackEntry("meshtest.cp");
    MeshPath path;
    ASSERT_TRUE(ParseMeshPath(bytes.data(), uint32_t(bytes.size()), path));
    ASSERT_TRUE(path.Usable());
    EXPECT_NEAR(path.duration, 14.6f, 0.01f) << "from the trigger at 95.4 s to the end";
    const D3DXVECTOR3 eye(kStarEye.x, kStarEye.y, kStarEye.z), origin(0, 0, 0);
    struct Pose {
        bool inView = true;        // all four corners on screen
        bool facesCamera = false;  // its face (-z) turned to the eye
        D3DXVECTOR3 right;         // where its x axis points
    };
    auto pose = [&](float t) {
        D3DXMATRIX m;
        Evaluate(path, &m, t);
        Pose out;
        for (float x : {-2.0f, 2.0f})
            for (float y : {-1.0f, 1.0f}) {
                D3DXVECTOR3 corner(x, y, 0), w;
                D3DXVec3TransformCoord(&w, &corner, &m);
                out.inView = out.inView && InView(eye, origin, w);
            }
        D3DXVECTOR3 front(0, 0, -1), xAxis(1, 0, 0), zero(0, 0, 0), face, centre;
        D3DXVec3TransformNormal(&face, &front, &m);
        D3DXVec3TransformNormal(&out.right, &xAxis, &m);
        D3DXVec3TransformCoord(&centre, &zero, &m);
        D3DXVECTOR3 toEye = eye - centre;
        out.facesCamera = D3DXVec3Dot(&face, &toEye) > 0;
        return out;
    };
    D3DXVECTOR3 camRight, forward = origin - eye, up(0, 1, 0);
    D3DXVec3Cross(&camRight, &up, &forward);
    for (float t = 3.5f; t <= 10.0f; t += 0.5f) {
        Pose p = pose(t);
        EXPECT_TRUE(p.inView) << "card whole on screen at " << t;
        EXPECT_TRUE(p.facesCamera) << t;
        // Its x axis runs to the camera's right, so the text reads left to right.
        EXPECT_GT(D3DXVec3Dot(&p.right, &camRight), 0.8f * D3DXVec3Length(&p.right) * D3DXVec3Length(&camRight)) << t;
    }
    EXPECT_FALSE(pose(0.0f).inView) << "the card flies in from off the picture";
}
