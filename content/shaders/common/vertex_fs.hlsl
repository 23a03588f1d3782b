// Full-screen pass: the quad arrives in clip space with texture coordinate 0,
// (0, 0) at the top left of the target. c0.xy holds one screen texel in
// texture coordinates; sampling needs no half-texel shift here, so it is
// only handed on: pixel shaders paired with this one read
// `float2 texCoord : TEXCOORD0` and, where they need the screen's texel,
// `float2 texel : TEXCOORD9`.
// About 3 instructions.
float4 screenTexel : register(c0);

void main(float3 position : POSITION0,
          float2 texCoord : TEXCOORD0,
          out float4 clipPosition : POSITION,
          out float2 uvOut : TEXCOORD0,
          out float2 texel : TEXCOORD9) {
    clipPosition = float4(position, 1.0);
    uvOut = texCoord;
    texel = screenTexel.xy;
}
