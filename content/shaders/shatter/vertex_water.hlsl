// The open sea of the shatter scene: c0-c3 world x view-projection, c8-c11
// world, c12.xyz the eye (c4-c7 the normal matrix and c13.x the time are
// there too; the sea is flat and the waves are the fragment shader's).
// About 30 instructions.
#include "sea_vertex.hlsl"
