// D3DX mathematics against worked values in the row-vector, left-handed convention.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3dx9/d3dx9math.h"

namespace {

constexpr float kTolerance = 1e-5f;

void ExpectVec3Near(const D3DXVECTOR3& actual, float x, float y, float z, float tolerance = kTolerance) {
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

void ExpectMatrixNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected, float tolerance = kTolerance) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual.m[r][c], expected.m[r][c], tolerance) << r << "," << c;
}

D3DXVECTOR3 TransformPoint(const D3DXVECTOR3& p, const D3DXMATRIX& m) {
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &p, &m);
    return out;
}

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

TEST(D3DXMatrix, YawPitchRollAppliesRollThenPitchThenYaw) {
    D3DXMATRIX ypr, x, y, z, expected;
    D3DXMatrixRotationYawPitchRoll(&ypr, 0.4f, 0.9f, -1.3f);
    D3DXMatrixRotationX(&x, 0.9f);
    D3DXMatrixRotationY(&y, 0.4f);
    D3DXMatrixRotationZ(&z, -1.3f);
    expected = z * x * y;
    ExpectMatrixNear(ypr, expected);
}

TEST(D3DXMatrix, AxisRotationsFollowLeftHandedRule) {
    D3DXMATRIX m;
    D3DXMatrixRotationX(&m, D3DX_PI / 2);
    ExpectVec3Near(TransformPoint({0, 1, 0}, m), 0, 0, 1);
    D3DXMatrixRotationY(&m, D3DX_PI / 2);
    ExpectVec3Near(TransformPoint({0, 0, 1}, m), 1, 0, 0);
    D3DXMatrixRotationZ(&m, D3DX_PI / 2);
    ExpectVec3Near(TransformPoint({1, 0, 0}, m), 0, 1, 0);
}

TEST(D3DXMatrix, RotationAxisNormalisesTheAxisAndMatchesTheQuaternionRotation) {
    D3DXMATRIX axis, fromQ;
    D3DXVECTOR3 diagonal(2, 2, 2);
    D3DXMatrixRotationAxis(&axis, &diagonal, 2 * D3DX_PI / 3);
    ExpectVec3Near(TransformPoint({1, 0, 0}, axis), 0, 1, 0);
    D3DXQUATERNION q;
    D3DXQuaternionRotationAxis(&q, &diagonal, 2 * D3DX_PI / 3);
    ExpectMatrixNear(*D3DXMatrixRotationQuaternion(&fromQ, &q), axis);
}

TEST(D3DXMatrix, InverseTimesMatrixIsIdentityAndReportsDeterminant) {
    D3DXMATRIX m = SampleMatrix();
    D3DXMATRIX inverse, product, identity;
    float det = 0;
    ASSERT_NE(D3DXMatrixInverse(&inverse, &det, &m), nullptr);
    EXPECT_NEAR(det, 3.0f, 1e-4f);  // rotation has determinant 1, scaling 2 * 0.5 * 3
    D3DXMatrixMultiply(&product, &m, &inverse);
    ExpectMatrixNear(product, *D3DXMatrixIdentity(&identity));
    D3DXMATRIX inPlace = m;  // output aliasing the input
    ASSERT_NE(D3DXMatrixInverse(&inPlace, nullptr, &inPlace), nullptr);
    ExpectMatrixNear(inPlace, inverse);
}

TEST(D3DXMatrix, InverseOfSingularMatrixIsNullAndLeavesOutput) {
    D3DXMATRIX singular, out;
    D3DXMatrixScaling(&singular, 1, 0, 1);
    D3DXMatrixIdentity(&out);
    float det = 5;
    EXPECT_EQ(D3DXMatrixInverse(&out, &det, &singular), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&out));
}

TEST(D3DXMatrix, MultiplyAllowsOutputAliasingEitherInput) {
    D3DXMATRIX a = SampleMatrix(), b, expected;
    D3DXMatrixRotationX(&b, 0.5f);
    D3DXMatrixMultiply(&expected, &a, &b);
    D3DXMATRIX left = a;
    D3DXMatrixMultiply(&left, &left, &b);
    ExpectMatrixNear(left, expected);
    D3DXMATRIX right = b;
    D3DXMatrixMultiply(&right, &a, &right);
    ExpectMatrixNear(right, expected);
}

TEST(D3DXMatrix, LookAtFromDefaultCameraPutsTargetOnViewAxis) {
    D3DXMATRIX view;
    D3DXVECTOR3 eye(0, 3, -5), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    float len = std::sqrt(34.0f);
    // Rows: x axis (1,0,0); y axis (0, 5, 3)/len; z axis (0, -3, 5)/len, as columns.
    D3DXMATRIX expected(1, 0, 0, 0,               //
                        0, 5 / len, -3 / len, 0,  //
                        0, 3 / len, 5 / len, 0,   //
                        0, 0, len, 1);
    ExpectMatrixNear(view, expected);
}

TEST(D3DXMatrix, PerspectiveFovMapsNearAndFarToDepthZeroAndOne) {
    D3DXMATRIX proj;
    D3DXMatrixPerspectiveFovLH(&proj, D3DX_PI / 4, 4.0f / 3.0f, 0.1f, 1000.0f);
    float yScale = 1.0f / std::tan(D3DX_PI / 8);
    EXPECT_NEAR(proj._11, yScale * 0.75f, 1e-5f);
    EXPECT_NEAR(proj._22, yScale, 1e-5f);
    EXPECT_EQ(proj._34, 1.0f);
    EXPECT_NEAR(TransformPoint({0, 0, 0.1f}, proj).z, 0.0f, 1e-5f);
    EXPECT_NEAR(TransformPoint({0, 0, 1000.0f}, proj).z, 1.0f, 1e-5f);
    // The top edge of the field of view lands on y = 1.
    EXPECT_NEAR(TransformPoint({0, std::tan(D3DX_PI / 8) * 10, 10}, proj).y, 1.0f, 1e-5f);
}

TEST(D3DXMatrix, OrthoOffCenterMapsBoxToClipCube) {
    D3DXMATRIX m;
    D3DXMatrixOrthoOffCenterLH(&m, 0, 640, 480, 0, 0, 1);
    ExpectVec3Near(TransformPoint({0, 0, 0}, m), -1, 1, 0);
    ExpectVec3Near(TransformPoint({640, 480, 1}, m), 1, -1, 1);
}

TEST(D3DXMatrix, ReflectMirrorsAboutThePlaneNormalisedFirst) {
    D3DXPLANE plane;
    D3DXVECTOR3 point(0, -3, 0), normal(0, -1, 0);
    D3DXPlaneFromPointNormal(&plane, &point, &normal);
    D3DXPlaneNormalize(&plane, &plane);
    D3DXMATRIX reflect;
    D3DXMatrixReflect(&reflect, &plane);
    ExpectVec3Near(TransformPoint({2, 1, -7}, reflect), 2, -7, -7);
    D3DXPLANE scaled(0, 2, 0, -4);  // y = 2, not normalised
    D3DXMatrixReflect(&reflect, &scaled);
    ExpectVec3Near(TransformPoint({1, 5, 1}, reflect), 1, -1, 1);
}

TEST(D3DXVector, TransformCoordDividesByWAndNormalIgnoresTranslation) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 1, 2, 3);
    m._44 = 2;
    D3DXVECTOR3 v(2, 4, 6), out;
    D3DXVec3TransformCoord(&out, &v, &m);
    ExpectVec3Near(out, 1.5f, 3, 4.5f);
    D3DXVec3TransformNormal(&out, &v, &m);
    ExpectVec3Near(out, 2, 4, 6);
}

TEST(D3DXVector, CrossFollowsLeftOperandOrderAndNormalizeHandlesZero) {
    D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), out;
    D3DXVec3Cross(&out, &x, &y);
    ExpectVec3Near(out, 0, 0, 1);
    D3DXVECTOR3 v(3, 0, 4);
    D3DXVec3Normalize(&out, &v);
    ExpectVec3Near(out, 0.6f, 0, 0.8f);
    EXPECT_FLOAT_EQ(D3DXVec3Length(&v), 5);
    D3DXVECTOR3 zero;
    D3DXVec3Normalize(&out, &zero);
    ExpectVec3Near(out, 0, 0, 0);
}

TEST(D3DXVector, HermitePassesThroughEndsAndFollowsBasis) {
    D3DXVECTOR3 p1(0, 0, 0), t1(1, 0, 0), p2(1, 1, 0), t2(0, 2, 0), out;
    D3DXVec3Hermite(&out, &p1, &t1, &p2, &t2, 1);
    ExpectVec3Near(out, 1, 1, 0);
    // s = 0.5: h1 = 0.5, h2 = 0.125, h3 = 0.5, h4 = -0.125.
    D3DXVec3Hermite(&out, &p1, &t1, &p2, &t2, 0.5f);
    ExpectVec3Near(out, 0.125f + 0.5f, 0.5f - 0.25f, 0);
}

TEST(D3DXQuaternion, SlerpHalvesTheAngleTakesTheShortPathAndBlendsNearlyEqualInputs) {
    D3DXVECTOR3 axis(0, 0, 1);
    D3DXQUATERNION a, b, negB, mid;
    D3DXMATRIX m, expected;
    D3DXQuaternionRotationAxis(&a, &axis, 0.2f);
    D3DXQuaternionRotationAxis(&b, &axis, 1.2f);
    D3DXQuaternionSlerp(&mid, &a, &b, 0.5f);
    D3DXMatrixRotationQuaternion(&m, &mid);
    ExpectMatrixNear(m, *D3DXMatrixRotationZ(&expected, 0.7f));
    negB = D3DXQUATERNION(-b.x, -b.y, -b.z, -b.w);  // same rotation, opposite hemisphere
    D3DXQuaternionSlerp(&mid, &a, &negB, 0.5f);
    D3DXMatrixRotationQuaternion(&m, &mid);
    ExpectMatrixNear(m, expected);
    D3DXQUATERNION p(0, 0, 0, 1), q(0.0001f, 0, 0, 1), out;
    D3DXQuaternionSlerp(&out, &p, &q, 0.25f);
    EXPECT_NEAR(out.x, 0.000025f, 1e-9f);
    EXPECT_NEAR(out.w, 1, 1e-6f);
}

TEST(D3DXQuaternion, MultiplyComposesFirstThenSecond) {
    D3DXVECTOR3 ax(1, 0, 0), ay(0, 1, 0);
    D3DXQUATERNION qa, qb, q;
    D3DXQuaternionRotationAxis(&qa, &ax, 0.6f);
    D3DXQuaternionRotationAxis(&qb, &ay, -1.1f);
    D3DXQuaternionMultiply(&q, &qa, &qb);
    D3DXMATRIX ma, mb, mq;
    D3DXMatrixRotationQuaternion(&ma, &qa);
    D3DXMatrixRotationQuaternion(&mb, &qb);
    D3DXMatrixRotationQuaternion(&mq, &q);
    ExpectMatrixNear(mq, ma * mb);
}

TEST(D3DXQuaternion, RotationMatrixRoundTripsThroughEveryBranch) {
    const float angles[][3] = {{0.1f, 0.2f, 0.3f}, {3.0f, 0.1f, 0.0f}, {0.0f, 3.0f, 0.1f}, {0.1f, 0.0f, 3.0f}};
    for (const auto& a : angles) {
        D3DXMATRIX m, back;
        D3DXMatrixRotationYawPitchRoll(&m, a[0], a[1], a[2]);
        D3DXQUATERNION q;
        D3DXQuaternionRotationMatrix(&q, &m);
        D3DXMatrixRotationQuaternion(&back, &q);
        ExpectMatrixNear(back, m, 1e-4f);
    }
}

TEST(D3DXPlane, FromPointNormalAndDotCoordGiveSignedDistance) {
    D3DXPLANE plane;
    D3DXVECTOR3 point(0, -3, 0), normal(0, -2, 0);
    D3DXPlaneFromPointNormal(&plane, &point, &normal);
    EXPECT_FLOAT_EQ(plane.d, -6);
    D3DXPlaneNormalize(&plane, &plane);
    EXPECT_FLOAT_EQ(plane.b, -1);
    EXPECT_FLOAT_EQ(plane.d, -3);
    D3DXVECTOR3 below(5, -5, 1);
    EXPECT_FLOAT_EQ(D3DXPlaneDotCoord(&plane, &below), 2);
}

TEST(D3DXPlane, TransformByInverseTransposeKeepsPointsOnPlane) {
    D3DXPLANE plane(0, -1, 0, -3);  // y = -3
    D3DXMATRIX m = SampleMatrix(), inverse, inverseTranspose;
    ASSERT_NE(D3DXMatrixInverse(&inverse, nullptr, &m), nullptr);
    D3DXMatrixTranspose(&inverseTranspose, &inverse);
    D3DXPLANE moved;
    D3DXPlaneTransform(&moved, &plane, &inverseTranspose);
    const D3DXVECTOR3 points[] = {{0, -3, 0}, {4, -3, 1}, {-2, -3, 7}};
    for (const auto& p : points) {
        D3DXVECTOR3 q = TransformPoint(p, m);
        EXPECT_NEAR(D3DXPlaneDotCoord(&moved, &q), 0, 1e-4f);
    }
}

TEST(D3DXColor, ConvertsBetweenBytesAndFloatsWithClamping) {
    D3DXCOLOR c(D3DCOLOR_ARGB(0x80, 0xff, 0x00, 0x40));
    EXPECT_NEAR(c.b, 64 / 255.0f, 1e-7f);
    EXPECT_NEAR(c.a, 128 / 255.0f, 1e-7f);
    EXPECT_EQ(static_cast<D3DCOLOR>(c), D3DCOLOR_ARGB(0x80, 0xff, 0x00, 0x40));
    EXPECT_EQ(static_cast<D3DCOLOR>(D3DXCOLOR(2, -1, 0.5f, 1)), D3DCOLOR_ARGB(0xff, 0xff, 0x00, 0x80));
}
