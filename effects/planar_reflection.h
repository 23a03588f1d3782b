// The mirror image of the two scenes on the sea (the colour scene mirrors
// the island, the shatter scene the yacht), written once.
#pragma once

#include <functional>

#include "platform/d3dx9/d3dx9.h"

// The sea surface y = `waterLevel`, facing down and normalised, and the
// mirror about it (which maps y to 2 x waterLevel - y).
void SeaMirror(float waterLevel, D3DXPLANE& waterPlane, D3DXMATRIX& reflection);

// The mirror pass:
//   1. render target 0 as found is kept; level 0 of `target` becomes target 0
//      (where its surface cannot be taken, the pass draws into the target
//      that is current);
//   2. target and depth cleared: opaque black, depth 1;
//   3. clip plane 0 = the water plane brought into clip space through the
//      transpose of the inverse view-projection, and switched on: only what
//      the mirror puts below the sea survives;
//   4. `drawMirrored()`: the scene's own constants, shaders, textures and its
//      own culling for the mirror (the winding turns round; a scene that
//      draws two-sided sails turns culling off instead), then its draws;
//   5. culling counter-clockwise again, the clip plane off, the target found
//      in step 1 put back.
// Returns whether the pass drew into `target`.
bool RenderPlanarReflection(IDirect3DDevice9* device, IDirect3DTexture9* target, const D3DXPLANE& waterPlane,
                            const D3DXMATRIX& viewProjection, const std::function<void()>& drawMirrored);
