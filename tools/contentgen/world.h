// Where things are in the demo's world, shared by the mesh, texture and path
// builders (and the tests that check the paths against the terrain).
//
// World units, left-handed, y up, +z called north. The sea is the plane
// y = -3. The island is centred near the origin, about 55 units in radius,
// with its peak in the south-west and a bay opening to the north (+z) where
// the yacht lies at anchor. The sky
// dome (radius 800) encloses everything, and every camera stays well inside
// the far plane (1000) from it. The earth scene is separate: a small globe
// at the origin seen from a fixed eye 16 units away.
#pragma once

#include "tools/contentgen/vecmath.h"

namespace gen::world {

constexpr float kSeaLevel = -3.0f;

// Towards the sun (unit vector): low in the south-east sky, behind the
// yacht as most cameras see it, so the island shows its shaded flanks too.
inline Vec3 SunDirection() { return Normalize({0.5f, 0.62f, 0.6f}); }

// The island's texture and mesh cover the square [-kIslandHalf, kIslandHalf]
// in x and z; texture u runs with +x, v runs with -z (north at the top).
constexpr float kIslandHalf = 72.0f;

// The bay and the yacht at anchor in it (waterline centre, bow direction).
constexpr float kBayX = 4.0f, kBayZ = 44.0f, kBayRadius = 17.0f;
constexpr float kBoatX = 6.0f, kBoatZ = 42.0f;
constexpr float kBoatHeading = 0.45f;  // radians from +z towards +x (bow points out of the bay)
constexpr float kMastTop = 13.0f;

constexpr float kSkyRadius = 800.0f;
constexpr float kSeaRadius = 780.0f;

// The earth scene.
constexpr float kEarthRadius = 2.9f;
constexpr Vec3 kStarEye{-13.387f, 8.734f, 0.395f};
constexpr Vec3 kCylinderCentre{-2.913f, 2.138f, 0.266f};

}  // namespace gen::world
