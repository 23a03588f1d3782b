// The overlay (--hud, H in a window): drawn over every presented frame, after
// the frame's own composite and before the picture is shown or read back, so
// it is in shots and captures while on and leaves the frame beneath as it
// was. It shows the demo time, the scene that is first active and its own
// time, the frame rate with a graph of the last frame times, the music's
// 512-band spectrum as a strip, where the renderer can time them the cost of
// each pass of the previous frame, notes such as where F12 saved a frame, and
// the message of a shader that failed to reload. Its text is the graphics
// stand-in's font. Once drawn, it allocates nothing per frame.
#pragma once

#include <cstddef>

struct IDirect3DDevice9;

// Hooks the overlay into `device`'s presents, shown or not.
void InstallHud(IDirect3DDevice9* device, bool shown);
void ShowHud(bool shown);
bool HudShown();
// A line shown for a few seconds (copied, at most a few hundred characters).
void HudNote(const char* text);
// A shader's compiler message, shown until it is cleared with an empty text.
void HudShaderError(const char* text);
// A frame is being run without being shown (a run-up to --start or a seek):
// the next shown frame's time is not measured from the last shown one.
void HudFrameNotShown();
// Lets go of the overlay's font, sprite and texture.
void ReleaseHud();

// Whether the overlay may have the device time each pass (on by default);
// timing waits for the renderer pass by pass.
void HudTimePasses(bool allowed);

// Seconds the last overlay took to draw (its calls, not the renderer's work).
double HudDrawSeconds();
