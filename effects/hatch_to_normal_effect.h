// The colour scene, 33.5 to 73 s: the whole island world (island, sea, yacht,
// sky dome) drawn in pencil hatching and turning to full colour behind a
// front that sweeps out from the yacht's bay. The sea mirrors the island and
// the sky; the scene's second colour output is blurred into a glow; from
// 18 s on the picture also goes through a radial blur that swings in and
// out. The camera flies "Media//HatchToNormal.cp" in from the open sea, past
// the yacht and over the island's flank.
//
// Timeline, seconds after the start (trigger id: delay):
//   0: 1.0   "then" fades in (one second)
//   1: 3.0   "there is" and "a colour" fade in
//   2: 5.0   all three words fade out, gone at 6.0
//   3: 18.0  the sweep speeds up from 10 to 32 units a second; the radial
//            blur pass is on, its strength falling by 1/30 a second to -0.2
//   4: 36.0  the radial strength rises by 1/15 a second back to 0; the pass
//            stays on to the end
//
// `sweep` (sceneParams.y) starts at -70 and reaches the island's far side at
// about 18 s and the horizon at the scene's end: the scene shaders read it
// as the radius of the colour front round the bay.
//
// Device state: `Update` puts samplers 0-8 in wrap addressing with linear
// filtering every frame; the title words leave the sprite's states behind
// (D3DXSPRITE_DONOTSAVESTATE) and the pixel-state block captured in `Init`
// then puts every pixel state back as it was at start-up, so the post passes
// sample with the start-up sampler states.
#pragma once

#include <cstdint>

#include "platform/d3dx9/d3dx9.h"
#include "timeline/effect.h"

namespace Mirel {

class HatchToNormalEffect : public Effect {
public:
    using Effect::Effect;

    void Init() override;
    void Start(double time) override;
    void Update(double dt, double time) override;
    void Render() override;
    void Stop() override;
    void PostProcess() override;

    // Units a second the sweep advances; shared by the class, 32 from
    // trigger 3 on and never set back.
    inline static float sweepSpeed = 10.0f;

    D3DXVECTOR4 sceneParams{0.0f, 0.0f, 0.0f, 0.0f};  // x time, y sweep
    IDirect3DTexture9* sceneTarget1 = nullptr;
    IDirect3DTexture9* blurTarget = nullptr;
    IDirect3DTexture9* reflectionTexture = nullptr;
    D3DXPLANE waterPlane;
    D3DXMATRIX reflectionMatrix;
    float radialAmount = 0.0f;
    int32_t wordFade0 = 0;
    int32_t wordFade1 = 0;
    IDirect3DStateBlock9* pixelState = nullptr;

private:
    void RenderReflection();
    bool Fired(int32_t cue) const { return triggers[static_cast<size_t>(cue)].fired; }
};

}  // namespace Mirel
