// The sea, from pencil to colour behind the same front as the island.
// c0 = (time, sweep, -, -). Samplers: 0 waves2 (tangent-space normal, R +x,
// G -z), 1 the sky cube map, 2 the mirrored island (drawn with this camera:
// the pixel's own place on the screen reads it; alpha 0 where the island
// is), 3 Hatch1, 4 hatch0.jpg (long light strokes); 5 (hatch1.jpg) is not
// read.
//
// Two layers of waves drift across each other; they bend the reflection of
// the sky and of the island, and a Fresnel term mixes it with the deep
// water. The sun's glints go to oC1 as well, where they glow.
// About 120 instructions, 6 texture fetches: the waves at their nearest
// level and the mirror image bilinear at its one level, the sky at a fixed
// coarse level, the hatching trilinear (one level all over draws a seam
// across the sea's strokes); on a side of the front that does not show, its
// fetches read one fixed texel (the cube map's, or the two hatch textures').
float4 c0 : register(c0);
sampler2D s0 : register(s0);
samplerCUBE s1 : register(s1);
sampler2D s2 : register(s2);
sampler2D s3 : register(s3);
sampler2D s4 : register(s4);

static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kDeep = float3(0.025, 0.11, 0.16);
static const float3 kShallow = float3(0.06, 0.26, 0.30);
static const float3 kPaper = float3(0.965, 0.955, 0.925);
static const float3 kGraphite = float3(0.20, 0.20, 0.24);
static const float3 kFrontGlow = float3(1.0, 0.72, 0.38);
static const float kFrontWidth = 9.0;
static const float kAllColour = 1.45;  // fronts' widths behind it where a pixel is colour whatever its strokes

float FrontDistance(float3 p) {
    float d = length(p.xz - float2(6.0, 42.0));
    return d < 100.0 ? d : 100.0 + (d - 100.0) * 0.35;
}

#include "sea_waves.hlsl"

// sin(x) near enough for the front's wobble (within 0.06): a parabola a half
// wave, a few instructions where a true sine costs a software rasteriser
// some thirty.
float Wave(float x) {
    float t = frac(x * 0.1591549 + 0.5) * 2.0 - 1.0;
    return 4.0 * t * (1.0 - abs(t));
}

void main(float3 worldPosition : TEXCOORD1,
          float3 toEye : TEXCOORD6,
          float4 screen : TEXCOORD9,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float time = c0.x;
    float2 p = worldPosition.xz;
    float distanceToEye = length(toEye);
    float3 v = toEye / distanceToEye;

    // The front first: behind it the sea needs no strokes, ahead of it no
    // sky. A branch would not spare a software rasteriser the lookups (it
    // runs both sides), so a side that does not show reads one fixed texel
    // instead: one cached bilinear read, no blend of two levels.
    float wobble = 2.5 * Wave(p.x * 0.21 + p.y * 0.13) + 1.5 * Wave(p.y * 0.37 - p.x * 0.17);
    float ahead = c0.y - FrontDistance(worldPosition) + wobble;
    bool showsColour = ahead > 0.0;
    bool showsPencil = ahead < kAllColour * kFrontWidth;
    float edge = exp(-abs(ahead - 0.25 * kFrontWidth) / 2.5) * step(-kFrontWidth, ahead);

    float2 slope = WaveSlope(p, time, distanceToEye);
    float3 n = normalize(float3(slope.x, 1.0, -slope.y));

    // Sky in the waves, the island over it where the mirror image lies.
    float3 r = reflect(-v, n);
    r.y = abs(r.y);
    // The sky changes slowly: its level 2 (64 texels a face) is enough, and
    // one level for every pixel is the cheapest cube read.
    float3 sky = texCUBElod(s1, float4(showsColour ? r : float3(0.0, 1.0, 0.0), 2.0)).rgb;
    float2 onScreen = screen.xy / screen.w * float2(0.5, -0.5) + 0.5;
    float2 ripple = float2(slope.x, abs(slope.y)) * 0.06;
    // The mirror image has one level: read it there, one level for every
    // pixel, the cheapest read.
    float4 mirrored = tex2Dlod(s2, float4(onScreen + ripple, 0.0, 0.0));
    float cover = 1.0 - mirrored.a;
    float3 reflection = lerp(sky, mirrored.rgb * 0.82, cover);

    float facing = clamp(dot(n, v), 0.0, 1.0);
    float away = 1.0 - facing, away2 = away * away;
    float fresnel = 0.03 + 0.97 * away2 * away2 * away;
    float nearShore = 1.0 - smoothstep(20.0, 70.0, length(p - float2(-4.0, 4.0)));
    float3 water = lerp(kDeep, kShallow, nearShore * 0.6);
    float3 colour = lerp(water, reflection, clamp(fresnel + 0.25 * cover, 0.0, 1.0));
    float3 halfway = normalize(v + kSun);
    // x^420 as exp(-420 (1 - x)), the same near 1 where the glint shows:
    // one exponential where pow takes a logarithm too.
    float glint = exp2(-605.9 * (1.0 - dot(n, halfway))) * 6.0 * (1.0 - cover);
    colour += float3(1.0, 0.95, 0.82) * glint;

    // Pencil: strokes laid along the horizon as the eye sees it (long across,
    // short in depth), bent a little by the waves, fading to paper far out.
    // Under the island's reflection the long light strokes turn to cross the
    // others: the cross-hatching comes from the same read.
    float2 across = normalize(float2(-toEye.z, toEye.x));
    float2 strokeAt = float2(dot(p, across) / 34.0, dot(p, float2(across.y, -across.x)) / 7.0) + slope * 0.05;
    strokeAt = showsPencil ? strokeAt : (float2)0.0;
    float open = tex2D(s3, strokeAt).r;
    bool mirror = cover > 0.5;
    float2 q = strokeAt * float2(34.0, 7.0);  // across and in depth, in world units
    float2 crossAt = float2(dot(q, float2(0.64, 0.77)) / 40.0, dot(q, float2(-0.77, 0.64)) / 12.0);
    float loose = tex2D(s4, mirror ? crossAt : strokeAt * 0.5).r;
    float paper = lerp(1.0, open, 0.6) * lerp(1.0, loose, mirror ? 0.85 : 0.5);
    paper = lerp(paper, 1.0, smoothstep(120.0, 480.0, distanceToEye) * (1.0 - cover));
    float3 pencil = lerp(kGraphite, kPaper, paper);

    // Where the pencil does not show, the reveal is whole whatever `open` is;
    // where the colour does not, it is nil.
    float reveal = smoothstep(0.0, 1.0, ahead / kFrontWidth - 0.45 * (1.0 - open));
    oC0 = float4(lerp(pencil, colour, reveal) + kFrontGlow * edge * 0.18, 1.0);
    oC1 = float4(kFrontGlow * edge * 0.75 + float3(1.0, 0.9, 0.75) * min(glint, 2.0) * 0.5 * reveal, 1.0);
}
