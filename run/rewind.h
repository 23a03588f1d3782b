// Going back to the start of the timeline without leaving the process, for
// seeking backwards: whatever the frames change and start-up never makes
// afresh is put back as it stood when start-up built the timeline, then the
// timeline is built and rehearsed again exactly as at start-up. The frames
// that follow are then the frames of a run from 0.
#pragma once

// Keeps what the frames will change, as it stands now (start-up calls it
// just before it builds the timeline): the camera, the scene meshes (their
// placement and mesh paths), the music player's spectrum, its reading
// settings and the time since its last read, the scenes' class-wide values
// (the hatching sweep's speed, the credits' and the fade-in's flags) and the
// device's whole state.
void KeepStartOfTimeline();
// Stops and deletes every effect, queued or running; puts back what
// KeepStartOfTimeline kept; restarts the shattered meshes' random sequence;
// builds and rehearses the timeline again. The demo clock then reads 0 with
// the quit flag clear, and the caller sets the performance counter's base.
// False, changing nothing, when nothing was kept.
bool RewindTimeline();
