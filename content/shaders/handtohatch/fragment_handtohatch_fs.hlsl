// Final picture of the hatching scene: the sketch gives way to the hatching.
// Sampler 0: the hatched scene (the screen texture). Sampler 1: the sketch of
// the scene drawn by fragment_sobel.cpp, its pencil lines' cover in alpha.
// c0.x: how far the change has come, 0 to 1 (the rest of c0 is not used).
// The hatching comes in patch by patch, as if drawn over the sketch, and
// keeps the sketch's outlines on top of it.
// About 90 instructions, 2 texture fetches.
float4 c0 : register(c0);
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);

static const float3 kGraphite = float3(0.17, 0.18, 0.21);
static const float3 kPaper = float3(0.985, 0.98, 0.965);

#include "noise.hlsl"

void main(float2 texCoord : TEXCOORD0,
          float2 texel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float screenHeight = floor(1.0 / texel.y + 0.5);
    float2 pixel = vpos + 0.5;
    float4 sketch = tex2D(s1, texCoord);
    float hatch = tex2D(s0, texCoord).r;

    // Same paper and tooth as the sketch.
    float2 grain = floor(pixel);
    float tooth = 0.6 * Hash(floor(grain * 0.5)) + 0.4 * Hash(grain + 17.0);
    float3 paper = kPaper * (0.975 + 0.025 * tooth);
    float cover = 1.0 - (1.0 - (1.0 - hatch) * (0.75 + 0.25 * tooth)) * (1.0 - sketch.a);
    float3 hatched = lerp(paper, kGraphite, cover);

    // Patches a fifth of the screen high, drawn in over the first seconds.
    float patchLevel = Noise(pixel / (screenHeight * 0.2));
    float reach = clamp(c0.x, 0.0, 1.0) * 1.4 - 0.2;
    float amount = smoothstep(patchLevel - 0.2, patchLevel + 0.2, reach);
    oC0 = float4(lerp(sketch.rgb, hatched, amount), 1.0);
}
