// The island: a rocky heightfield with its peak in the north-west, cliffs on
// the north and west shores, a sandy bay opening to +z, and a seabed that
// falls away below the sea plane around it.
#pragma once

namespace gen {

// World height of the ground at (x, z); far from the island, the seabed.
float IslandHeight(float x, float z);

}  // namespace gen
