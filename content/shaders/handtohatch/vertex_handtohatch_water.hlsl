// Sea for the hatching scene: c0-c3 world x view-projection, c4-c7 the
// world's inverse transpose, c8-c11 world, c12.xyz the eye, c13 = (sketch
// level, time, -, -). Texture coordinate 0 tiles the sea every 24 units.
// About 35 instructions.
float4x4 worldViewProjection : register(c0);
float4x4 worldInverseTranspose : register(c4);
float4x4 world : register(c8);
float4 eye : register(c12);
float4 levelAndTime : register(c13);

void main(float3 position : POSITION0,
          float3 normal : NORMAL0,
          float2 texCoord : TEXCOORD0,
          out float4 clipPosition : POSITION,
          out float2 uv : TEXCOORD0,
          out float3 worldPosition : TEXCOORD1,
          out float3 worldNormal : TEXCOORD2,
          out float3 eyePosition : TEXCOORD5,
          out float time : TEXCOORD8) {
    clipPosition = mul(float4(position, 1.0), worldViewProjection);
    worldNormal = mul(normal, (float3x3)worldInverseTranspose);
    worldPosition = mul(float4(position, 1.0), world).xyz;
    eyePosition = eye.xyz;
    uv = texCoord;
    time = levelAndTime.y;
}
