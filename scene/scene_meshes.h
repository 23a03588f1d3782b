// Where each scene mesh sits in DemoState.meshes: the order start-up loads
// them in.
#pragma once

#include <cstddef>

namespace Mirel {

enum SceneMesh : size_t {
    kIsland = 0,        // "Media//fy_faen_assSmall.X"
    kSea = 1,           // "Media//ocean.X"
    kBoat = 2,          // "Media//yachtAll2.x"
    kSkyDome = 3,       // "Media//skydome.X"
    kEarth = 4,         // "Media//sphere.x"
    kCreditsPlane = 5,  // "Media//creditsPlane.x"
    kCylinder = 6,      // "Media//cylinder.X"
    kSceneMeshCount = 7,
};

}  // namespace Mirel
