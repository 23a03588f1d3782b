// The opening scene, 0 to 10.5 s: over the grid background a logo card and a
// "presents" card zoom in from nothing, hold, and zoom past the viewer; then
// the three title words slide across the screen, fading in one after the
// other, their size pulsing with band 180 of the music spectrum.
//
// Timeline, seconds after the start (trigger id: delay):
//   0: 0.3   logo zoom-in ends          4: 2.8   cards gone, words start sliding
//   1: 0.6   "presents" zoom-in ends     5: 3.5   words drawn, word 1 fades in
//   2: 2.0   logo grows 1.0 a second     6: 4.25  words 2 and 3 fade in
//   3: 2.5   "presents" grows 0.1 a s    7: 7.8   fade levels frozen
#pragma once

#include <cstdint>

#include "timeline/effect.h"

namespace Mirel {

class BeginEffect : public Effect {
public:
    using Effect::Effect;

    void Init() override;
    void Update(double dt, double time) override;
    void Render() override;
    void Stop() override {}
    void PostProcess() override;

    float logoScale = 0.0f;
    float presentsScale = 0.0f;
    float word1X = 0.0f;
    float word2X = 0.0f;
    float word3X = 0.0f;
    uint32_t word1Alpha = 0;
    uint32_t word23Alpha = 0;

private:
    const Trigger& Cue(int32_t id) const;
};

}  // namespace Mirel
