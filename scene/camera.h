// The demo's one camera: a fixed left-handed perspective and an eye/target
// pair, either placed by hand or flown along a camera path.
#pragma once

#include "platform/d3dx9/d3dx9math.h"

struct CameraPath;

class Camera {
public:
    Camera();

    void SetLookAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& target);
    void UpdateCamera(double demoTime);
    // Binds a path whose local time 0 is `startTime` (demo time); the path's loop flag is cleared.
    void FollowPath(CameraPath* path, double startTime);

    float zNear = 0.1f;
    float zFar = 1000.0f;
    float fovY = D3DX_PI / 4;
    float aspect = 4.0f / 3.0f;
    D3DXVECTOR3 eye{0, 3, -5};
    D3DXVECTOR3 direction;
    D3DXVECTOR3 target{0, 0, 0};
    D3DXMATRIX view;
    D3DXMATRIX projection;
    D3DXMATRIX viewProjection;
    bool followPath = false;
    double pathStartTime = 0.0;
    CameraPath* path = nullptr;
};

// Catmull-Rom position of eye and target at local time t. False, leaving the
// outputs untouched, for a path without keys or with a non-positive duration.
bool Evaluate(const CameraPath* path, float t, D3DXVECTOR3* eye, D3DXVECTOR3* target);
