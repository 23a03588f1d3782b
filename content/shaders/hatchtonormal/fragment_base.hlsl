// The island seen in the sea (drawn mirrored, cut at the water line): the
// colour map under sun and sky, the detail normals and the cast shadows of
// samplers 0-2. Pairs with vertex_base.cpp. Alpha 0 marks where the island
// is: the target is cleared to opaque black, and the sea reads 1 - alpha as
// the island's cover.
// The three maps share their coordinates and are read at one level, the
// nearest to what the pixel covers (the shadow map is half the size): one
// bilinear read each instead of a blend of two levels.
// About 50 instructions, 3 texture fetches.
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);
sampler2D s2 : register(s2);

static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kSunColour = float3(1.05, 0.97, 0.86);
static const float3 kSkyColour = float3(0.36, 0.44, 0.56);
static const float3 kHaze = float3(0.72, 0.80, 0.90);

static const float kMapSize = 1024.0;  // texels a side of the colour and normal maps

void main(float2 uv : TEXCOORD0,
          float3 worldPosition : TEXCOORD1,
          float3 worldNormal : TEXCOORD2,
          float3 worldTangent : TEXCOORD3,
          float3 worldBinormal : TEXCOORD4,
          float3 eyePosition : TEXCOORD5,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float2 texels = uv * kMapSize;
    float2 dx = ddx(texels), dy = ddy(texels);
    float level = max(floor(0.5 * log2(max(dot(dx, dx), dot(dy, dy))) + 0.5), 0.0);
    float3 detail = tex2Dlod(s1, float4(uv, 0.0, level)).xyz * 2.0 - 1.0;
    float3 n = normalize(worldNormal * detail.z + worldTangent * detail.x + worldBinormal * detail.y);
    float inLight = clamp((tex2Dlod(s2, float4(uv, 0.0, max(level - 1.0, 0.0))).r - 0.5) * 2.0, 0.0, 1.0);
    float sun = max(dot(n, kSun), 0.0) * inLight;
    float skyLight = 0.55 + 0.45 * n.y;
    float3 colour = tex2Dlod(s0, float4(uv, 0.0, level)).rgb * (kSkyColour * skyLight + kSunColour * sun * 1.25);
    float haze = 1.0 - exp(-length(eyePosition - worldPosition) / 420.0);
    oC0 = float4(lerp(colour, kHaze, haze * 0.8), 0.0);
    oC1 = (float4)0.0;
}
