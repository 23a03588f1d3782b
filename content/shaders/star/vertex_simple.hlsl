// The credits card on its path: c0-c3 the path's matrix x view-projection.
// The piece shader (fragment_boat_shatter.cpp) draws sampler 0 in pencil at
// (x + z, y) / 5 of the position it is handed, lit by its own sun through the
// normal, with colour only where `finish.x` says its front has reached (then
// a glint, a glow and the alpha). The card hands over its texture coordinates
// in that form, so the picture lands on it whole and upright; a level normal
// square to that sun, which gives the picture its full contrast (the
// lettering graphite, the card paper); a front that never reaches it, no
// glint, no glow, opaque.
// About 20 instructions.
float4x4 pathViewProjection : register(c0);
// Level and square to (0.5014, 0.6217, 0.6017), the piece shader's sun.
static const float3 kFlat = float3(0.7682, 0.0, -0.6402);

void main(float3 position : POSITION0,
          float2 texCoord : TEXCOORD0,
          out float4 clipPosition : POSITION,
          out float2 uv : TEXCOORD0,
          out float3 worldPosition : TEXCOORD1,
          out float3 worldNormal : TEXCOORD2,
          out float4 finish : TEXCOORD7) {
    clipPosition = mul(float4(position, 1.0), pathViewProjection);
    worldPosition = float3(texCoord.x * 5.0, texCoord.y * 5.0, 0.0);
    worldNormal = kFlat;
    finish = float4(-1000.0, 0.0, 0.0, 1.0);
    uv = texCoord;
}
