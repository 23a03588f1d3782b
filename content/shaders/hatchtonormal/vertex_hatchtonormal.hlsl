// The island in the colour scene: c0-c3 world x view-projection, c4-c7 the
// world's inverse transpose (for directions), c8-c11 world, c12.xyz the eye,
// c13 = (time, sweep, -, -). Hands the fragment shader the world position
// (the island's maps are laid on it from above), the normal, and what
// changes slowly over the island (its cells are about a unit across): the
// level direction across the slope that the cliff faces' strata tilt along,
// how far the colour front is past the point, the haze and the pencil's
// darkening towards the silhouette.
// About 75 instructions.
float4x4 worldViewProjection : register(c0);
float4x4 worldInverseTranspose : register(c4);
float4x4 world : register(c8);
float4 eye : register(c12);
float4 timeAndSweep : register(c13);

float FrontDistance(float3 p) {
    float d = length(p.xz - float2(6.0, 42.0));
    return d < 100.0 ? d : 100.0 + (d - 100.0) * 0.35;
}

void main(float3 position : POSITION0,
          float3 normal : NORMAL0,
          float2 texCoord : TEXCOORD0,
          float3 tangent : TANGENT0,
          float3 binormal : BINORMAL0,
          out float4 clipPosition : POSITION,
          out float3 worldPosition : TEXCOORD1,
          out float3 worldNormal : TEXCOORD2,
          out float3 alongSlope : TEXCOORD3,
          out float4 slow : TEXCOORD6) {  // x how far the front is past the point, y haze, z 0, w rim
    float3x3 directions = (float3x3)worldInverseTranspose;
    clipPosition = mul(float4(position, 1.0), worldViewProjection);
    worldPosition = mul(float4(position, 1.0), world).xyz;
    worldNormal = mul(normal, directions);
    // Level and across the slope: the cliff faces' strata tilt along it.
    alongSlope = normalize(float3(-worldNormal.z, 0.0, worldNormal.x) + float3(1.0e-4, 0.0, 0.0));

    // The front is a circle round the yacht (6, 42) whose radius is the
    // sweep, wobbling a little (waves some 15 units long, so the cells
    // follow them).
    float wobble = 2.5 * sin(worldPosition.x * 0.21 + worldPosition.z * 0.13) +
                   1.5 * sin(worldPosition.z * 0.37 - worldPosition.x * 0.17);
    float3 toEye = eye.xyz - worldPosition;
    float distanceToEye = length(toEye);
    // The silhouette: where the ground turns away from the eye the pencil
    // darkens it.
    float facing = abs(dot(normalize(worldNormal), toEye)) / distanceToEye;
    slow = float4(timeAndSweep.y - FrontDistance(worldPosition) + wobble, 1.0 - exp(-distanceToEye / 420.0),
                  0.0, 1.0 - smoothstep(0.05, 0.4, facing));
}
