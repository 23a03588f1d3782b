// The third scene, 17.5 to 33.5 s: the sketch turns into pencil hatching and
// the sea comes into view, while the camera keeps flying the sketch scene's
// path. Every frame the island and the sea are drawn into two targets at once:
// the hatching into the screen texture and a sketch sheet into `sceneTarget1`;
// the edge filter turns the sheet into the sketch with its outlines
// (`edgeTexture`), and the last pass lets the hatching take over from the
// sketch as `blend` rises from 0 to 1 over the first 8.5 s. `sketchLevel`
// (15 at the start) falls 2 a second and by ten times the music's band 40
// every frame; the island's hatching fills in and is redrawn with it.
//
// Timeline, seconds after the start (trigger id: delay):
//   0: 5.3    the sea appears, growing outward from (2, -3, 24) at 19 units a second
//   (8.5      blend reaches 1 and stays)
#pragma once

#include "platform/d3dx9/d3dx9.h"
#include "timeline/effect.h"

namespace Mirel {

class HandToHatchEffect : public Effect {
public:
    using Effect::Effect;

    void Init() override;
    void Update(double dt, double time) override;
    void Render() override;
    void Stop() override;
    void PostProcess() override;

    // x: sketchLevel; y: the frame's demo time; z, w unused. Given whole to
    // the island and sea shaders.
    D3DXVECTOR4 sceneParams{0.0f, 0.0f, 0.0f, 0.0f};
    IDirect3DTexture9* sceneTarget1 = nullptr;  // render target 1 of the scene pass
    IDirect3DTexture9* edgeTexture = nullptr;   // the edge pass's output
    float blend = 0.0f;
    D3DXVECTOR3 waterOrigin{0.0f, 0.0f, 0.0f};
    float waterGrowth = 0.0f;
};

}  // namespace Mirel
