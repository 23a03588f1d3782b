// Scene mesh for plain hatching: c0-c3 world x view-projection, c4-c7 the
// world's inverse transpose, c8-c11 world.
// About 20 instructions.
float4x4 worldViewProjection : register(c0);
float4x4 worldInverseTranspose : register(c4);

void main(float3 position : POSITION0,
          float3 normal : NORMAL0,
          float2 texCoord : TEXCOORD0,
          out float4 clipPosition : POSITION,
          out float2 uv : TEXCOORD0,
          out float3 worldNormal : TEXCOORD2) {
    clipPosition = mul(float4(position, 1.0), worldViewProjection);
    worldNormal = mul(normal, (float3x3)worldInverseTranspose);
    uv = texCoord;
}
