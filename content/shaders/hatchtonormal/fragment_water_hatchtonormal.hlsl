// The sea, from pencil to colour behind the same front as the island.
// c0 = (time, sweep, -, -). Samplers: 0 waves2 (tangent-space normal, R +x,
// G -z), 1 the sky cube map, 2 the mirrored island (drawn with this camera:
// the pixel's own place on the screen reads it; alpha 0 where the island
// is), 3-5 Hatch1, hatch0.jpg (long light strokes), hatch1.jpg (cross).
//
// Two layers of waves drift across each other; they bend the reflection of
// the sky and of the island, and a Fresnel term mixes it with the deep
// water. The sun's glints go to oC1 as well, where they glow.
// About 120 instructions, 8 texture fetches.
float4 c0 : register(c0);
sampler2D s0 : register(s0);
samplerCUBE s1 : register(s1);
sampler2D s2 : register(s2);
sampler2D s3 : register(s3);
sampler2D s4 : register(s4);
sampler2D s5 : register(s5);

static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kDeep = float3(0.025, 0.11, 0.16);
static const float3 kShallow = float3(0.06, 0.26, 0.30);
static const float3 kPaper = float3(0.965, 0.955, 0.925);
static const float3 kGraphite = float3(0.20, 0.20, 0.24);
static const float3 kFrontGlow = float3(1.0, 0.72, 0.38);
static const float kFrontWidth = 9.0;

float FrontDistance(float3 p) {
    float d = length(p.xz - float2(6.0, 42.0));
    return d < 100.0 ? d : 100.0 + (d - 100.0) * 0.35;
}

#include "sea_waves.hlsl"

void main(float3 worldPosition : TEXCOORD1,
          float3 toEye : TEXCOORD6,
          float4 screen : TEXCOORD9,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float time = c0.x;
    float2 p = worldPosition.xz;
    float distanceToEye = length(toEye);
    float3 v = toEye / distanceToEye;

    float2 slope = WaveSlope(p, time, distanceToEye);
    float3 n = normalize(float3(slope.x, 1.0, -slope.y));

    // Sky in the waves, the island over it where the mirror image lies.
    float3 r = reflect(-v, n);
    r.y = abs(r.y);
    float3 sky = texCUBE(s1, r).rgb;
    float2 onScreen = screen.xy / screen.w * float2(0.5, -0.5) + 0.5;
    float2 ripple = float2(slope.x, abs(slope.y)) * 0.06;
    float4 mirrored = tex2D(s2, onScreen + ripple);
    float cover = 1.0 - mirrored.a;
    float3 reflection = lerp(sky, mirrored.rgb * 0.82, cover);

    float facing = clamp(dot(n, v), 0.0, 1.0);
    float fresnel = 0.03 + 0.97 * pow(1.0 - facing, 5.0);
    float nearShore = 1.0 - smoothstep(20.0, 70.0, length(p - float2(-4.0, 4.0)));
    float3 water = lerp(kDeep, kShallow, nearShore * 0.6);
    float3 colour = lerp(water, reflection, clamp(fresnel + 0.25 * cover, 0.0, 1.0));
    float3 halfway = normalize(v + kSun);
    float glint = pow(max(dot(n, halfway), 0.0), 420.0) * 6.0 * (1.0 - cover);
    colour += float3(1.0, 0.95, 0.82) * glint;

    // Pencil: strokes laid along the horizon as the eye sees it (long across,
    // short in depth), cross-hatching under the island's reflection, bent a
    // little by the waves, fading to paper far out.
    float2 across = normalize(float2(-toEye.z, toEye.x));
    float2 strokeAt = float2(dot(p, across) / 34.0, dot(p, float2(across.y, -across.x)) / 7.0) + slope * 0.05;
    float open = tex2D(s3, strokeAt).r;
    float crossed = tex2D(s5, strokeAt * float2(1.0, 0.4)).r;
    float loose = tex2D(s4, strokeAt * 0.5).r;
    float paper = lerp(1.0, open, 0.6) * lerp(1.0, loose, 0.5);
    paper = lerp(paper, paper * lerp(1.0, crossed, 0.85), cover);
    paper = lerp(paper, 1.0, smoothstep(120.0, 480.0, distanceToEye) * (1.0 - cover));
    float3 pencil = lerp(kGraphite, kPaper, paper);

    float wobble = 2.5 * sin(p.x * 0.21 + p.y * 0.13) + 1.5 * sin(p.y * 0.37 - p.x * 0.17);
    float ahead = c0.y - FrontDistance(worldPosition) + wobble;
    float reveal = smoothstep(0.0, 1.0, ahead / kFrontWidth - 0.45 * (1.0 - open));
    float edge = exp(-abs(ahead - 0.25 * kFrontWidth) / 2.5) * step(-kFrontWidth, ahead);

    oC0 = float4(lerp(pencil, colour, reveal) + kFrontGlow * edge * 0.18, 1.0);
    oC1 = float4(kFrontGlow * edge * 0.75 + float3(1.0, 0.9, 0.75) * min(glint, 2.0) * 0.5 * reveal, 1.0);
}
