// Scene mesh with its tangent frame, for the sketch and the boat: c0-c3 world
// x view-projection, c4-c7 world (the scene meshes' world is the identity, so
// a caller that puts the inverse transpose there gets the same picture),
// c8.xyz the camera eye where the caller gives it. `finish` is for
// fragment_boat_shatter.cpp: (the colour front's reach, c13.y where the
// caller gives it; no glint; no glow; alpha 1).
// About 35 instructions.
float4x4 worldViewProjection : register(c0);
float4x4 world : register(c4);
float4 eye : register(c8);
float4 front : register(c13);

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
          out float3 eyePosition : TEXCOORD5,
          out float4 finish : TEXCOORD7) {
    clipPosition = mul(float4(position, 1.0), worldViewProjection);
    worldPosition = mul(float4(position, 1.0), world).xyz;
    worldNormal = mul(normal, (float3x3)world);
    worldTangent = mul(tangent, (float3x3)world);
    worldBinormal = mul(binormal, (float3x3)world);
    eyePosition = eye.xyz;
    uv = texCoord;
    finish = float4(front.y, 0.0, 0.0, 1.0);
}
