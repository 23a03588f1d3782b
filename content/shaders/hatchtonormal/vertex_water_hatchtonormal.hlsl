// The sea in the colour scene: c0-c3 world x view-projection, c8-c11 world,
// c12.xyz the eye (c4-c7 and c13 are there too; the sea is flat and reads
// neither). The waves are the fragment shader's.
// About 30 instructions.
#include "sea_vertex.hlsl"
