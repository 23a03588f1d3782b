// Checks the launcher makes before the system starts, so that a run that
// cannot work ends at once with one line rather than after its first frames.
#pragma once

#include <string>

#include "run/options.h"

// Status when the run cannot start: the resource pack is missing or unreadable.
constexpr int kExitCannotStart = 1;

// Empty when `path` (the resource pack the system opens) is a file that can
// be read; else one line naming the full path and why not. Whether the pack
// inside is sound is left to the system, which reports each entry it cannot load.
std::string CheckResourcePack(const std::string& path);

// Empty when the mode given with --mode fits within `largestSide`, the
// renderer's largest texture side (the back buffer and the screen targets are
// textures of the mode's size); else why not.
std::string CheckModeFits(const DemoOptions& options, unsigned largestSide);
