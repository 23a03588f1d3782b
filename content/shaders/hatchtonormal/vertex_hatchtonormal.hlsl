// The island in the colour scene: c0-c3 world x view-projection, c4-c7 the
// world's inverse transpose (for directions), c8-c11 world, c12.xyz the eye,
// c13 = (time, sweep, -, -). Hands the fragment shader the world position,
// the tangent frame, the way to the eye and the texture coordinate.
// About 40 instructions.
float4x4 worldViewProjection : register(c0);
float4x4 worldInverseTranspose : register(c4);
float4x4 world : register(c8);
float4 eye : register(c12);

void main(float3 position : POSITION0,
          float3 normal : NORMAL0,
          float2 texCoord : TEXCOORD0,
          float3 tangent : TANGENT0,
          float3 binormal : BINORMAL0,
          out float4 clipPosition : POSITION,
          out float2 uv : TEXCOORD0,
          out float3 worldPosition : TEXCOORD1,
          out float3 worldNormal : TEXCOORD2,
          out float3 worldTangent : TEXCOORD3,
          out float3 worldBinormal : TEXCOORD4,
          out float3 toEye : TEXCOORD6) {
    float3x3 directions = (float3x3)worldInverseTranspose;
    clipPosition = mul(float4(position, 1.0), worldViewProjection);
    worldPosition = mul(float4(position, 1.0), world).xyz;
    worldNormal = mul(normal, directions);
    worldTangent = mul(tangent, directions);
    worldBinormal = mul(binormal, directions);
    toEye = eye.xyz - worldPosition;
    uv = texCoord;
}
