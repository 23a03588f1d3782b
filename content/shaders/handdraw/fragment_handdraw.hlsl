// The island as a pencil sketch on white paper. Writes a sketch sheet that
// fragment_sobel.cpp turns into the picture:
//   r, b  the smooth tone (light on the broad form and the ground's rough
//         colour from its height and steepness, ground_shade.hlsl, as the
//         hatching scene's sheet has it; no strokes, no fine bumps): the
//         edge finder draws its lines where this tone turns sharply
//         (crests, the edge of the beach);
//   g     the pencil strokes, 1 for bare paper, lower for graphite;
//   a     the distance from the eye, log-scaled (1 is paper): the edge finder
//         draws outlines where it jumps, and along the water line, below
//         which the sheet is left as paper.
// The strokes are short pencil strokes scattered over the ground in world
// space (so they stay put as the camera moves), laid down the fall line of
// the slope; where the ground turns further from the sun a second layer
// crosses them along the slope. Each stroke has a rank and is drawn once the
// ground is dark enough for it, so the shading builds up stroke by stroke;
// the fine bumps of the normal map and the colour map decide how dark.
// Strokes lie in one plane a pixel: the ground seen from above where it is
// gentle, the upright plane facing it best where it is steep
// (pencil_strokes.hlsl).
// Samplers: 0 island colour, 1 island normal map (tangent space), each read
// once at one whole mip level.
// About 160 instructions (no trigonometry, no loops), 2 texture fetches.
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);

static const float3 kSun = float3(0.5, 0.62, 0.6);
static const float kShoreLine = -3.25;  // just under the sea, so the sea hides it once drawn
static const float kMapSize = 1024.0;   // texels a side of the colour and normal maps

#include "noise.hlsl"

#include "pencil_strokes.hlsl"

#include "ground_shade.hlsl"

void main(float2 uv : TEXCOORD0,
          float3 worldPosition : TEXCOORD1,
          float3 worldNormal : TEXCOORD2,
          float3 worldTangent : TEXCOORD3,
          float3 worldBinormal : TEXCOORD4,
          float3 eyePosition : TEXCOORD5,
          out float4 oC0 : COLOR0) {
    float3 n = normalize(worldNormal);
    float3 t = normalize(worldTangent);
    float3 b = normalize(worldBinormal);
    // The colour and normal maps share their coordinates: one mip level for
    // both, the whole one nearest to what the pixel covers, so that each
    // read is one bilinear read, not a blend of two levels.
    float2 texels = uv * kMapSize;
    float2 dx = ddx(texels), dy = ddy(texels);
    float level = max(floor(0.5 * log2(max(max(dot(dx, dx), dot(dy, dy)), 1.0e-8)) + 0.5), 0.0);
    float3 bump = tex2Dlod(s1, float4(uv, 0.0, level)).xyz * 2.0 - 1.0;
    float3 detailNormal = normalize(t * bump.x + b * bump.y + n * max(bump.z, 0.2));
    float3 sun = normalize(kSun);

    // Broad light and colour: what the edge finder sees.
    float albedo = GroundShade(worldPosition, n);
    float broadLight = clamp((dot(n, sun) + 0.25) / 1.25, 0.0, 1.0);
    float smoothTone = clamp(0.35 + 0.65 * broadLight, 0.0, 1.0) * lerp(0.8, 1.1, albedo);

    // Fine light and colour: what chooses the strokes.
    float fineAlbedo = dot(tex2Dlod(s0, float4(uv, 0.0, level)).rgb, float3(0.3, 0.55, 0.15));
    float light = clamp((dot(detailNormal, sun) + 0.2) / 1.2, 0.0, 1.0);
    float darkness = clamp(1.0 - light * lerp(0.75, 1.15, fineAlbedo), 0.0, 1.0);

    float density = smoothstep(0.35, 0.85, darkness);
    float crossDensity = smoothstep(0.68, 1.0, darkness);
    float strokes = Pencil(worldPosition, n, density, crossDensity);
    float graphite = strokes;

    // Nothing below the water line; the edge finder draws the line itself.
    float above = clamp((worldPosition.y - kShoreLine) / max(fwidth(worldPosition.y), 1.0e-3) + 0.5, 0.0, 1.0);
    float depthCode = clamp(log2(distance(worldPosition, eyePosition)) / 10.0, 0.0, 0.95);

    float tone = lerp(1.0, smoothTone, above);
    oC0 = float4(tone, 1.0 - graphite * above, tone, lerp(1.0, depthCode, above));
}
