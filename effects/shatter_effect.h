// The yacht breaks apart, 73 to 90 s: the yacht rides the open sea under a
// sky with drifting clouds, and from the masthead down its triangles come
// loose, spin about axes of their own and fly off on the wind or fall into
// the sea, mirrored in the rippled water; then the picture fades to black.
// The camera flies "Media//Shatter.cp", a low arc round the yacht.
//
// Timeline, seconds after the start (trigger id: delay):
//   0.0   the breaking front stands at y = 14, above the masthead (13), and
//         sinks one unit a second: through the sails, past the boom at
//         about 14.3 s, the deck (-1.75) at 15.75 s, the water line at 17 s
//   0: 14.0  the picture fades to black in half a second and stays black
//
// Every vertex of the yacht above the front gains 2 a second of progress
// and 1000 a second of spin (written into the clone's vertex buffer each
// frame); the yacht's vertex shader moves the triangles from them.
//
// Device state: the sampler states of stages 0-2 (wrap, linear) are set in
// Init only; while the scene runs, stages 0-2 sample with whatever states
// the scenes before it left (the colour scene's pixel-state block leaves the
// start-up states: wrap, linear). The sky dome's pass gives the dome c4 =
// (a colour front past the zenith, clouds on, the demo time): the open sea's
// sky in full colour under drifting clouds.
//
// Without `reflectionTexture` (it could not be created) there is no mirror
// pass and nothing is cleared; where its surface cannot be taken the mirror
// is drawn into the screen texture, which the main pass then covers. Either
// way the sea samples no texture on stage 2: it mirrors only the sky. Stop releases the
// reflection texture and the yacht's clone, which the effect made itself.
#pragma once

#include "platform/d3dx9/d3dx9.h"
#include "timeline/effect.h"

namespace Mirel {

class ShatterEffect : public Effect {
public:
    using Effect::Effect;

    void Init() override;
    void Start(double time) override;
    void Update(double dt, double time) override;
    void Render() override;
    // Releases the reflection texture and the yacht's clone.
    void Stop() override;
    void PostProcess() override;

    D3DXVECTOR4 timeVector{0.0f, 0.0f, 0.0f, 0.0f};  // x demo time; y, z, w unused
    IDirect3DTexture9* reflectionTexture = nullptr;
    D3DXPLANE waterPlane;
    D3DXMATRIX reflectionMatrix;
    ID3DXMesh* shatterMesh = nullptr;  // the yacht in the ShatterVertex layout
    float localTime = 0.0f;            // seconds since startTime
    float shatterFront = 0.0f;         // height of the breaking front

    // The fade amount PostProcess sends at `time` once the trigger has fired:
    // 2 a second from the trigger's moment, anything above 0.999 as 1.0.
    float FadeAmount(double time) const;

private:
    // The mirrored yacht into `reflectionTexture`; false when it did not go
    // there (nothing drawn, nothing cleared when there is no texture).
    bool RenderReflection();
    // Progress and spin for every vertex above the front.
    void AdvanceShards(double dt);
};

}  // namespace Mirel
