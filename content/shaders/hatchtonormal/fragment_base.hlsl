// The island seen in the sea (drawn mirrored, cut at the water line): the
// colour map of sampler 0 under the sun and the sky of the light map on
// sampler 2 (the sun's light on the detail normals with the cast shadows in
// red, the sky's in green; the normal map on sampler 1 is not read). Pairs
// with vertex_base.cpp. Alpha 0 marks where the island is: the target is
// cleared to opaque black, and the sea reads 1 - alpha as the island's
// cover.
// The two maps share their coordinates and are read at one level, the
// nearest to what the pixel covers: one bilinear read each instead of a
// blend of two levels.
// About 25 instructions, 2 texture fetches.
sampler2D s0 : register(s0);
sampler2D s2 : register(s2);

static const float3 kSunColour = float3(1.05, 0.97, 0.86);
static const float3 kSkyColour = float3(0.36, 0.44, 0.56);
static const float3 kHaze = float3(0.72, 0.80, 0.90);

static const float kMapSize = 1024.0;  // texels a side of the colour and light maps

void main(float2 uv : TEXCOORD0,
          float3 worldPosition : TEXCOORD1,
          float3 eyePosition : TEXCOORD5,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float2 texels = uv * kMapSize;
    float2 dx = ddx(texels), dy = ddy(texels);
    float level = max(floor(0.5 * log2(max(dot(dx, dx), dot(dy, dy))) + 0.5), 0.0);
    float2 lit = tex2Dlod(s2, float4(uv, 0.0, level)).xy;  // sun, sky
    float3 colour = tex2Dlod(s0, float4(uv, 0.0, level)).rgb * (kSkyColour * lit.y + kSunColour * lit.x * 1.25);
    float haze = 1.0 - exp(-length(eyePosition - worldPosition) / 420.0);
    oC0 = float4(lerp(colour, kHaze, haze * 0.8), 0.0);
    oC1 = (float4)0.0;
}
