// The globe, shaded: c0-c3 world x view-projection, c4-c7 the inverse
// transpose of its world (the identity: the globe stands where its mesh file
// puts it, so model space is world space), c8.xyz the eye, c9 earthVector.
// The sun stands a third of a turn round the globe from earthVector's side
// (which is close to the camera's), so the camera sees a lit face, the
// terminator and a rim of night.
// About 45 instructions.
float4x4 worldViewProjection : register(c0);
float4x4 worldInverseTranspose : register(c4);
float4 eye : register(c8);
float4 earthVector : register(c9);

// earthVector's direction turned by `angle` about the world's y axis.
float3 SunFrom(float3 side, float angle) {
    float s = sin(angle);
    float k = cos(angle);
    return normalize(float3(side.x * k - side.z * s, side.y * 0.35, side.x * s + side.z * k));
}

void main(float3 position : POSITION0,
          float3 normalIn : NORMAL0,
          float2 texCoord : TEXCOORD0,
          float3 tangentIn : TANGENT0,
          float3 binormalIn : BINORMAL0,
          out float4 clipPosition : POSITION,
          out float2 uv : TEXCOORD0,
          out float3 normal : TEXCOORD2,
          out float3 tangent : TEXCOORD3,
          out float3 binormal : TEXCOORD4,
          out float3 toEye : TEXCOORD6,
          out float3 toSun : TEXCOORD7) {
    float3x3 inverseTranspose = (float3x3)worldInverseTranspose;
    clipPosition = mul(float4(position, 1.0), worldViewProjection);
    normal = mul(normalIn, inverseTranspose);
    tangent = mul(tangentIn, inverseTranspose);
    binormal = mul(binormalIn, inverseTranspose);
    toEye = eye.xyz - position;
    toSun = SunFrom(earthVector.xyz, -1.25);
    uv = texCoord;
}
