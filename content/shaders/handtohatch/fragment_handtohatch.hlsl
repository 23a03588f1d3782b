// The island in pencil hatching, and its pencil sketch beside it.
// c0 = (sketch level, time, -, -); samplers 0-5 the hatch tones Hatch0 (light)
// to Hatch5 (dark). Each carries its own tone and the next three darker ones
// in its channels (hatch_ladder.hlsl). Only Hatch1 (tones 1-4) is read, once,
// at one whole mip level: stage 0 is left clamped by the previous frame's
// post pass, and the hatching tiles; stage 1 wraps (set at start-up and by
// the sea pass).
//
// Colour 0, the hatching: the light on the ground picks a tone between bare
// paper and the darkest tone, blending the two nearest. The sketch level
// (falling 2 a second, and faster on every loud beat of the music's band 40)
// darkens the tones as it falls, so the hatching fills in over the first
// seconds of the scene, and moves the strokes to a new place whenever it
// passes a step, as if the hatching were drawn again: the music sets the pace
// of the redrawing. The strokes run down the fall line, in the plane and the
// snapped direction of the sketch's strokes (pencil_strokes.hlsl).
// Colour 1, the sketch sheet of fragment_handdraw.cpp (r, b smooth tone, g
// strokes, a log distance) from the ground's shape and height alone, so that
// fragment_sobel.cpp gives back the sketch of the scene before. The sheet's
// strokes (g) show only while the sketch is still in the final picture: from
// 26 s (8.5 s after the scene's start, when fragment_handtohatch_fs.cpp shows
// the hatching everywhere) only its tone and distance, whose edges stay as
// outlines, are drawn.
// About 190 instructions (no trigonometry, no loops; a GPU skips the sheet's
// strokes after 26 s, about 80 of them), 1 texture fetch.
float4 c0 : register(c0);
sampler2D s1 : register(s1);

static const float3 kSun = float3(0.5, 0.62, 0.6);
static const float kShoreLine = -3.25;  // just under the sea, so the sea hides it once drawn
static const float kHatchTile = 16.0;    // world units a hatch tile covers
static const float kTexelsPerUnit = 256.0 / kHatchTile;  // level 0 of the hatch tones
static const float kRedrawStep = 1.5;    // sketch-level step between two redrawings
static const float kSketchGone = 26.0;   // demo time from which the final pass shows no sketch

#include "noise.hlsl"

#include "pencil_strokes.hlsl"

#include "hatch_ladder.hlsl"

#include "ground_shade.hlsl"

// Hatching of `darkness` (0 paper .. 1 the darkest tone) at `q` (in hatch
// tiles, already turned along the strokes), read at mip level `level`: one
// bilinear read of Hatch1 (tones 1-4); the darkest tone deepens tone 4's
// strokes, which already cross in three directions.
float Hatching(float darkness, float2 q, float level) {
    float4 tones = tex2Dlod(s1, float4(q, 0.0, level));
    float darkest = tones.a * tones.a;
    return Ladder(clamp(darkness, 0.0, 1.0) * 5.0, tones, float3(darkest, darkest, darkest));
}

void main(float2 uv : TEXCOORD0,
          float3 worldPosition : TEXCOORD1,
          float3 worldNormal : TEXCOORD2,
          float3 eyePosition : TEXCOORD5,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float sketchLevel = c0.x;
    float3 n = normalize(worldNormal);
    float3 sun = normalize(kSun);
    float3 toEye = normalize(eyePosition - worldPosition);
    float above = clamp((worldPosition.y - kShoreLine) / max(fwidth(worldPosition.y), 1.0e-3) + 0.5, 0.0, 1.0);
    float albedo = GroundShade(worldPosition, n);
    float broadLight = clamp((dot(n, sun) + 0.25) / 1.25, 0.0, 1.0);

    // Colour 0: hatching. The sun and the turn of the ground away from the
    // eye choose the tone; the falling sketch level fills it in.
    float fill = clamp((15.0 - sketchLevel) / 24.0, 0.0, 1.0);
    float facing = clamp(dot(n, toEye), 0.0, 1.0);
    float light = clamp(dot(n, sun), 0.0, 1.0) * (0.45 + 0.55 * sqrt(facing));
    float darkness = (1.0 - light * lerp(0.85, 1.25, albedo)) * lerp(0.55, 1.0, fill);
    float redraw = floor(sketchLevel / kRedrawStep);
    float2 shift = frac(redraw * float2(0.6180340, 0.3819660));
    // Strokes down the fall line: on the ground seen from above where it is
    // gentle, on the upright plane that faces it best where it is steep. One
    // plane a pixel, as a hand lays one patch of strokes beside the next:
    // where the ground turns steep the strokes change plane, as they change
    // direction between patches (pencil_strokes.hlsl). The sketch sheet's
    // strokes below lie in the same plane and direction.
    float2 fall;
    float4 plane = PencilPlane(worldPosition, n, fall);
    float4 d = StrokeDirection(fall);
    float2 at = plane.xy / kHatchTile + shift;
    float2 q = float2(dot(at, d.xy), dot(at, float2(-d.y, d.x))) + d.zw * 0.37;
    // One mip level for the pixel's footprint on the ground (whatever the
    // plane), the nearest whole one: a single bilinear read.
    float3 dx = ddx(worldPosition) * kTexelsPerUnit, dy = ddy(worldPosition) * kTexelsPerUnit;
    float level = max(floor(0.5 * log2(max(max(dot(dx, dx), dot(dy, dy)), 1.0e-8)) + 0.5), 0.0);
    float hatch = Hatching(darkness, q, level);
    oC0 = float4(float3(lerp(1.0, hatch, above)), 1.0);

    // Colour 1: the sketch sheet, as fragment_handdraw.cpp draws it.
    float sketchLight = clamp((dot(n, sun) + 0.2) / 1.2, 0.0, 1.0);
    float sketchDarkness = clamp(1.0 - sketchLight * lerp(0.75, 1.15, albedo), 0.0, 1.0);
    float smoothTone = clamp(0.35 + 0.65 * broadLight, 0.0, 1.0) * lerp(0.8, 1.1, albedo);
    float density = smoothstep(0.2, 0.75, sketchDarkness);
    float crossDensity = smoothstep(0.6, 1.0, sketchDarkness);
    float graphite = 0.0;
    if (c0.y < kSketchGone) graphite = Layers(plane.xy, plane.z, d, density, crossDensity, plane.w);
    float depthCode = clamp(log2(distance(worldPosition, eyePosition)) / 10.0, 0.0, 0.95);
    float tone = lerp(1.0, smoothTone, above);
    oC1 = float4(tone, 1.0 - graphite * above, tone, lerp(1.0, depthCode, above));
}
