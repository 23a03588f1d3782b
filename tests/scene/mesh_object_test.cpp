#include <gtest/gtest.h>

#include "resources/path_files.h"
#include "scene/mesh_object.h"

namespace {

void ExpectIdentity(const D3DXMATRIX& m, float tolerance = 1e-6f) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(m.m[r][c], r == c ? 1.0f : 0.0f, tolerance) << "row " << r << " column " << c;
        }
    }
}

}  // namespace

TEST(SceneMesh, ZeroTransformUpdatesToIdentityAndInverseTranspose) {
    Mirel::XMeshObj object{MeshRecord{}};
    object.UpdateTransform();
    ExpectIdentity(object.world);
    ExpectIdentity(object.worldInvTranspose);
}

TEST(SceneMesh, RotatesByYawThenTranslates) {
    Mirel::ITransform transform;
    transform.rotation = D3DXVECTOR3(0, D3DX_PI / 2, 0);
    transform.position = D3DXVECTOR3(1, 2, 3);
    transform.UpdateTransform();
    D3DXVECTOR3 point(1, 0, 0);
    D3DXVECTOR3 moved;
    D3DXVec3TransformCoord(&moved, &point, &transform.world);
    EXPECT_NEAR(moved.x, 1.0f, 1e-6f);
    EXPECT_NEAR(moved.y, 2.0f, 1e-6f);
    EXPECT_NEAR(moved.z, 2.0f, 1e-6f);
}

TEST(SceneMesh, RotationAnglesArePitchYawRollAboutXYZ) {
    Mirel::ITransform pitched;
    pitched.rotation = D3DXVECTOR3(D3DX_PI / 2, 0, 0);
    pitched.UpdateTransform();
    D3DXVECTOR3 up(0, 1, 0);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &up, &pitched.world);
    EXPECT_NEAR(out.z, 1.0f, 1e-6f);  // pitch about x turns +y into +z

    Mirel::ITransform rolled;
    rolled.rotation = D3DXVECTOR3(0, 0, D3DX_PI / 2);
    rolled.UpdateTransform();
    D3DXVECTOR3 right(1, 0, 0);
    D3DXVec3TransformCoord(&out, &right, &rolled.world);
    EXPECT_NEAR(out.y, 1.0f, 1e-6f);  // roll about z turns +x into +y
}

TEST(SceneMesh, InverseTransposeUndoesTheTransposedWorld) {
    Mirel::ITransform transform;
    transform.rotation = D3DXVECTOR3(0.3f, -1.1f, 2.0f);
    transform.position = D3DXVECTOR3(-4, 5, 9);
    transform.UpdateTransform();
    D3DXMATRIX transposed;
    D3DXMatrixTranspose(&transposed, &transform.world);
    ExpectIdentity(transform.worldInvTranspose * transposed, 1e-5f);
}
