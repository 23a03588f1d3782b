// Builders of the simple shapes among the scene meshes.
#pragma once

#include "tools/contentgen/mesh.h"

namespace gen {

// A latitude-longitude grid on a sphere of `radius` about `centre`, from
// latitude `top` down to `bottom` (radians), `rings` bands and `segments`
// slices, faces turned outwards (or inwards for a dome seen from inside).
// Texture u runs once round (0 to 1, seam duplicated), v from `top` (0) to
// `bottom` (1). Seen from the side the faces turn to, u grows to the right.
Mesh LatLongGrid(Vec3 centre, float radius, float top, float bottom, int rings, int segments, bool inward,
                 const Material& material);

// A flat disc of `radius` at height y facing up, in `rings` rings that grow
// outwards (dense near the centre; one ring is a fan from the centre) of
// `segments` slices, with u = x / tile, v = -z / tile.
Mesh Disc(float y, float radius, int rings, int segments, float tile, const Material& material);

}  // namespace gen
