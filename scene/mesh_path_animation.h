// Key-framed mesh paths played back as world matrices.
#pragma once

#include "platform/d3dx9/d3dx9math.h"
#include "resources/path_files.h"

// World matrix of the path at local time t (scale, then rotation, then
// translation). An unusable path yields the identity.
D3DXMATRIX* Evaluate(const MeshPath& path, D3DXMATRIX* out, float localTime);
