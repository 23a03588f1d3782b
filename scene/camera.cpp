// Camera paths are uniform Catmull-Rom splines: the K keys sit evenly over
// [0, duration] by their position in the list, and each segment is a Hermite
// curve whose tangents are half the difference of the neighbouring keys. A
// neighbour missing at either end is taken from the other end of the list,
// looping or not; no segment joins the last key back to the first. All the
// arithmetic is single precision.
#include "scene/camera.h"

#include <cmath>

#include "resources/path_files.h"

Camera::Camera() {
    D3DXMatrixPerspectiveFovLH(&projection, fovY, aspect, zNear, zFar);
    SetLookAt(D3DXVECTOR3(0, 3, -5), D3DXVECTOR3(0, 0, 0));
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
}

void Camera::SetLookAt(const D3DXVECTOR3& eye_, const D3DXVECTOR3& target_) {
    target = target_;
    direction = target_ - eye_;
    eye = eye_;
    D3DXVec3Normalize(&direction, &direction);
    const D3DXVECTOR3 at = eye + direction;
    const D3DXVECTOR3 up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
}

void Camera::UpdateCamera(double demoTime) {
    D3DXVECTOR3 newEye = eye;
    D3DXVECTOR3 newTarget = target;
    if (followPath) {
        // A path that cannot be evaluated leaves eye and target as they are.
        Evaluate(path, static_cast<float>(demoTime - pathStartTime), &newEye, &newTarget);
    }
    SetLookAt(newEye, newTarget);
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
}

void Camera::FollowPath(CameraPath* path_, double startTime) {
    path = path_;
    if (path != nullptr) {
        path->loop = false;
    }
    pathStartTime = startTime;
    followPath = true;
}

namespace {

D3DXVECTOR3 SplinePoint(const D3DXVECTOR3& prev, const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& next2,
                        float s) {
    const D3DXVECTOR3 t0 = (p1 - prev) * 0.5f;
    const D3DXVECTOR3 t1 = (next2 - p0) * 0.5f;
    D3DXVECTOR3 out;
    D3DXVec3Hermite(&out, &p0, &t0, &p1, &t1, s);
    return out;
}

}  // namespace

bool Evaluate(const CameraPath* path, float t, D3DXVECTOR3* eye, D3DXVECTOR3* target) {
    if (path == nullptr || !path->Usable()) {
        return false;
    }
    const float duration = path->duration;
    const auto& keys = path->keys;
    const int count = static_cast<int>(keys.size());

    float r = std::fmod(t, duration);
    if (!path->loop && t > duration) {
        r = duration;
    }
    if (std::isnan(r)) {
        return false;
    }
    const float n = static_cast<float>(static_cast<uint32_t>(count - 1));
    const float u = n * (r / duration);
    // Negative local times (never produced by the demo) extrapolate the first
    // segment backwards instead of indexing before the first key.
    int i = static_cast<int>(u);
    if (i < 0) {
        i = 0;
    } else if (i > count - 1) {
        i = count - 1;
    }
    const float s = u - static_cast<float>(i);

    const int next = i + 1 >= count ? 0 : i + 1;
    const int next2 = i + 2 >= count ? 0 : i + 2;
    const int prev = i - 1 < 0 ? count - 1 : i - 1;

    *eye = SplinePoint(keys[prev].eye, keys[i].eye, keys[next].eye, keys[next2].eye, s);
    *target = SplinePoint(keys[prev].target, keys[i].target, keys[next].target, keys[next2].target, s);
    return true;
}
