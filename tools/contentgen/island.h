// The island: a rocky heightfield with its peak in the south-west (-x, -z),
// cliffs on the south and west shores, a sandy bay opening to the north (+z),
// and a seabed that falls away below the sea plane around it.
#pragma once

namespace gen {

// World height of the ground at (x, z); far from the island, the seabed.
float IslandHeight(float x, float z);

}  // namespace gen
