// Text X files written for the tests.
#pragma once

namespace xsamples {

// Two nested frames around one mesh: a quad and two triangles over five
// shared vertices, three materials (one referenced from the top level, one
// without texture).
inline constexpr const char* kTwoFrames = R"(xof 0303txt 0032
template Unused {
 <00000000-0000-0000-0000-000000000000>
 DWORD x;
}

Material Shiny {
 1.0;0.0;0.0;1.0;;
 20.0;
 0.5;0.5;0.5;;
 0.0;0.0;0.0;;
 TextureFilename { "shiny.png"; }
}

Frame Outer {
 FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }  # move along x
 Frame Inner {
  FrameTransformMatrix { 2,0,0,0, 0,2,0,0, 0,0,2,0, 0,5,0,1;; }  // scale, then lift
  Mesh Sample {
   5;
   0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;, 0;2;0;;
   3;
   4;0,3,2,1;,
   3;3,4,2;,
   3;0,1,2;;
   MeshNormals { 1; 0;0;-1;; 3; 4;0,0,0,0;, 3;0,0,0;, 3;0,0,0;; }
   MeshTextureCoords { 5; 0;1;, 1;1;, 1;0;, 0;0;, 0;-1;; }
   MeshMaterialList {
    3; 3; 0, 1, 2;;
    { Shiny }
    Material Matte { 0.0;1.0;0.0;0.5;; 1.0; 0;0;0;; 0;0;0;; }
    Material { 0;0;1;1;; 5; 1;1;1;; 0.25;0.25;0.25;; TextureFilename { "blue.dds"; } }
   }
  }
 }
}
)";

}  // namespace xsamples
