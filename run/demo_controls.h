// The keys of the demo window, for the people who make and study the demo:
//   Space                  pause or resume the picture and the music
//   Left / Right           one second back / forward
//   Page Up / Page Down    ten seconds back / forward
//   Home                   back to 0
//   H                      the overlay on or off
//   F12                    save the frame shown as PNG, named by its demo time
// Escape stays the shell's: releasing it ends the demo, paused or not.
//
// A seek, forward or backward, goes back to the start of the timeline
// (run/rewind.h) and runs the frames up to the moment discarding, as --start
// does, so it lands on exactly the frame --start at that moment draws, with
// the music at the same sample. While paused nothing is updated or drawn;
// a seek while paused shows the frame it lands on and stays paused.
#pragma once

#include <functional>
#include <string>

// Watches the messages the frame loop takes for the keys above.
void InstallDemoControls();
// Before each frame: reloads changed shaders, starts a requested seek, and
// holds the loop while paused, taking messages meanwhile. True when the demo
// must end now (it was asked to while paused).
bool ServeDemoControls();

// Runs on every pass of the loop that holds a paused run (for tests).
extern std::function<void()> g_whilePaused;

// What the keys do, for callers other than the keys.
void RequestSeek(double seconds);  // clamped to the demo's span
void TogglePause();
// Saves the frame shown as frame_SECONDS.png in the working directory; the
// file's path, or empty when it could not be written.
std::string SaveFrameShown();
