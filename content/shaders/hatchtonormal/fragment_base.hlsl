// The island seen in the sea (drawn mirrored, cut at the water line): the
// ground lit by sun and sky from the light map on sampler 2 (as the square
// root of a 1.6th in rgb), thinned by haze; the colour and normal maps on
// samplers 0 and 1 are not read. Pairs with vertex_base.cpp. Alpha 0 marks
// where the island is: the target is cleared to opaque black, and the sea
// reads 1 - alpha as the island's cover.
// The light map is read at one level, the nearest to what the pixel covers:
// one bilinear read instead of a blend of two levels.
// About 20 instructions, 1 texture fetch.
sampler2D s2 : register(s2);

static const float3 kHaze = float3(0.72, 0.80, 0.90);

static const float kMapSize = 1024.0;  // texels a side of the light map

void main(float2 uv : TEXCOORD0,
          float3 worldPosition : TEXCOORD1,
          float3 eyePosition : TEXCOORD5,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float2 texels = uv * kMapSize;
    float2 dx = ddx(texels), dy = ddy(texels);
    float level = max(floor(0.5 * log2(max(dot(dx, dx), dot(dy, dy))) + 0.5), 0.0);
    float3 lit = tex2Dlod(s2, float4(uv, 0.0, level)).rgb;
    // The haze, 1 - e to the -distance / 420, with e to the -x taken as
    // 1 / (1 + x + x * x / 2).
    float x = length(eyePosition - worldPosition) / 420.0;
    float haze = 1.0 - 1.0 / (1.0 + x + 0.5 * x * x);
    oC0 = float4(lerp(lit * lit * 1.6, kHaze, haze * 0.8), 0.0);
    oC1 = (float4)0.0;
}
