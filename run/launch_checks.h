// Checks the launcher makes before the system starts, so that a run that
// cannot work ends at once with one line rather than after its first frames.
#pragma once

#include <string>

#include "run/options.h"

// Status when the run cannot start: the resource pack is missing, unreadable
// or damaged.
constexpr int kExitCannotStart = 1;

// Empty when `path` (the resource pack the system opens) is a file that can
// be read, with a sound directory: the header and the directory lie within
// the file, and so does every entry's data; every name is one the pack format
// can store (not empty, at most 49 characters, no '/') and no two entries
// share one. Else one line naming the full path and what is wrong. What the
// entries hold is left to the system, which reports each one it cannot load.
std::string CheckResourcePack(const std::string& path);

// Empty when the mode given with --mode fits within `largestSide`, the
// renderer's largest texture side (the back buffer and the screen targets are
// textures of the mode's size); else why not.
std::string CheckModeFits(const DemoOptions& options, unsigned largestSide);
