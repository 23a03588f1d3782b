// Vertex declarations as D3DX meshes see them: element sizes, lookup by
// usage, conversion of one element between declaration types, and the FVF
// code that matches a declaration when there is one.
//
// Conversions go through four floats: a D3DCOLOR reads as (r, g, b, a) in
// 0..1, normalised integer types read in 0..1 or -1..1, plain integer types
// as their values. Components a type lacks read as 0 and are dropped on
// writing.
#pragma once

#include <cstdint>

#include "platform/d3d9/d3d9.h"

namespace d3dx {

// Size in bytes of a declaration type, 0 for types the meshes do not know.
UINT DeclTypeSize(BYTE type);

// Number of elements before D3DDECL_END, or -1 when there is no end marker
// within MAXD3DDECLLENGTH elements.
int DeclarationLength(const D3DVERTEXELEMENT9* declaration);

// Checks a mesh declaration (stream 0 only, known types, no overlapping
// usage and index) and returns its vertex size; 0 when it is unusable.
UINT DeclarationStride(const D3DVERTEXELEMENT9* declaration);

// The element with that usage and usage index, or null.
const D3DVERTEXELEMENT9* FindElement(const D3DVERTEXELEMENT9* declaration, BYTE usage, BYTE usageIndex);

void ReadElement(BYTE type, const uint8_t* source, float value[4]);
void WriteElement(BYTE type, const float value[4], uint8_t* target);

// The FVF code of a declaration laid out exactly as that FVF would be
// (position, then normal, diffuse colour, texture coordinate sets), else 0.
DWORD FvfFromDeclaration(const D3DVERTEXELEMENT9* declaration);

}  // namespace d3dx
