// D3DX mathematics against worked values in the row-vector, left-handed convention.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3dx9/d3dx9math.h"
#include "tests/support/math_checks.h"

namespace {

D3DXMATRIX SampleMatrix() {
    D3DXMATRIX r, s, t, m;
    D3DXMatrixRotationYawPitchRoll(&r, 0.3f, -0.7f, 1.1f);
    D3DXMatrixScaling(&s, 2.0f, 0.5f, 3.0f);
    D3DXMatrixTranslation(&t, 4.0f, -5.0f, 6.0f);
    D3DXMatrixMultiply(&m, &s, &r);
    D3DXMatrixMultiply(&m, &m, &t);
    return m;
}

}  // namespace

TEST(D3DXMatrix, AxisRotationsAreLeftHandedAndYawPitchRollAppliesRollThenPitchThenYaw) {
    D3DXMATRIX x, y, z, ypr;
    D3DXMatrixRotationX(&x, D3DX_PI / 2);
    ExpectNear(Transform({0, 1, 0}, x), {0, 0, 1});
    D3DXMatrixRotationY(&y, D3DX_PI / 2);
    ExpectNear(Transform({0, 0, 1}, y), {1, 0, 0});
    D3DXMatrixRotationZ(&z, D3DX_PI / 2);
    ExpectNear(Transform({1, 0, 0}, z), {0, 1, 0});
    D3DXMatrixRotationYawPitchRoll(&ypr, 0.4f, 0.9f, -1.3f);
    ExpectNear(ypr, *D3DXMatrixRotationZ(&z, -1.3f) * *D3DXMatrixRotationX(&x, 0.9f) * *D3DXMatrixRotationY(&y, 0.4f));
}

TEST(D3DXMatrix, InverseAndMultiplyAllowAliasingAndASingularMatrixIsRefused) {
    D3DXMATRIX m = SampleMatrix();
    D3DXMATRIX inverse, product, identity;
    float det = 0;
    ASSERT_NE(D3DXMatrixInverse(&inverse, &det, &m), nullptr);
    EXPECT_NEAR(det, 3.0f, 1e-4f);  // rotation has determinant 1, scaling 2 * 0.5 * 3
    D3DXMatrixMultiply(&product, &m, &inverse);
    ExpectNear(product, *D3DXMatrixIdentity(&identity));
    D3DXMATRIX inPlace = m;
    ASSERT_NE(D3DXMatrixInverse(&inPlace, nullptr, &inPlace), nullptr);
    ExpectNear(inPlace, inverse);
    D3DXMATRIX left = m, right = inverse;
    D3DXMatrixMultiply(&left, &left, &inverse);
    D3DXMatrixMultiply(&right, &m, &right);
    ExpectNear(left, identity);
    ExpectNear(right, identity);

    D3DXMATRIX singular, out = identity;
    D3DXMatrixScaling(&singular, 1, 0, 1);
    EXPECT_EQ(D3DXMatrixInverse(&out, &det, &singular), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&out)) << "the output is left alone";
}

TEST(D3DXMatrix, PerspectiveFovMapsNearAndFarToDepthZeroAndOne) {
    D3DXMATRIX proj;
    D3DXMatrixPerspectiveFovLH(&proj, D3DX_PI / 4, 4.0f / 3.0f, 0.1f, 1000.0f);
    EXPECT_NEAR(Transform({0, 0, 0.1f}, proj).z, 0.0f, 1e-5f);
    EXPECT_NEAR(Transform({0, 0, 1000.0f}, proj).z, 1.0f, 1e-5f);
    // The top edge of the field of view lands on y = 1, the right edge on x = 1.
    EXPECT_NEAR(Transform({0, std::tan(D3DX_PI / 8) * 10, 10}, proj).y, 1.0f, 1e-5f);
    EXPECT_NEAR(Transform({std::tan(D3DX_PI / 8) * 40 / 3, 0, 10}, proj).x, 1.0f, 1e-5f);
}

TEST(D3DXMatrix, ReflectMirrorsAboutThePlaneNormalisedFirst) {
    D3DXPLANE plane;
    D3DXVECTOR3 point(0, -3, 0), normal(0, -2, 0);
    D3DXPlaneFromPointNormal(&plane, &point, &normal);
    EXPECT_FLOAT_EQ(plane.d, -6);
    D3DXPlaneNormalize(&plane, &plane);
    EXPECT_FLOAT_EQ(plane.b, -1);
    EXPECT_FLOAT_EQ(plane.d, -3);
    D3DXVECTOR3 below(5, -5, 1);
    EXPECT_FLOAT_EQ(D3DXPlaneDotCoord(&plane, &below), 2);
    D3DXMATRIX reflect;
    D3DXMatrixReflect(&reflect, &plane);
    ExpectNear(Transform({2, 1, -7}, reflect), {2, -7, -7});
    D3DXPLANE scaled(0, 2, 0, -4);  // y = 2, not normalised
    D3DXMatrixReflect(&reflect, &scaled);
    ExpectNear(Transform({1, 5, 1}, reflect), {1, -1, 1});
}

TEST(D3DXPlane, TransformByInverseTransposeKeepsPointsOnPlane) {
    D3DXPLANE plane(0, -1, 0, -3);  // y = -3
    D3DXMATRIX m = SampleMatrix(), inverse, inverseTranspose;
    ASSERT_NE(D3DXMatrixInverse(&inverse, nullptr, &m), nullptr);
    D3DXMatrixTranspose(&inverseTranspose, &inverse);
    D3DXPLANE moved;
    D3DXPlaneTransform(&moved, &plane, &inverseTranspose);
    for (const D3DXVECTOR3& p : {D3DXVECTOR3(0, -3, 0), D3DXVECTOR3(4, -3, 1), D3DXVECTOR3(-2, -3, 7)}) {
        D3DXVECTOR3 q = Transform(p, m);
        EXPECT_NEAR(D3DXPlaneDotCoord(&moved, &q), 0, 1e-4f);
    }
}

TEST(D3DXVector, TransformCrossNormalizeAndHermite) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 1, 2, 3);
    m._44 = 2;
    D3DXVECTOR3 v(2, 4, 6), out;
    ExpectNear(Transform(v, m), {1.5f, 3, 4.5f});  // divided by w
    D3DXVec3TransformNormal(&out, &v, &m);
    ExpectNear(out, {2, 4, 6});  // no translation
    D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), zero;
    D3DXVec3Cross(&out, &x, &y);
    ExpectNear(out, {0, 0, 1});
    D3DXVECTOR3 w(3, 0, 4);
    D3DXVec3Normalize(&out, &w);
    ExpectNear(out, {0.6f, 0, 0.8f});
    D3DXVec3Normalize(&out, &zero);
    ExpectNear(out, {0, 0, 0});
    // s = 0.5: h1 = 0.5, h2 = 0.125, h3 = 0.5, h4 = -0.125.
    D3DXVECTOR3 p1(0, 0, 0), t1(1, 0, 0), p2(1, 1, 0), t2(0, 2, 0);
    D3DXVec3Hermite(&out, &p1, &t1, &p2, &t2, 1);
    ExpectNear(out, {1, 1, 0});
    D3DXVec3Hermite(&out, &p1, &t1, &p2, &t2, 0.5f);
    ExpectNear(out, {0.125f + 0.5f, 0.5f - 0.25f, 0});
}

TEST(D3DXQuaternion, SlerpHalvesTheAngleTakesTheShortPathAndBlendsNearlyEqualInputs) {
    D3DXVECTOR3 axis(0, 0, 1);
    D3DXQUATERNION a, b, negB, mid;
    D3DXMATRIX m, expected;
    D3DXQuaternionRotationAxis(&a, &axis, 0.2f);
    D3DXQuaternionRotationAxis(&b, &axis, 1.2f);
    D3DXQuaternionSlerp(&mid, &a, &b, 0.5f);
    D3DXMatrixRotationQuaternion(&m, &mid);
    ExpectNear(m, *D3DXMatrixRotationZ(&expected, 0.7f));
    negB = D3DXQUATERNION(-b.x, -b.y, -b.z, -b.w);  // same rotation, opposite hemisphere
    D3DXQuaternionSlerp(&mid, &a, &negB, 0.5f);
    D3DXMatrixRotationQuaternion(&m, &mid);
    ExpectNear(m, expected);
    D3DXQUATERNION p(0, 0, 0, 1), q(0.0001f, 0, 0, 1), out;
    D3DXQuaternionSlerp(&out, &p, &q, 0.25f);
    EXPECT_NEAR(out.x, 0.000025f, 1e-9f);
    EXPECT_NEAR(out.w, 1, 1e-6f);
}

TEST(D3DXQuaternion, AxisRotationsComposeAndRoundTripThroughMatrices) {
    D3DXVECTOR3 diagonal(2, 2, 2), ax(1, 0, 0), ay(0, 1, 0);
    D3DXMATRIX axis, fromQ;
    D3DXMatrixRotationAxis(&axis, &diagonal, 2 * D3DX_PI / 3);  // the axis is normalised first
    ExpectNear(Transform({1, 0, 0}, axis), {0, 1, 0});
    D3DXQUATERNION q;
    D3DXQuaternionRotationAxis(&q, &diagonal, 2 * D3DX_PI / 3);
    ExpectNear(*D3DXMatrixRotationQuaternion(&fromQ, &q), axis);

    D3DXQUATERNION qa, qb;
    D3DXMATRIX ma, mb;
    D3DXQuaternionRotationAxis(&qa, &ax, 0.6f);
    D3DXQuaternionRotationAxis(&qb, &ay, -1.1f);
    D3DXQuaternionMultiply(&q, &qa, &qb);  // qa first, then qb
    ExpectNear(*D3DXMatrixRotationQuaternion(&fromQ, &q),
               *D3DXMatrixRotationQuaternion(&ma, &qa) * *D3DXMatrixRotationQuaternion(&mb, &qb));
    // Every branch of the matrix-to-quaternion conversion (largest of w, x, y, z).
    for (const auto& a : {D3DXVECTOR3(0.1f, 0.2f, 0.3f), D3DXVECTOR3(3.0f, 0.1f, 0.0f), D3DXVECTOR3(0.0f, 3.0f, 0.1f),
                          D3DXVECTOR3(0.1f, 0.0f, 3.0f)}) {
        D3DXMatrixRotationYawPitchRoll(&ma, a.x, a.y, a.z);
        D3DXQuaternionRotationMatrix(&q, &ma);
        ExpectNear(*D3DXMatrixRotationQuaternion(&mb, &q), ma, 1e-4f);
    }
}
