// The island, from pencil hatching to colour. c0 = (time, sweep, -, -).
// Samplers: 0 colour, 1 detail normals in tangent space, 2 the sun's cast
// shadows (1 in light, 0.5 in full shadow), 3-8 the hatch tones Hatch0 (light)
// to Hatch5 (dark), a tonal art map on white paper: Hatch0 and Hatch3 carry
// the whole ladder in their channels (hatch_ladder.hlsl), so stages 4, 5, 7
// and 8 are not read.
//
// The colour front is a circle round the yacht (6, 42) whose radius is the
// sweep (farther out it runs ahead, so the sea reaches the horizon by the
// time the sweep is about 350). Behind the front the island is in colour; a
// band of strokes about 9 units wide leads it, the paper filling in between
// the strokes first. oC1 carries what glows: a warm line along the front and
// the sunlit rock and sand.
// About 150 instructions, 7 texture fetches (8 on cliff faces).
float4 c0 : register(c0);
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);
sampler2D s2 : register(s2);
sampler2D s3 : register(s3);
sampler2D s6 : register(s6);

static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kSunColour = float3(1.05, 0.97, 0.86);
static const float3 kSkyColour = float3(0.36, 0.44, 0.56);
static const float3 kHaze = float3(0.72, 0.80, 0.90);
static const float3 kPaper = float3(0.965, 0.955, 0.925);
static const float3 kGraphite = float3(0.15, 0.15, 0.19);
static const float3 kFrontGlow = float3(1.0, 0.72, 0.38);
static const float kFrontWidth = 9.0;

float FrontDistance(float3 p) {
    float d = length(p.xz - float2(6.0, 42.0));
    return d < 100.0 ? d : 100.0 + (d - 100.0) * 0.35;
}

#include "hatch_ladder.hlsl"

// Paper value of the hatching for a tone 0..1: Hatch0 (tones 0-3) and
// Hatch3 (tones 3-5) give the whole ladder.
float Hatching(float tone, float2 at) {
    return Ladder(clamp(tone, 0.0, 1.0) * 6.0, tex2D(s3, at), tex2D(s6, at).gba);
}

void main(float2 uv : TEXCOORD0,
          float3 worldPosition : TEXCOORD1,
          float3 worldNormal : TEXCOORD2,
          float3 worldTangent : TEXCOORD3,
          float3 worldBinormal : TEXCOORD4,
          float3 toEye : TEXCOORD6,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float3 n0 = normalize(worldNormal);
    float3 detail = tex2D(s1, uv).xyz * 2.0 - 1.0;
    float3 n = normalize(n0 * detail.z + normalize(worldTangent) * detail.x + normalize(worldBinormal) * detail.y);
    float3 albedo = tex2D(s0, uv).rgb;
    // Cliff faces: the maps, seen from above, have a texel or two across
    // them; there the rock's detail normals are read on the face itself and
    // its colour is banded by strata.
    float wall = smoothstep(0.55, 0.3, abs(n0.y));
    if (wall > 0.0) {
        // Read at the level the face's distance asks for (about 14 texels a
        // unit, against the size of a pixel there).
        float3 along = normalize(float3(-n0.z, 0.0, n0.x) + float3(1.0e-4, 0.0, 0.0));
        float2 onFace = float2(dot(worldPosition, along), -worldPosition.y) / 72.0;
        float3 faceDetail = tex2Dlod(s1, float4(onFace, 0.0, max(log2(length(toEye) / 29.0), 0.0))).xyz * 2.0 - 1.0;
        float3 faceNormal = normalize(n0 * faceDetail.z + along * faceDetail.x + cross(n0, along) * faceDetail.y);
        n = normalize(lerp(n, faceNormal, wall));
        float strata = sin(worldPosition.y * 2.3 + dot(worldPosition, along) * 0.11 + 6.0 * faceDetail.x);
        albedo = lerp(albedo, albedo * (0.97 + 0.1 * strata), wall);
    }
    float3 v = normalize(toEye);
    float distanceToEye = length(toEye);

    float inLight = clamp((tex2D(s2, uv).r - 0.5) * 2.0, 0.0, 1.0);
    float sun = max(dot(n, kSun), 0.0) * inLight;
    float skyLight = 0.55 + 0.45 * n.y;

    // Colour: albedo under sun and sky, thinned by haze with distance.
    float3 colour = albedo * (kSkyColour * skyLight + kSunColour * sun * 1.25);
    float haze = 1.0 - exp(-distanceToEye / 420.0);
    colour = lerp(colour, kHaze, haze * 0.8);

    // Pencil: the light as a tone, darker at the silhouette, on paper. The
    // strokes lie on the ground seen from above and on the slopes seen from
    // the side, blended by how steep the ground is.
    float light = 0.12 * skyLight + 0.88 * sun;
    float rim = 1.0 - smoothstep(0.05, 0.4, abs(dot(n, v)));
    float tone = clamp(0.92 * pow(1.0 - light, 0.85) + 0.3 * rim, 0.0, 1.0);
    float2 fromAbove = worldPosition.xz / 17.0;
    float2 fromSide = float2(worldPosition.x * 0.7 + worldPosition.z * 0.7, worldPosition.y) / 17.0;
    float steep = smoothstep(0.55, 0.8, abs(n0.y));
    float paper = lerp(Hatching(tone, fromSide), Hatching(tone, fromAbove), steep);
    float3 pencil = lerp(kGraphite, kPaper, paper);
    pencil = lerp(pencil, kPaper, haze * 0.6);

    // The front: ahead of it pencil, behind it colour, strokes between.
    float wobble = 2.5 * sin(worldPosition.x * 0.21 + worldPosition.z * 0.13) +
                   1.5 * sin(worldPosition.z * 0.37 - worldPosition.x * 0.17);
    float ahead = c0.y - FrontDistance(worldPosition) + wobble;
    float reveal = smoothstep(0.0, 1.0, ahead / kFrontWidth - 0.45 * (1.0 - paper));
    float3 picture = lerp(pencil, colour, reveal);
    float edge = exp(-abs(ahead - 0.25 * kFrontWidth) / 2.5) * step(-kFrontWidth, ahead);

    oC0 = float4(picture + kFrontGlow * edge * 0.18, 1.0);
    float bright = max(max(colour.r, colour.g), colour.b);
    oC1 = float4(kFrontGlow * edge * 0.75 + colour * reveal * smoothstep(0.7, 1.0, bright) * 0.5, 1.0);
}
