#include "scene/mesh_object.h"

namespace Mirel {

ITransform::ITransform() {
    D3DXMatrixIdentity(&world);
    D3DXMatrixIdentity(&worldInvTranspose);
}

// Rotate, then translate; no scaling. A singular world matrix leaves the
// inverse transpose as the plain transpose (cannot happen for a rotation
// followed by a translation).
void ITransform::UpdateTransform() {
    D3DXMATRIX rotationMatrix;
    D3DXMATRIX translationMatrix;
    D3DXMatrixRotationYawPitchRoll(&rotationMatrix, rotation.y, rotation.x, rotation.z);
    D3DXMatrixTranslation(&translationMatrix, position.x, position.y, position.z);
    D3DXMatrixMultiply(&world, &rotationMatrix, &translationMatrix);
    D3DXMatrixTranspose(&worldInvTranspose, &world);
    D3DXMatrixInverse(&worldInvTranspose, nullptr, &worldInvTranspose);
}

XMeshObj::XMeshObj(const MeshRecord& record)
    : mesh(record.mesh), materialCount(record.materialCount), materials(record.materials) {}

}  // namespace Mirel
