// The closing scene, 90 to 110 s: the earth among the stars, seen from a
// fixed camera, shaded with its colour, relief, specular and cloud maps and
// drawn over in pencil hatching; a cylinder between the camera and the globe
// that bursts into its triangles; and the credits card flying in along the
// mesh path "Media//meshtest.cp". The picture fades in from black over the
// first half second and out to black over the last three.
//
// Timeline, seconds after the start (trigger id: delay):
//   0.0 - 0.5  fade in from black (the process-wide `fadeInActive`)
//   0: 5.4     the cylinder breaks: `dissolve` rises 0.5 a second to 1;
//              the credits card's path starts (`meshPathStart`, once for
//              the process: `creditsStarted`) and the card is drawn from then on
//   17.0 - 20  fade out to black over the composite
//
// All the way through `earthVector.w` grows 0.1 a second: the globe turns
// and its clouds drift with it.
//
// The cylinder's break-up is shader constants only: its copy in the
// shattering layout is built once in Init and never locked again.
//
// Device state: `Update` puts samplers 0-2 in wrap addressing with linear
// filtering every frame; samplers 3-5 keep what the scenes before left. The
// earth's hatching pass leaves blending on until the cylinder pass turns it
// off; the cylinder leaves culling counter-clockwise, and the credits card,
// once it flies, leaves culling off. Pixel c0 keeps `earthVectorCopy` through
// the cylinder and card passes.
#pragma once

#include "platform/d3dx9/d3dx9.h"
#include "timeline/effect.h"

namespace Mirel {

class StarEffect : public Effect {
public:
    using Effect::Effect;

    void Init() override;
    void Start(double time) override;
    void Update(double dt, double time) override;
    void Render() override;
    void Stop() override;
    void PostProcess() override;

    // Shared by the class for the whole process, never set back.
    inline static bool creditsStarted = false;  // the card's path has been started
    inline static bool fadeInActive = true;     // the fade-in is still running

    D3DXVECTOR4 earthVector{0.0f, 0.0f, 0.0f, 0.0f};  // xyz the sun's side, w the globe's turn
    D3DXVECTOR4 earthVectorCopy{0.0f, 0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 shatterPoint{0.0f, 0.0f, 0.0f};
    float dissolve = 0.0f;  // directly after shatterPoint: c9 of the cylinder pass
    ID3DXMesh* cylinderMesh = nullptr;

private:
    bool CreditsFly() const { return triggers[0].fired; }
};

}  // namespace Mirel
