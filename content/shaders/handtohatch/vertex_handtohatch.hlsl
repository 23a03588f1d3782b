// Island for the hatching scene: c0-c3 world x view-projection, c4-c7 the
// world's inverse transpose (for normals), c8-c11 world, c12.xyz the eye,
// c13 = (sketch level, time, -, -), which the pixel shader reads itself.
// About 30 instructions.
float4x4 worldViewProjection : register(c0);
float4x4 worldInverseTranspose : register(c4);
float4x4 world : register(c8);
float4 eye : register(c12);

void main(float3 position : POSITION0,
          float3 normal : NORMAL0,
          float2 texCoord : TEXCOORD0,
          out float4 clipPosition : POSITION,
          out float2 uv : TEXCOORD0,
          out float3 worldPosition : TEXCOORD1,
          out float3 worldNormal : TEXCOORD2,
          out float3 eyePosition : TEXCOORD5) {
    clipPosition = mul(float4(position, 1.0), worldViewProjection);
    worldNormal = mul(normal, (float3x3)worldInverseTranspose);
    worldPosition = mul(float4(position, 1.0), world).xyz;
    eyePosition = eye.xyz;
    uv = texCoord;
}
