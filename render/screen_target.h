// Screen-sized render textures: the frame's screen texture and the effects'
// own targets are all made here.
#pragma once

#include "platform/d3dx9/d3dx9.h"

namespace Mirel {
class System;
}

// A render-target texture of the window's size; null (after a message box) on failure.
IDirect3DTexture9* CreateScreenTarget(IDirect3DDevice9* device, const Mirel::System* system);
