// The brackets around every frame, and the one-frame loading screen drawn
// with them.
#pragma once

#include "platform/d3dx9/d3dx9.h"

// Steps the clock, makes the screen texture and its depth surface the targets
// and clears them to white.
void BeginFrame();
// Puts the back buffer back, composites the frame and presents it.
void EndFrame();
// One complete frame that shows `texture` full screen and presents it.
void DrawLoadingScreen(IDirect3DTexture9* texture);
