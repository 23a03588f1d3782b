#include <gtest/gtest.h>

#include "resources/path_files.h"
#include "scene/mesh_object.h"
#include "tests/support/math_checks.h"

// Pitch about x turns +y into +z, yaw about y +x into -z, roll about z +x into +y; then the move.
TEST(SceneMesh, RotationAnglesArePitchYawRollAboutXYZThenTheMove) {
    Mirel::ITransform pitched, yawed, rolled;
    pitched.rotation = D3DXVECTOR3(D3DX_PI / 2, 0, 0);
    yawed.rotation = D3DXVECTOR3(0, D3DX_PI / 2, 0);
    yawed.position = D3DXVECTOR3(1, 2, 3);
    rolled.rotation = D3DXVECTOR3(0, 0, D3DX_PI / 2);
    for (Mirel::ITransform* t : {&pitched, &yawed, &rolled}) t->UpdateTransform();
    ExpectNear(Transform({0, 1, 0}, pitched.world), {0, 0, 1}, 1e-6f);
    ExpectNear(Transform({1, 0, 0}, yawed.world), {1, 2, 2}, 1e-6f);
    ExpectNear(Transform({1, 0, 0}, rolled.world), {0, 1, 0}, 1e-6f);
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
