// The demo's fixed timeline: which scenes run when.
#pragma once

// Constructs the scenes, sets their start and end times, and hands each to
// AddEffect (which runs its Init) in timeline order.
void BuildTimeline();
