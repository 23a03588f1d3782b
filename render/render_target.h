// Switching render targets, written once for every pass that draws into a
// texture of its own: the frame's screen texture, the full-screen quad's
// targets, the scenes' second colour target and their mirror images.
//
//   IDirect3DSurface9* found = CurrentTarget(device);   // takes a reference
//   SetTextureTarget(device, 0, texture);                // level 0, surface let go
//   ... draw ...
//   PutBackTarget(device, found);                        // set again, reference given up
#pragma once

#include "platform/d3d9/d3d9.h"

// Render target 0 as it is now, with a reference the caller gives up through PutBackTarget.
IDirect3DSurface9* CurrentTarget(IDirect3DDevice9* device);

// Level 0 of `texture` as render target `index`; the surface's reference is
// let go at once (the device holds its own while it is the target). False,
// with nothing changed, when there is no texture or its surface cannot be taken.
bool SetTextureTarget(IDirect3DDevice9* device, DWORD index, IDirect3DTexture9* texture);

// Makes `found` render target 0 again and gives up the reference taken by
// CurrentTarget; nothing when there is none.
void PutBackTarget(IDirect3DDevice9* device, IDirect3DSurface9*& found);
