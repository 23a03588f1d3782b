// Small routines every scene shares: handing matrices and the eye to vertex
// shaders, drawing a scene mesh whole, screen-sized render targets, fade
// levels from triggers, and the word pictures laid over the picture.
//
// Device state (samplers, render states, textures, constants, render target 1)
// is device-wide and stays as the last pass left it; each scene sets exactly
// the states its passes need and nothing is reset between passes.
#pragma once

#include <initializer_list>

#include "platform/d3dx9/d3dx9.h"
#include "render/release_interface.h"
#include "render/render_target.h"
#include "render/screen_target.h"
#include "scene/mesh_object.h"
#include "timeline/trigger.h"

// Writes the transpose of `matrix` to four vertex-shader registers from `reg`,
// so a shader's float4x4 receives the matrix as named.
void SetMatrixConstant(IDirect3DDevice9* device, UINT reg, const D3DXMATRIX& matrix);
// Writes the camera's eye (world space) to one vertex-shader register.
void SetEyeConstant(IDirect3DDevice9* device, UINT reg);
// DrawSubset(k) for every material k of the mesh object.
void DrawAllSubsets(const Mirel::XMeshObj& mesh);

// Fade levels 0..255 for a fired trigger, `rate` levels a second from the trigger's moment.
int FadeInValue(const Mirel::Trigger& trigger, double time, double rate);
int FadeOutValue(const Mirel::Trigger& trigger, double time, double rate);
// White with the fade level as alpha.
inline D3DCOLOR FadeColor(int level) { return (static_cast<DWORD>(level) << 24) | 0x00FFFFFFu; }

struct TitleWord {
    const char* texture;
    float x;
    float y;
    int level;
};
// Draws the words with the shared sprite in object space under a scaling of
// (0.0005, -0.0005): a point (x, y) lands at clip (0.0005 x, -0.0005 y).
void DrawTitleWords(DWORD flags, std::initializer_list<TitleWord> words);
