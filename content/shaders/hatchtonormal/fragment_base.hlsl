// The island seen in the sea (drawn mirrored, cut at the water line): the
// colour map under sun and sky, the detail normals and the cast shadows of
// samplers 0-2. Pairs with vertex_base.cpp. Alpha 0 marks where the island
// is: the target is cleared to opaque black, and the sea reads 1 - alpha as
// the island's cover.
// About 45 instructions, 3 texture fetches.
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);
sampler2D s2 : register(s2);

static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kSunColour = float3(1.05, 0.97, 0.86);
static const float3 kSkyColour = float3(0.36, 0.44, 0.56);
static const float3 kHaze = float3(0.72, 0.80, 0.90);

void main(float2 uv : TEXCOORD0,
          float3 worldPosition : TEXCOORD1,
          float3 worldNormal : TEXCOORD2,
          float3 worldTangent : TEXCOORD3,
          float3 worldBinormal : TEXCOORD4,
          float3 eyePosition : TEXCOORD5,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float3 detail = tex2D(s1, uv).xyz * 2.0 - 1.0;
    float3 n = normalize(normalize(worldNormal) * detail.z + normalize(worldTangent) * detail.x +
                       normalize(worldBinormal) * detail.y);
    float inLight = clamp((tex2D(s2, uv).r - 0.5) * 2.0, 0.0, 1.0);
    float sun = max(dot(n, kSun), 0.0) * inLight;
    float skyLight = 0.55 + 0.45 * n.y;
    float3 colour = tex2D(s0, uv).rgb * (kSkyColour * skyLight + kSunColour * sun * 1.25);
    float haze = 1.0 - exp(-length(eyePosition - worldPosition) / 420.0);
    oC0 = float4(lerp(colour, kHaze, haze * 0.8), 0.0);
    oC1 = (float4)0.0;
}
