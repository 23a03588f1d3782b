// The island: a rocky heightfield with its peak in the south-west (-x, -z),
// cliffs on the south and west shores, a sandy bay opening to the north (+z),
// and a seabed that falls away below the sea plane around it.
#pragma once

namespace gen {

// World height of the ground at (x, z); far from the island, the seabed.
float IslandHeight(float x, float z);

// The island mesh's vertices are points of a grid of kIslandGrid cells a side
// over the island's square; a grid point is left out where the mesh lies
// within kIslandTolerance world units of it, above the sea (four times that
// under it, where the water hides the shape).
constexpr int kIslandGrid = 128;
constexpr float kIslandTolerance = 0.6f;
constexpr float kIslandUnderSea = 0.25f;

}  // namespace gen
