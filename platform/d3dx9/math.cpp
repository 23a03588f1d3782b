// D3DX mathematics: row vectors (p x M), left-handed views and projections.
#include <cmath>

#include "platform/d3dx9/d3dx9math.h"

// ---- types -----------------------------------------------------------------

D3DXMATRIX::D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24,
                       float m31, float m32, float m33, float m34, float m41, float m42, float m43, float m44)
    : D3DMATRIX{} {
    _11 = m11;
    _12 = m12;
    _13 = m13;
    _14 = m14;
    _21 = m21;
    _22 = m22;
    _23 = m23;
    _24 = m24;
    _31 = m31;
    _32 = m32;
    _33 = m33;
    _34 = m34;
    _41 = m41;
    _42 = m42;
    _43 = m43;
    _44 = m44;
}

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& o) const {
    D3DXMATRIX out;
    D3DXMatrixMultiply(&out, this, &o);
    return out;
}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& o) {
    D3DXMatrixMultiply(this, this, &o);
    return *this;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& o) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m[r][c] != o.m[r][c]) return false;
    return true;
}

D3DXCOLOR::D3DXCOLOR(D3DCOLOR argb)
    : r(((argb >> 16) & 0xff) / 255.0f),
      g(((argb >> 8) & 0xff) / 255.0f),
      b((argb & 0xff) / 255.0f),
      a(((argb >> 24) & 0xff) / 255.0f) {}

namespace {

DWORD ColorByte(float v) {
    if (!(v > 0.0f)) return 0;  // also NaN
    if (v >= 1.0f) return 0xff;
    return static_cast<DWORD>(v * 255.0f + 0.5f);
}

}  // namespace

D3DXCOLOR::operator D3DCOLOR() const {
    return (ColorByte(a) << 24) | (ColorByte(r) << 16) | (ColorByte(g) << 8) | ColorByte(b);
}

// ---- vectors ---------------------------------------------------------------

float D3DXVec3Length(const D3DXVECTOR3* v) { return std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z); }

float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }

D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
    D3DXVECTOR3 r(a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x);
    *out = r;
    return out;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
    float length = D3DXVec3Length(v);
    if (length == 0.0f) {
        *out = D3DXVECTOR3(0, 0, 0);
    } else {
        *out = D3DXVECTOR3(v->x / length, v->y / length, v->z / length);
    }
    return out;
}

D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b, float s) {
    *out = D3DXVECTOR3(a->x + s * (b->x - a->x), a->y + s * (b->y - a->y), a->z + s * (b->z - a->z));
    return out;
}

D3DXVECTOR3* D3DXVec3Hermite(D3DXVECTOR3* out, const D3DXVECTOR3* p1, const D3DXVECTOR3* t1, const D3DXVECTOR3* p2,
                             const D3DXVECTOR3* t2, float s) {
    float s2 = s * s;
    float s3 = s2 * s;
    float h1 = 2.0f * s3 - 3.0f * s2 + 1.0f;
    float h2 = s3 - 2.0f * s2 + s;
    float h3 = -2.0f * s3 + 3.0f * s2;
    float h4 = s3 - s2;
    *out = D3DXVECTOR3(h1 * p1->x + h2 * t1->x + h3 * p2->x + h4 * t2->x,
                       h1 * p1->y + h2 * t1->y + h3 * p2->y + h4 * t2->y,
                       h1 * p1->z + h2 * t1->z + h3 * p2->z + h4 * t2->z);
    return out;
}

D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m) {
    D3DXVECTOR4 r;
    r.x = v->x * m->_11 + v->y * m->_21 + v->z * m->_31 + v->w * m->_41;
    r.y = v->x * m->_12 + v->y * m->_22 + v->z * m->_32 + v->w * m->_42;
    r.z = v->x * m->_13 + v->y * m->_23 + v->z * m->_33 + v->w * m->_43;
    r.w = v->x * m->_14 + v->y * m->_24 + v->z * m->_34 + v->w * m->_44;
    *out = r;
    return out;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    D3DXVECTOR4 point(v->x, v->y, v->z, 1.0f);
    return D3DXVec4Transform(out, &point, m);
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    D3DXVECTOR4 r;
    D3DXVec3Transform(&r, v, m);
    *out = D3DXVECTOR3(r.x / r.w, r.y / r.w, r.z / r.w);
    return out;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    *out = D3DXVECTOR3(v->x * m->_11 + v->y * m->_21 + v->z * m->_31, v->x * m->_12 + v->y * m->_22 + v->z * m->_32,
                       v->x * m->_13 + v->y * m->_23 + v->z * m->_33);
    return out;
}

// ---- matrices --------------------------------------------------------------

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    *out = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return out;
}

bool D3DXMatrixIsIdentity(const D3DXMATRIX* m) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return *m == identity;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] =
                a->m[i][0] * b->m[0][j] + a->m[i][1] * b->m[1][j] + a->m[i][2] * b->m[2][j] + a->m[i][3] * b->m[3][j];
    *out = r;
    return out;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = m->m[j][i];
    *out = r;
    return out;
}

namespace {

// Cofactor expansion in double precision; `adjugate` receives the transposed
// cofactor matrix.
double Adjugate(const D3DXMATRIX& m, double adjugate[4][4]) {
    double a[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) a[i][j] = m.m[i][j];
    // 2x2 minors of the lower two rows and of the upper two rows.
    double s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    double s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    double s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    double s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    double s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    double s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    double c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    double c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    double c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    double c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    double c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    double c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    double det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (adjugate) {
        adjugate[0][0] = a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3;
        adjugate[0][1] = -a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3;
        adjugate[0][2] = a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3;
        adjugate[0][3] = -a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3;
        adjugate[1][0] = -a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1;
        adjugate[1][1] = a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1;
        adjugate[1][2] = -a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1;
        adjugate[1][3] = a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1;
        adjugate[2][0] = a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0;
        adjugate[2][1] = -a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0;
        adjugate[2][2] = a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0;
        adjugate[2][3] = -a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0;
        adjugate[3][0] = -a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0;
        adjugate[3][1] = a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0;
        adjugate[3][2] = -a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0;
        adjugate[3][3] = a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0;
    }
    return det;
}

}  // namespace

float D3DXMatrixDeterminant(const D3DXMATRIX* m) { return static_cast<float>(Adjugate(*m, nullptr)); }

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m) {
    double adjugate[4][4];
    double det = Adjugate(*m, adjugate);
    if (determinant) *determinant = static_cast<float>(det);
    if (det == 0.0 || !std::isfinite(det)) return nullptr;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out->m[i][j] = static_cast<float>(adjugate[i][j] / det);
    return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz) {
    *out = D3DXMATRIX(sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, sz, 0, 0, 0, 0, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    *out = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    *out = D3DXMATRIX(1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    *out = D3DXMATRIX(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    *out = D3DXMATRIX(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, float angle) {
    D3DXVECTOR3 v;
    D3DXVec3Normalize(&v, axis);
    float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    *out = D3DXMATRIX(t * v.x * v.x + c, t * v.x * v.y + s * v.z, t * v.x * v.z - s * v.y, 0,  //
                      t * v.x * v.y - s * v.z, t * v.y * v.y + c, t * v.y * v.z + s * v.x, 0,  //
                      t * v.x * v.z + s * v.y, t * v.y * v.z - s * v.x, t * v.z * v.z + c, 0,  //
                      0, 0, 0, 1);
    return out;
}

// Roll about z first, then pitch about x, then yaw about y.
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll) {
    D3DXMATRIX z, x, y;
    D3DXMatrixRotationZ(&z, roll);
    D3DXMatrixRotationX(&x, pitch);
    D3DXMatrixRotationY(&y, yaw);
    D3DXMATRIX zx;
    D3DXMatrixMultiply(&zx, &z, &x);
    return D3DXMatrixMultiply(out, &zx, &y);
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q) {
    float x = q->x, y = q->y, z = q->z, w = q->w;
    *out = D3DXMATRIX(1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w), 0,  //
                      2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w), 0,  //
                      2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y), 0,  //
                      0, 0, 0, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up) {
    D3DXVECTOR3 zaxis = *at - *eye;
    D3DXVec3Normalize(&zaxis, &zaxis);
    D3DXVECTOR3 xaxis;
    D3DXVec3Cross(&xaxis, up, &zaxis);
    D3DXVec3Normalize(&xaxis, &xaxis);
    D3DXVECTOR3 yaxis;
    D3DXVec3Cross(&yaxis, &zaxis, &xaxis);
    *out = D3DXMATRIX(xaxis.x, yaxis.x, zaxis.x, 0,  //
                      xaxis.y, yaxis.y, zaxis.y, 0,  //
                      xaxis.z, yaxis.z, zaxis.z, 0,  //
                      -D3DXVec3Dot(&xaxis, eye), -D3DXVec3Dot(&yaxis, eye), -D3DXVec3Dot(&zaxis, eye), 1);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar) {
    float yScale = 1.0f / std::tan(fovY / 2.0f);
    float xScale = yScale / aspect;
    float q = zFar / (zFar - zNear);
    *out = D3DXMATRIX(xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, q, 1, 0, 0, -zNear * q, 0);
    return out;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* out, float l, float r, float b, float t, float zn, float zf) {
    *out = D3DXMATRIX(2 / (r - l), 0, 0, 0,    //
                      0, 2 / (t - b), 0, 0,    //
                      0, 0, 1 / (zf - zn), 0,  //
                      (l + r) / (l - r), (t + b) / (b - t), zn / (zn - zf), 1);
    return out;
}

D3DXMATRIX* D3DXMatrixReflect(D3DXMATRIX* out, const D3DXPLANE* plane) {
    D3DXPLANE p;
    D3DXPlaneNormalize(&p, plane);
    float a = p.a, b = p.b, c = p.c, d = p.d;
    *out = D3DXMATRIX(1 - 2 * a * a, -2 * b * a, -2 * c * a, 0,  //
                      -2 * a * b, 1 - 2 * b * b, -2 * c * b, 0,  //
                      -2 * a * c, -2 * b * c, 1 - 2 * c * c, 0,  //
                      -2 * a * d, -2 * b * d, -2 * c * d, 1);
    return out;
}

// ---- quaternions -----------------------------------------------------------

D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* out) {
    *out = D3DXQUATERNION(0, 0, 0, 1);
    return out;
}

D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, const D3DXQUATERNION* q) {
    float length = std::sqrt(q->x * q->x + q->y * q->y + q->z * q->z + q->w * q->w);
    if (length == 0.0f) {
        *out = D3DXQUATERNION(0, 0, 0, 0);
    } else {
        *out = D3DXQUATERNION(q->x / length, q->y / length, q->z / length, q->w / length);
    }
    return out;
}

D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* out, const D3DXVECTOR3* axis, float angle) {
    D3DXVECTOR3 v;
    D3DXVec3Normalize(&v, axis);
    float s = std::sin(angle / 2.0f);
    *out = D3DXQUATERNION(v.x * s, v.y * s, v.z * s, std::cos(angle / 2.0f));
    return out;
}

D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, const D3DXMATRIX* m) {
    float trace = m->_11 + m->_22 + m->_33;
    D3DXQUATERNION q;
    if (trace > 0.0f) {
        float s = 2.0f * std::sqrt(trace + 1.0f);
        q = D3DXQUATERNION((m->_23 - m->_32) / s, (m->_31 - m->_13) / s, (m->_12 - m->_21) / s, 0.25f * s);
    } else if (m->_11 >= m->_22 && m->_11 >= m->_33) {
        float s = 2.0f * std::sqrt(1.0f + m->_11 - m->_22 - m->_33);
        q = D3DXQUATERNION(0.25f * s, (m->_12 + m->_21) / s, (m->_13 + m->_31) / s, (m->_23 - m->_32) / s);
    } else if (m->_22 >= m->_33) {
        float s = 2.0f * std::sqrt(1.0f + m->_22 - m->_11 - m->_33);
        q = D3DXQUATERNION((m->_12 + m->_21) / s, 0.25f * s, (m->_23 + m->_32) / s, (m->_31 - m->_13) / s);
    } else {
        float s = 2.0f * std::sqrt(1.0f + m->_33 - m->_11 - m->_22);
        q = D3DXQUATERNION((m->_13 + m->_31) / s, (m->_23 + m->_32) / s, 0.25f * s, (m->_12 - m->_21) / s);
    }
    *out = q;
    return out;
}

// The rotation a followed by the rotation b.
D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* out, const D3DXQUATERNION* a, const D3DXQUATERNION* b) {
    D3DXQUATERNION r(
        b->w * a->x + b->x * a->w + b->y * a->z - b->z * a->y, b->w * a->y - b->x * a->z + b->y * a->w + b->z * a->x,
        b->w * a->z + b->x * a->y - b->y * a->x + b->z * a->w, b->w * a->w - b->x * a->x - b->y * a->y - b->z * a->z);
    *out = r;
    return out;
}

// Shortest-path spherical interpolation; nearly parallel inputs blend linearly.
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* a, const D3DXQUATERNION* b, float t) {
    float dot = a->x * b->x + a->y * b->y + a->z * b->z + a->w * b->w;
    float sign = 1.0f;
    if (dot < 0.0f) {
        sign = -1.0f;
        dot = -dot;
    }
    float wa = 1.0f - t;
    float wb = t;
    if (1.0f - dot > 0.001f) {
        float theta = std::acos(dot);
        float sinTheta = std::sin(theta);
        wa = std::sin((1.0f - t) * theta) / sinTheta;
        wb = std::sin(t * theta) / sinTheta;
    }
    wb *= sign;
    *out = D3DXQUATERNION(wa * a->x + wb * b->x, wa * a->y + wb * b->y, wa * a->z + wb * b->z, wa * a->w + wb * b->w);
    return out;
}

// ---- planes ----------------------------------------------------------------

D3DXPLANE* D3DXPlaneFromPointNormal(D3DXPLANE* out, const D3DXVECTOR3* point, const D3DXVECTOR3* normal) {
    *out = D3DXPLANE(normal->x, normal->y, normal->z, -D3DXVec3Dot(point, normal));
    return out;
}

D3DXPLANE* D3DXPlaneNormalize(D3DXPLANE* out, const D3DXPLANE* plane) {
    float length = std::sqrt(plane->a * plane->a + plane->b * plane->b + plane->c * plane->c);
    if (length == 0.0f) {
        *out = D3DXPLANE(0, 0, 0, 0);
    } else {
        *out = D3DXPLANE(plane->a / length, plane->b / length, plane->c / length, plane->d / length);
    }
    return out;
}

D3DXPLANE* D3DXPlaneTransform(D3DXPLANE* out, const D3DXPLANE* plane, const D3DXMATRIX* m) {
    D3DXVECTOR4 v(plane->a, plane->b, plane->c, plane->d);
    D3DXVec4Transform(&v, &v, m);
    *out = D3DXPLANE(v.x, v.y, v.z, v.w);
    return out;
}

float D3DXPlaneDotCoord(const D3DXPLANE* plane, const D3DXVECTOR3* v) {
    return plane->a * v->x + plane->b * v->y + plane->c * v->z + plane->d;
}
