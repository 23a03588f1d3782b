// The flat sea: its place on the screen, in the world and seen from the eye;
// `screen` is the clip position again, for the pixel's place on the screen.
float4x4 worldViewProjection : register(c0);
float4x4 world : register(c8);
float4 eye : register(c12);

void main(float3 position : POSITION0,
          out float4 clipPosition : POSITION,
          out float3 worldPosition : TEXCOORD1,
          out float3 toEye : TEXCOORD6,
          out float4 screen : TEXCOORD9) {
    clipPosition = mul(float4(position, 1.0), worldViewProjection);
    worldPosition = mul(float4(position, 1.0), world).xyz;
    toEye = eye.xyz - worldPosition;
    screen = clipPosition;
}
