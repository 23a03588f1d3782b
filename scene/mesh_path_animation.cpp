// Mesh path evaluation: the n keys sit evenly over [0, duration] by their
// position in the list (key k at k * duration / (n - 1)). Local time is the
// remainder of t by the duration; with loop off a time strictly beyond the
// duration rests on the last key (t equal to the duration gives remainder 0,
// the first key). Translation and scale blend linearly, rotation spherically,
// and the matrix is scale, then rotation, then translation. Single precision
// throughout.
//
// Guards, none of which the demo's data reaches:
// - a path without keys or with a non-positive duration yields the identity;
// - with loop on, a position that rounds up to the last key (a time just below
//   the duration) uses the last key alone rather than a key past the end;
// - a negative time extrapolates from key 0 towards key 1, however far back;
//   the segment index never goes below key 0.
#include "scene/mesh_path_animation.h"

#include <cmath>

namespace {

D3DXMATRIX* Compose(D3DXMATRIX* out, const D3DXVECTOR3& scale, const D3DXQUATERNION& rotation,
                    const D3DXVECTOR3& translation) {
    D3DXMATRIX s;
    D3DXMATRIX r;
    D3DXMATRIX t;
    D3DXMatrixScaling(&s, scale.x, scale.y, scale.z);
    D3DXMatrixRotationQuaternion(&r, &rotation);
    D3DXMatrixTranslation(&t, translation.x, translation.y, translation.z);
    D3DXMATRIX sr;
    D3DXMatrixMultiply(&sr, &s, &r);
    return D3DXMatrixMultiply(out, &sr, &t);
}

}  // namespace

D3DXMATRIX* Evaluate(const MeshPath& path, D3DXMATRIX* out, float localTime) {
    if (!path.Usable()) {
        return D3DXMatrixIdentity(out);
    }
    const int n = static_cast<int>(path.keys.size());

    float tm = std::fmod(localTime, path.duration);
    if (!path.loop && path.duration < localTime) {
        tm = path.duration;
    }
    float u = tm / path.duration * static_cast<float>(static_cast<uint32_t>(n - 1));
    if (std::isnan(u)) {
        u = 0.0f;  // a time that is not a number stands at key 0
    }
    int i = static_cast<int>(u);
    if (i < 0) {
        i = 0;
    }

    if (i + 1 >= n) {
        const MeshKey& last = path.keys[static_cast<size_t>(n - 1)];
        return Compose(out, last.scale, last.rotation, last.translation);
    }

    const float f = u - static_cast<float>(i);
    const MeshKey& a = path.keys[static_cast<size_t>(i)];
    const MeshKey& b = path.keys[static_cast<size_t>(i + 1)];
    const D3DXVECTOR3 translation = a.translation + (b.translation - a.translation) * f;
    const D3DXVECTOR3 scale = a.scale + (b.scale - a.scale) * f;
    D3DXQUATERNION rotation;
    D3DXQuaternionSlerp(&rotation, &a.rotation, &b.rotation, f);
    return Compose(out, scale, rotation, translation);
}
