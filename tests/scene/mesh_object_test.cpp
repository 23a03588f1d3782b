#include <gtest/gtest.h>

#include "resources/path_files.h"
#include "scene/mesh_object.h"
#include "tests/scene/scene_checks.h"

TEST(SceneMesh, ZeroTransformUpdatesToIdentityAndInverseTranspose) {
    Mirel::XMeshObj object{MeshRecord{}};
    object.UpdateTransform();
    ExpectNear(object.world, kIdentity, 1e-6f);
    ExpectNear(object.worldInvTranspose, kIdentity, 1e-6f);
}

TEST(SceneMesh, RotatesByYawThenTranslates) {
    Mirel::ITransform transform;
    transform.rotation = D3DXVECTOR3(0, D3DX_PI / 2, 0);
    transform.position = D3DXVECTOR3(1, 2, 3);
    transform.UpdateTransform();
    ExpectNear(Transform({1, 0, 0}, transform.world), {1, 2, 2}, 1e-6f);
}

TEST(SceneMesh, RotationAnglesArePitchYawRollAboutXYZ) {
    Mirel::ITransform pitched;
    pitched.rotation = D3DXVECTOR3(D3DX_PI / 2, 0, 0);
    pitched.UpdateTransform();
    ExpectNear(Transform({0, 1, 0}, pitched.world), {0, 0, 1}, 1e-6f);  // pitch about x turns +y into +z

    Mirel::ITransform rolled;
    rolled.rotation = D3DXVECTOR3(0, 0, D3DX_PI / 2);
    rolled.UpdateTransform();
    ExpectNear(Transform({1, 0, 0}, rolled.world), {0, 1, 0}, 1e-6f);  // roll about z turns +x into +y
}

TEST(SceneMesh, InverseTransposeUndoesTheTransposedWorld) {
    Mirel::ITransform transform;
    transform.rotation = D3DXVECTOR3(0.3f, -1.1f, 2.0f);
    transform.position = D3DXVECTOR3(-4, 5, 9);
    transform.UpdateTransform();
    D3DXMATRIX transposed;
    D3DXMatrixTranspose(&transposed, &transform.world);
    ExpectNear(transform.worldInvTranspose * transposed, kIdentity);
}
