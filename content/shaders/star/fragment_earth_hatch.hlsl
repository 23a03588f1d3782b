// The globe, hatched over its shading. c0 = earthVector: its direction gives
// the sun (a third of a turn round the globe from it, as vertex_earth.cpp
// places it) and its w, which grows by 0.1 a second, has the strokes drawn
// anew every two seconds at a new place, as if the pencil went over the
// globe again; between redrawings the strokes stay put (`paper`, from the
// vertex shader, curving round the globe as the eye sees it) while the
// globe turns under them.
// Samplers 0-5 hold Hatch0 (light) to Hatch5 (dark), a tonal art map. Each
// carries its own tone and the next three darker ones in its channels, so
// Hatch0 (tones 0-3) and Hatch3 (tones 3-5) give the whole ladder
// (hatch_ladder.hlsl) and stages 1, 2, 4 and 5 are not read. The scene sets
// stages 0-2 to wrap with linear filtering and mip levels every frame; stage
// 3 has the same states, which the colour scene's state block puts back
// every frame (its start-up record has stages 0-8 so).
//
// Blended as source x source colour + destination x source alpha: alpha
// darkens the shaded globe under graphite strokes on the day side, and on
// the night side the colour adds light strokes, like white pencil on dark
// paper.
// About 80 instructions, 4 texture fetches.
float4 c0 : register(c0);
sampler2D s0 : register(s0);
sampler2D s3 : register(s3);

static const float3 kChalk = float3(0.55, 0.62, 0.78);
static const float3 kPaper = float3(0.965, 0.955, 0.925);

#include "hatch_ladder.hlsl"

// Paper value (1 white .. 0 graphite) of the hatching for a tone 0..1:
// Hatch0 (tones 0-3) and Hatch3 (tones 3-5) give the whole ladder.
float Hatching(float tone, float2 at) {
    return Ladder(clamp(tone, 0.0, 1.0) * 6.0, tex2D(s0, at), tex2D(s3, at).gba);
}

// earthVector's direction turned by `angle` about the world's y axis.
float3 SunFrom(float3 side, float angle) {
    float s = sin(angle);
    float k = cos(angle);
    return normalize(float3(side.x * k - side.z * s, side.y * 0.35, side.x * s + side.z * k));
}

void main(float3 normal : TEXCOORD2,
          float3 toEye : TEXCOORD6,
          float2 paper : TEXCOORD8,
          out float4 oC0 : COLOR0) {
    float redraw = floor(c0.w * 5.0);
    float2 at = paper + frac(float2(0.754877, 0.569840) * redraw);

    float3 n = normalize(normal);
    float3 v = normalize(toEye);
    float facing = dot(n, SunFrom(c0.xyz, -1.25));
    float day = smoothstep(-0.12, 0.22, facing);
    float rim = 1.0 - smoothstep(0.0, 0.45, dot(n, v));

    // Day: the less light, the more strokes; the limb drawn round.
    float dayTone = clamp(0.95 * pow(1.0 - clamp(facing, 0.0, 1.0), 1.4) + 0.15 + 0.3 * rim, 0.0, 1.0);
    // Strokes drawn with a sharp point: the hatch textures' soft stroke
    // edges, smeared further by their mip levels on the small globe, are
    // pulled in, so that a stroke reads as a line rather than a streak.
    float graphite = smoothstep(0.1, 0.6, 1.0 - Hatching(dayTone, at));
    float darken = 1.0 - graphite * 0.6 * day;
    // A thin wash of paper over the day side, as if the colour were laid on it.
    float wash = 0.1 * day;

    // Night: light strokes, thicker towards the terminator and the limb.
    float nightTone = clamp(0.15 + 0.35 * smoothstep(-0.6, 0.0, facing) + 0.25 * rim, 0.0, 0.6);
    float chalk = smoothstep(0.2, 0.6, 1.0 - Hatching(nightTone, at + float2(0.5, 0.25))) * (1.0 - day);

    oC0 = float4(sqrt(kChalk * chalk * 0.4 + kPaper * wash), darken * (1.0 - wash));
}
