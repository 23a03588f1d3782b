// The island in pencil hatching, and its pencil sketch beside it.
// c0 = (sketch level, time, -, -); samplers 0-5 the hatch tones Hatch0 (light)
// to Hatch5 (dark). Each carries its own tone and the next three darker ones
// in its channels (hatch_ladder.hlsl): Hatch1 (tones 1-4) and Hatch4 (tones
// 4-5) give the ladder from bare paper to the darkest tone. Hatch0 is not
// read: stage 0 is left clamped by the previous frame's post pass, and the
// hatching tiles; stages 1 and 4 wrap (set at start-up, and 1 by the sea
// pass), so they are read with plain filtered lookups.
//
// Colour 0, the hatching: the light on the ground picks a tone between bare
// paper and Hatch5, blending the two nearest. The sketch level (falling 2 a
// second, and faster on every loud beat of the music's band 40) darkens the
// tones as it falls, so the hatching fills in over the first seconds of the
// scene, and moves the strokes to a new place whenever it passes a step, as
// if the hatching were drawn again: the music sets the pace of the redrawing.
// Colour 1, the sketch sheet of fragment_handdraw.cpp (r, b smooth tone, g
// strokes, a log distance) from the ground's shape and height alone, so that
// fragment_sobel.cpp gives back the sketch of the scene before. The sheet's
// strokes (g) show only while the sketch is still in the final picture: from
// 26 s (8.5 s after the scene's start, when fragment_handtohatch_fs.cpp shows
// the hatching everywhere) only its tone and distance, whose edges stay as
// outlines, are drawn.
// Until 26 s: about 220 instructions, 2 texture fetches; after: about 120
// instructions (where the branch is taken), 2 texture fetches.
float4 c0 : register(c0);
sampler2D s1 : register(s1);
sampler2D s4 : register(s4);

static const float3 kSun = float3(0.5, 0.62, 0.6);
static const float kSeaLevel = -3.0;
static const float kShoreLine = -3.25;  // just under the sea, so the sea hides it once drawn
static const float kHatchTile = 16.0;    // world units a hatch tile covers
static const float kRedrawStep = 1.5;    // sketch-level step between two redrawings
static const float kSteepPlane = 0.325;  // |normal.y| under which strokes lie on an upright plane
static const float kSketchGone = 26.0;   // demo time from which the final pass shows no sketch

#include "noise.hlsl"

#include "pencil_strokes.hlsl"

#include "hatch_ladder.hlsl"

// Hatching of `darkness` (0 paper .. 1 the darkest tone) in one plane, its
// strokes turned to run along `dir` (snapped to twelfths of a half turn, so
// that a patch of ground keeps straight strokes). `p` is in hatch tiles.
float Hatching(float darkness, float2 p, float2 dir) {
    float step = floor(frac(atan2(dir.y, dir.x) / 3.14159265) * 12.0 + 0.5);
    float angle = step * 3.14159265 / 12.0;
    float2 u = float2(cos(angle), sin(angle));
    float2 q = float2(dot(p, u), dot(p, float2(-u.y, u.x))) + float2(0.37, 0.61) * step;
    return Ladder(clamp(darkness, 0.0, 1.0) * 5.0, tex2D(s1, q), tex2D(s4, q).gba);
}

// A rough colour of the ground from its height and steepness (sand on the
// shore, rock on steep and high ground, grass elsewhere, weed below the water).
float GroundShade(float3 p, float3 n) {
    float rock = max(smoothstep(0.28, 0.5, 1.0 - n.y), smoothstep(21.0, 27.0, p.y));
    float sand = (1.0 - smoothstep(-1.6, 0.4, p.y)) * (1.0 - rock);
    float shade = lerp(lerp(0.40, 0.73, sand), 0.47, rock);
    return lerp(shade, 0.30, clamp((kSeaLevel - 0.3 - p.y) / 6.0, 0.0, 1.0));
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
    float2 shift = float2(Hash(float2(redraw, 3.0)), Hash(float2(redraw, 11.0)));
    // Strokes down the fall line: on the ground seen from above where it is
    // gentle, on the upright plane that faces it best where it is steep. One
    // plane a pixel, as a hand lays one patch of strokes beside the next:
    // where the ground turns steep the strokes change plane, as they change
    // direction between patches.
    float3 fall = float3(0.0, -1.0, 0.0) + n * n.y;
    bool steep = abs(n.y) < kSteepPlane;
    bool facesX = abs(n.x) > abs(n.z);
    float3 p = worldPosition / kHatchTile;
    float2 at = steep ? (facesX ? p.zy : p.xy) + shift.yx : p.xz + shift;
    float2 along = steep ? (facesX ? fall.zy : fall.xy) : fall.xz;
    float2 hatchFall = length(along) > 0.05 ? along : (steep ? float2(0.0, 1.0) : float2(0.6, -0.8));
    float hatch = Hatching(darkness, at, hatchFall);
    oC0 = float4(float3(lerp(1.0, hatch, above)), 1.0);

    // Colour 1: the sketch sheet, as fragment_handdraw.cpp draws it.
    float sketchLight = clamp((dot(n, sun) + 0.2) / 1.2, 0.0, 1.0);
    float sketchDarkness = clamp(1.0 - sketchLight * lerp(0.75, 1.15, albedo), 0.0, 1.0);
    float smoothTone = clamp(0.35 + 0.65 * broadLight, 0.0, 1.0) * lerp(0.8, 1.1, albedo);
    // Its strokes lie in the hatching's plane (Pencil's two planes, without
    // the blend between them on the steep band), each plane's pixel size
    // taken in that plane, so that where the plane changes the jump between
    // them is not taken for a pixel's size. A software rasteriser runs the
    // branch whatever the time (it runs both sides of a branch).
    float2 sketchSide = facesX ? worldPosition.zy : worldPosition.xy;
    float2 sketchAt = steep ? sketchSide : worldPosition.xz;
    float sketchPixel = max(length(steep ? fwidth(sketchSide) : fwidth(worldPosition.xz)) * 0.75, 1.0e-4);
    float graphite = 0.0;
    if (c0.y < kSketchGone)
        graphite = Layers(sketchAt, sketchPixel, hatchFall, smoothstep(0.35, 0.85, sketchDarkness),
                          smoothstep(0.68, 1.0, sketchDarkness), steep ? 13.0 : 0.0);
    float depthCode = clamp(log2(distance(worldPosition, eyePosition)) / 10.0, 0.0, 0.95);
    float tone = lerp(1.0, smoothTone, above);
    oC1 = float4(tone, 1.0 - graphite * above, tone, lerp(1.0, depthCode, above));
}
