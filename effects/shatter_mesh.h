// The shattering mesh two scenes break apart (the yacht at 73 s, the cylinder
// at 90 s): a copy of a scene mesh in a wider vertex layout that carries, for
// every vertex, the centroid of its triangle and a few per-face random
// values, so that a vertex shader can move each triangle as a whole.
//
// The copy keeps the source's topology. A vertex shared by several triangles
// keeps what the last of them wrote, so a mesh comes apart into separate
// triangles only where its triangles have vertices of their own.
//
// The random values come from `rand15`, one generator for the whole process
// that is never seeded: every run draws the same sequence, the yacht's
// values first and the cylinder's after them, in the order the scenes'
// `Init` runs at start-up.
#pragma once

#include <cstddef>

#include "platform/d3dx9/d3dx9.h"

// 88 bytes: the five elements of every loaded scene mesh, then the two that
// the shattering adds (zero in a fresh copy apart from what is listed).
struct ShatterVertex {
    D3DXVECTOR3 position;  // POSITION0, model space
    D3DXVECTOR3 normal;    // NORMAL0
    D3DXVECTOR2 texCoord;  // TEXCOORD0
    D3DXVECTOR3 tangent;   // TANGENT0
    D3DXVECTOR3 binormal;  // BINORMAL0
    D3DXVECTOR4 centroid;  // TEXCOORD1: xyz the triangle's centroid (model space), w progress
    D3DXVECTOR4 random;    // TEXCOORD2: xyz per-face random values, one per corner; w spin
};
static_assert(sizeof(ShatterVertex) == 88);
static_assert(offsetof(ShatterVertex, centroid) == 56);
static_assert(offsetof(ShatterVertex, random) == 72);

extern const D3DVERTEXELEMENT9 kShatterVertexDeclaration[8];

// Whole numbers 0 to 32767, the same sequence in every run.
int rand15();
// Starts the sequence over, as at process start (for tests).
void ResetRand15();

// A new mesh (managed pool, 32-bit indices, owned by the caller) in the
// ShatterVertex layout, made from `source` on the source's device. For each
// triangle (corners a, b, c in index order): all three corners get the
// centroid with w 0 in TEXCOORD1; corner a gets rand15() * 360 / 2^31 in
// TEXCOORD2.x, then b in .y, then c in .z (and w 0), three draws per
// triangle in face order; the other components stay zero. A source with no
// faces gives an unchanged copy. Null when there is no source or the copy
// cannot be made.
ID3DXMesh* BuildShatterMesh(ID3DXMesh* source);
