// The open sea under the breaking yacht, in the colour scene's colours.
// c0.x = the time. Samplers: 0 waves2 (tangent-space normal, R +x, G -z),
// 1 the sky cube map, 2 the mirrored yacht (drawn with this camera, so the
// pixel's own place on the screen reads it; alpha 0 where the yacht is,
// opaque black elsewhere; with no texture bound the read is opaque black
// too, and the sea mirrors the sky alone).
//
// Two layers of waves drift across each other and bend the reflections of
// the sky and of the yacht; a Fresnel term mixes them with the deep water,
// and the sun glitters on the crests.
// About 80 instructions, 4 texture fetches: the waves at their nearest
// level, the sky at one coarse cube level, the mirror image bilinear.
float4 c0 : register(c0);
sampler2D s0 : register(s0);
samplerCUBE s1 : register(s1);
sampler2D s2 : register(s2);

static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kDeep = float3(0.025, 0.11, 0.16);
static const float3 kSwell = float3(0.04, 0.17, 0.22);

#include "sea_waves.hlsl"

// x to the power 420 (256 + 128 + 32 + 4) by squaring: eleven products where
// pow costs a software rasteriser a logarithm and an exponential.
float Power420(float x) {
    float x2 = x * x, x4 = x2 * x2, x8 = x4 * x4, x16 = x8 * x8, x32 = x16 * x16;
    float x64 = x32 * x32, x128 = x64 * x64, x256 = x128 * x128;
    return x256 * x128 * x32 * x4;
}

void main(float3 worldPosition : TEXCOORD1,
          float3 toEye : TEXCOORD6,
          float4 screen : TEXCOORD9,
          out float4 oC0 : COLOR0) {
    float time = c0.x;
    float2 p = worldPosition.xz;
    float distanceToEye = length(toEye);
    float3 v = toEye / distanceToEye;

    float2 slope = WaveSlope(p, time, distanceToEye);
    float3 n = normalize(float3(slope.x, 1.0, -slope.y));

    // The sky in the waves, the yacht over it where its mirror image lies;
    // the image wavers with the waves, more the further it lies below the
    // water line on the screen.
    float3 r = reflect(-v, n);
    r.y = abs(r.y);
    // The sky changes slowly: its level 2 (64 texels a face) is enough, and
    // one level for every pixel is the cheapest cube read.
    float3 sky = texCUBElod(s1, float4(r, 2.0)).rgb;
    float2 onScreen = screen.xy / screen.w * float2(0.5, -0.5) + 0.5;
    float2 ripple = float2(slope.x, abs(slope.y)) * 0.05;
    float4 mirrored = tex2D(s2, onScreen + ripple);
    float cover = 1.0 - mirrored.a;
    float3 reflection = lerp(sky, mirrored.rgb * float3(0.78, 0.84, 0.86), cover);

    float facing = clamp(dot(n, v), 0.0, 1.0);
    float away = 1.0 - facing, away2 = away * away;
    float fresnel = 0.03 + 0.97 * away2 * away2 * away;
    float3 water = lerp(kDeep, kSwell, clamp(slope.x * 1.5 + 0.5, 0.0, 1.0) * 0.5);
    float3 colour = lerp(water, reflection, clamp(fresnel + 0.3 * cover, 0.0, 1.0));
    float3 halfway = normalize(v + kSun);
    float glint = Power420(max(dot(n, halfway), 0.0)) * 6.0 * (1.0 - cover);
    colour += float3(1.0, 0.95, 0.82) * glint;

    oC0 = float4(colour, 1.0);
}
