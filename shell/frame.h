// The brackets around every frame, the one-frame loading screen drawn with
// them, and the unpresented rehearsal of every effect's frame at start-up.
#pragma once

#include "platform/d3dx9/d3dx9.h"

// Steps the clock, makes the screen texture and its depth surface the targets
// and clears them to white.
void BeginFrame();
// Puts the back buffer back, composites the frame and presents it.
void EndFrame();
// One complete frame that shows `texture` full screen and presents it.
void DrawLoadingScreen(IDirect3DTexture9* texture);
// Draws one frame of every queued effect behind the loading picture, never
// presented: once with its triggers as they stand and once as if all had
// fired, so that every shader pair and state combination of the run is
// compiled before the music starts. The device's states are put back
// afterwards, so the run starts as if nothing had been drawn.
void RehearseEffects();
