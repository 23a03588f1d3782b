// The second scene, 10.5 to 17.5 s: the island alone as a pencil sketch on
// white paper, seen from the camera path "HandDraw.cp" (bound here and left
// bound for the hatching scene), the whole picture passed through an edge
// filter on its way to the screen, and three caption words over its lower
// left.
//
// Timeline, seconds after the start (trigger id: delay):
//   0: 0.7    "first" fades in (640 levels a second, about 0.4 s)
//   1: 2.94   "there is" and "a sketch" fade in together
//   2: 4.869  all three fade out together, from wherever their fade-in got to
//   3: 5.6    all three held at 0 to the end
#pragma once

#include <cstdint>

#include "timeline/effect.h"

namespace Mirel {

class HandDrawEffect : public Effect {
public:
    using Effect::Effect;

    void Init() override;
    void Start(double time) override;
    void Update(double dt, double time) override;
    void Render() override;
    void Stop() override {}
    void PostProcess() override;

    int32_t wordFade0 = 0;  // "first"
    int32_t wordFade1 = 0;  // "there is" and "a sketch"
};

}  // namespace Mirel
